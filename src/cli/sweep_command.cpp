// kelvanectl sweep: steps the board's output from one frequency to another.

#include "cli/board_tools.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/run_session.h"

namespace kelvane::cli {

int runSweep(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Sends the output frequencies from --from to --to (included, within a\n"
        "millionth of a step) in steps of --step, each planned as if typed into the\n"
        "window's output box with the other plan options. The whole sweep is planned\n" +
        runDescription);
    parser.addOption({"from", "First output frequency, MHz.", "MHz"});
    parser.addOption({"to", "Last output frequency, MHz.", "MHz"});
    parser.addOption({"step", "Step, MHz; negative to sweep down.", "MHz"});
    addRunOptions(parser);
    if (auto exit = parseOrExit(parser, arguments)) return *exit;
    for (const char* name : {"from", "to", "step"})
        if (!parser.isSet(name)) return usageError(QString("--%1 is required").arg(name));
    QStringList warnings;
    const auto from = readNumberOption(parser, "from", "2320", NumberRule::Any, warnings);
    if (!from) return exitUsage;
    const auto to = readNumberOption(parser, "to", "2321", NumberRule::Any, warnings);
    if (!to) return exitUsage;
    const auto step = readNumberOption(parser, "step", "0.1", NumberRule::NotZero, warnings);
    if (!step) return exitUsage;
    return sendRun(parser, sweepFrequencies(*from, *to, *step), warnings);
}

} // namespace kelvane::cli
