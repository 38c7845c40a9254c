#include "cli/run_session.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <limits>

#include "cli/board_tools.h"
#include "cli/command_line.h"
#include "cli/port_session.h"
#include "cli/setup_inputs.h"
#include "model/hex.h"
#include "session/frequency_runs.h"

#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace kelvane::cli {
namespace {

// The signal that asked the run to stop, 0 while none has.
volatile std::sig_atomic_t interruptSignal = 0;

extern "C" void noteInterrupt(int signal) {
    interruptSignal = signal;
}

// Each ends a run as Ctrl-C does; the exit status is 128 and its number, as
// shells count it.
constexpr int stopSignals[] = {
    SIGINT,
    SIGTERM,
#ifdef SIGHUP
    SIGHUP,
#endif
};

struct RunOptions {
    std::chrono::milliseconds dwell{0};
    long long passes = 1; // 0: until interrupted
};

std::optional<RunOptions> readRunOptions(const QCommandLineParser& parser) {
    RunOptions options;
    if (parser.isSet("dwell")) {
        const auto ms = readNumberOption(parser, "dwell", "100", NumberRule::ZeroOrMore);
        if (!ms) return std::nullopt;
        if (*ms > std::numeric_limits<int>::max()) {
            usageError("--dwell must be at most 2147483647 ms");
            return std::nullopt;
        }
        options.dwell = std::chrono::milliseconds(static_cast<long long>(*ms + 0.5));
    }
    if (parser.isSet("repeat") && parser.isSet("forever")) {
        usageError("--repeat and --forever cannot be combined");
        return std::nullopt;
    }
    if (parser.isSet("forever")) options.passes = 0;
    if (parser.isSet("repeat")) {
        const auto passes = readWholeNumber(parser, "repeat", 1, 1000000);
        if (!passes) return std::nullopt;
        options.passes = *passes;
    }
    return options;
}

// "\r[#########-----------]  12/101  2320.110000 MHz", or with --forever the pass.
void showProgress(long long done, long long total, long long pass, double mhz) {
    constexpr int width = 30;
    if (total > 0) {
        const auto filled = static_cast<std::size_t>(done * width / total);
        const std::string bar = std::string(filled, '#') + std::string(width - filled, '-');
        std::fprintf(stderr, "\r[%s] %lld/%lld  %s ", bar.c_str(), done, total,
                     runFrequencyText(mhz).c_str());
    } else
        std::fprintf(stderr, "\rpass %lld, %lld sent  %s ", pass, done,
                     runFrequencyText(mhz).c_str());
    std::fflush(stderr);
}

// {"mhz": 2320.25, "sent": ["61A80E80", ...]} on one line: the twelve words of
// the first frequency, the three frequency words of every later one.
QByteArray runStepJson(const RunStep& step, bool first) {
    QJsonArray sent;
    if (first)
        for (int address : transferOrder)
            sent << qText(hexWord(step.registers[address]));
    else
        for (int address : {2, 1, 0})
            sent << qText(hexWord(step.registers[address]));
    return QJsonDocument(QJsonObject{{"mhz", step.mhz}, {"sent", sent}})
        .toJson(QJsonDocument::Compact);
}

} // namespace

void addRunOptions(QCommandLineParser& parser) {
    addPortOption(parser);
    parser.addOption({"dwell",
                      "Time to stay at each frequency after its words are out, ms. "
                      "Default 0.",
                      "ms"});
    parser.addOption({"repeat", "Run the list this many times, 1 to 1000000. Default 1.", "n"});
    parser.addOption({"forever", "Run the list again and again until Ctrl-C."});
    parser.addOption({"json", "Print one JSON object a line for each frequency sent: "
                              "{\"mhz\", \"sent\": the words in sending order}."});
    addControlOptions(parser);
}

int sendRun(const QCommandLineParser& parser, const FrequencyList& frequencies) {
    const auto options = readRunOptions(parser);
    if (!options) return exitUsage;
    const auto inputs = readInputOptions(parser);
    if (!inputs) return exitUsage;
    if (const auto* refusal = std::get_if<RunRefusal>(&frequencies))
        return usageError(QString::fromStdString(refusal->line) + "; nothing was sent");
    const auto planned =
        planRun(std::get<std::vector<double>>(frequencies), *inputs, planVariablesFrom(*inputs));
    if (const auto* refusal = std::get_if<RunRefusal>(&planned))
        return usageError(QString::fromStdString(refusal->line) + "; nothing was sent");
    const auto& steps = std::get<std::vector<RunStep>>(planned);

    session::BoardSession board;
    if (auto exit = openPort(board, parser)) return *exit;
    // A failing port ends the run, whose outcome line carries the port's own.
    const bool progress = isatty(fileno(stderr));

    // Ctrl-C (or a polite kill, or the terminal going away) during a step lets
    // its lines finish; during the dwell it ends the dwell, with nothing on the
    // wire.
    interruptSignal = 0;
    for (int signal : stopSignals)
        std::signal(signal, noteInterrupt);
    QTimer interruptWatch;
    QObject::connect(&interruptWatch, &QTimer::timeout, [&board] {
        if (interruptSignal) board.stop();
    });
    interruptWatch.start(20);

    const bool json = parser.isSet("json");
    const long long total = options->passes * static_cast<long long>(steps.size());
    long long done = 0;
    QObject::connect(
        &board, &session::BoardSession::stepSent,
        [&](long long index, const session::RunStep& step) {
            ++done;
            // The bar is taken off its line first: on a terminal
            // both streams share the screen.
            if (progress) std::fputs("\r\033[K", stderr);
            if (json)
                writeOut(runStepJson(steps[std::size_t(index)], done == 1).toStdString() + "\n",
                         true);
            else
                writeOut(step.label + "\n", true);
            if (progress) showProgress(done, total, (done - 1) / std::ssize(steps) + 1, step.mhz);
        });

    const auto outcome =
        board.run(session::frequencyRun("Run", steps, options->dwell, options->passes));
    if (progress) std::fputc('\n', stderr);
    if (outcome.end == RunEnd::Completed) return exitOk;
    std::fprintf(stderr, "kelvanectl: %s\n", outcome.line().c_str());
    if (outcome.end == RunEnd::Stopped && interruptSignal) return 128 + interruptSignal;
    return exitFailure;
}

} // namespace kelvane::cli
