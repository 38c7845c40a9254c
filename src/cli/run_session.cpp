#include "cli/run_session.h"

#include <QElapsedTimer>
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
#include "cli/terminal_output.h"
#include "cli/warnings.h"
#include "link/transfers.h"
#include "model/hex.h"

#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace kelvane::cli {
namespace {

// The signal that asked the run to end (SIGINT, SIGTERM, SIGHUP), or 0.
volatile std::sig_atomic_t interrupted = 0;

extern "C" void noteInterrupt(int signal) {
    interrupted = signal;
}

// A board that answered before is taken as gone silent when neither this many
// lines nor this much time have brought a byte.
constexpr int silentLines = 12;
constexpr qint64 silentMs = 2000;

struct RunOptions {
    std::chrono::milliseconds dwell{0};
    long long passes = 1; // 0: until interrupted
};

std::optional<RunOptions> readRunOptions(const QCommandLineParser& parser, QStringList& warnings) {
    RunOptions options;
    if (parser.isSet("dwell")) {
        const auto ms = readNumberOption(parser, "dwell", "100", NumberRule::ZeroOrMore, warnings);
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
    parser.addOption({"check", "Send nothing and exit with status 3 when there is any warning."});
    addControlOptions(parser);
}

int sendRun(const QCommandLineParser& parser, const FrequencyList& frequencies,
            QStringList warnings) {
    const auto options = readRunOptions(parser, warnings);
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
    // Every step shares the plan's other inputs: the first one's warnings hold for all.
    Inputs first = *inputs;
    first.fo = steps.front().foText;
    const auto firstPlan = recalculate(first, planVariablesFrom(first));
    if (const auto* result = std::get_if<Recalculation>(&firstPlan))
        warnings << planWarnings(first, *result);
    printWarnings(warnings);
    if (parser.isSet("check") && !warnings.isEmpty()) {
        usageError("--check: nothing was sent, for the warnings above");
        return exitWarned;
    }

    link::SerialLink link;
    if (auto exit = openPort(link, parser)) return *exit;
    // The port's own line goes below the progress bar, not over it.
    const bool progress = isatty(fileno(stderr));
    if (progress)
        QObject::connect(&link, &link::SerialLink::failed, [] { std::fputc('\n', stderr); });
    reportFailures(link);

    // Replies are not shown; they only tell that the board is still there.
    bool answered = false;
    int linesSinceReply = 0;
    QElapsedTimer sinceReply;
    sinceReply.start();
    QObject::connect(&link, &link::SerialLink::received, [&](const QByteArray&) {
        answered = true;
        linesSinceReply = 0;
        sinceReply.restart();
    });

    // Ctrl-C, a kill or a closed terminal during a transfer lets it finish;
    // during the dwell it ends the dwell, with nothing on the wire.
    interrupted = 0;
    for (int signal : {SIGINT, SIGTERM,
#ifdef SIGHUP
                       SIGHUP
#endif
         })
        std::signal(signal, noteInterrupt);
    bool dwelling = false;
    QTimer interruptWatch;
    QObject::connect(&interruptWatch, &QTimer::timeout, [&] {
        if (interrupted && dwelling) link.close();
    });
    interruptWatch.start(20);

    const long long total = options->passes * static_cast<long long>(steps.size());
    const RunStep* last = nullptr;
    // Also after a port failure: the last frequency whose lines all went out.
    auto stopped = [&](int status) {
        if (progress) std::fputc('\n', stderr);
        if (last)
            std::fprintf(stderr, "kelvanectl: stopped; the board is at %s\n",
                         runFrequencyText(last->mhz).c_str());
        else
            std::fprintf(stderr, "kelvanectl: stopped; nothing was sent\n");
        return status;
    };
    const auto signalled = [] { return exitSignalled + int(interrupted); };

    const bool json = parser.isSet("json");
    long long done = 0;
    for (long long pass = 1; options->passes == 0 || pass <= options->passes; ++pass) {
        for (const RunStep& step : steps) {
            if (interrupted) return stopped(signalled());
            const link::RegisterSource source = [&step] { return step.registers; };
            const bool sent = last ? link::sendFrequencyRegisters(link, source)
                                   : link::sendAllRegisters(link, source);
            if (!sent) return stopped(exitFailure); // below the port's own line
            const bool sentFirst = !last;
            linesSinceReply += last ? 3 : 12;
            last = &step;
            ++done;
            // The bar is taken off its line first: on a terminal both streams
            // share the screen.
            if (progress) std::fputs("\r\033[K", stderr);
            if (json)
                writeOut(runStepJson(step, sentFirst).toStdString() + "\n", true);
            else
                writeOut(runFrequencyText(step.mhz) + "\n", true);
            if (progress) showProgress(done, total, pass, step.mhz);
            if (answered && linesSinceReply >= silentLines && sinceReply.elapsed() >= silentMs) {
                if (progress) std::fputc('\n', stderr);
                printError("the board stopped answering after " +
                           QString::fromStdString(runFrequencyText(step.mhz)) +
                           "; check its power, cable and firmware");
                link.close();
                return exitFailure;
            }
            if (options->dwell.count() > 0 && !interrupted) {
                dwelling = true;
                const bool stayed = link.pause(options->dwell);
                dwelling = false;
                if (!stayed) return interrupted ? stopped(signalled()) : stopped(exitFailure);
            }
        }
    }
    if (interrupted) return stopped(signalled());
    if (progress) std::fputc('\n', stderr);
    return exitOk;
}

} // namespace kelvane::cli
