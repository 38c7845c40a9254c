// kelvanectl beacon run: keys a beacon live through the board, on the UTC
// schedule of its sequence.

#include <QJsonObject>
#include <QTimer>
#include <csignal>
#include <cstdio>

#include "cli/beacon_options.h"
#include "cli/board_tools.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/port_session.h"
#include "cli/terminal_output.h"
#include "cli/warnings.h"
#include "keying/beacon_run.h"

namespace kelvane::cli {
namespace {

// The signal that asked the keying to stop, 0 while none has.
volatile std::sig_atomic_t interruptSignal = 0;

extern "C" void noteBeaconInterrupt(int signal) {
    interruptSignal = signal;
}

// The Update must be out before the first line of the period.
constexpr auto updateTime = std::chrono::milliseconds(1000);

} // namespace

int runBeaconKeying(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Keys the beacon through the board: \"Update all registers\" with the keying\n"
        "set, then from the next period start (or at once) one Reg2 line at every\n"
        "symbol boundary and CW key change, each leaving early by its wire time.\n"
        "Each element's start is printed (\"12:03:00 PI4 OZ7IGY\"). Ctrl-C ends after\n"
        "the line on the wire and leaves the board on the carrier. The times come\n"
        "from the system clock, which must be synchronised (NTP).");
    addSequenceOptions(parser);
    addPortOption(parser);
    parser.addOption(
        {"start", "next (the next period start) or now. Default next.", "when", "next"});
    parser.addOption({"cycles", "Key this many periods, 1 to 1000000. Default 1.", "n"});
    parser.addOption({"forever", "Key period after period until Ctrl-C."});
    parser.addOption({"lead",
                      "How early each line leaves its boundary, ms. Default 12.6, a "
                      "line's time on the wire at 9600 8N2.",
                      "ms", "12.6"});
    parser.addOption({"json", "Print one JSON object a line for each element as it starts: "
                              "{\"utc\", \"element\"}."});
    if (auto exit = parseOrExit(parser, arguments)) return *exit;
    const bool json = parser.isSet("json");
    const QString start = parser.value("start");
    if (start != "next" && start != "now") return usageError("--start must be next or now");
    if (parser.isSet("cycles") && parser.isSet("forever"))
        return usageError("--cycles and --forever cannot be combined");
    long long cycles = 1;
    if (parser.isSet("forever")) cycles = 0;
    if (parser.isSet("cycles")) {
        const auto n = readWholeNumber(parser, "cycles", 1, 1000000);
        if (!n) return exitUsage;
        cycles = *n;
    }
    QStringList warnings;
    const auto leadMs = readNumberOption(parser, "lead", "12.6", NumberRule::ZeroOrMore, warnings);
    if (!leadMs) return exitUsage;
    printWarnings(warnings);
    if (*leadMs > 1000) return usageError("--lead must be at most 1000 ms");
    const auto lead = std::chrono::microseconds(static_cast<long long>(*leadMs * 1000 + 0.5));
    const auto planned = readPlannedBeacon(parser);
    if (!planned) return exitUsage;
    if (parser.isSet("check") && anyWarningPrinted()) {
        usageError("--check: nothing was sent, for the warnings above");
        return exitWarned;
    }

    session::BoardSession board;
    if (auto exit = openPort(board, parser)) return *exit;

    // Ctrl-C, a polite kill or a closed terminal: the line on the wire
    // finishes and the board goes back to the carrier.
    interruptSignal = 0;
    for (int signal : {SIGINT, SIGTERM,
#ifdef SIGHUP
                       SIGHUP
#endif
         })
        std::signal(signal, noteBeaconInterrupt);
    QTimer interruptWatch;
    QObject::connect(&interruptWatch, &QTimer::timeout, [&] {
        if (interruptSignal) board.stop();
    });
    interruptWatch.start(20);

    const double period = planned->sequence.periodSeconds;
    const auto earliest = keying::Clock::now() + updateTime;
    auto periodStart = start == "now" ? earliest : keying::nextPeriodStart(earliest, period);
    std::optional<session::RunStep> boardAt;
    for (long long cycle = 1; cycles == 0 || cycle <= cycles; ++cycle) {
        const auto keyed = keying::beaconPeriod(*planned, periodStart, cycle == 1, lead);
        const auto announce = QObject::connect(
            &board, &session::BoardSession::stepSent,
            [&](long long index, const session::RunStep& step) {
                const auto& text = keyed.elementStarts[static_cast<std::size_t>(index)];
                if (text.empty()) return;
                const std::string utc = keying::utcTimeText(*step.notBefore + lead);
                if (json)
                    writeJson({{"utc", qText(utc)}, {"element", qText(text)}});
                else
                    writeOut(utc + " " + text + "\n", true);
            });
        const auto outcome = board.run(keyed.run);
        QObject::disconnect(announce);
        if (outcome.boardAt) boardAt = outcome.boardAt;
        if (outcome.end == RunEnd::Stopped) {
            interruptWatch.stop();
            if (boardAt && boardAt->label != "carrier")
                board.run(keying::carrierRun(planned->tones));
            printError(boardAt ? "stopped; the board is on the carrier"
                               : "stopped; the board is as it was: nothing was sent");
            return exitSignalled + (interruptSignal ? int(interruptSignal) : SIGINT);
        }
        if (outcome.end != RunEnd::Completed) {
            printError(QString::fromStdString(outcome.line()));
            return exitFailure;
        }
        periodStart += std::chrono::duration_cast<keying::Clock::duration>(
            std::chrono::duration<double>(period));
    }
    return exitOk;
}

} // namespace kelvane::cli
