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
        "window's output box with the other plan options. The whole sweep is planned\n"
        "first: a frequency without a plan, with a word beyond 32 bits, or with the\n"
        "VCO outside 1900 to 4000 MHz (unless --ext-vco) is named and nothing is\n"
        "sent. The first frequency goes out as \"Update all registers\", every later\n"
        "one as \"Quick Freq Update\" (Reg2, Reg1, Reg0: about 0.15 s), then --dwell.\n"
        "Each frequency is printed as it is sent (\"2320.250000 MHz\"). Ctrl-C lets the\n"
        "frequency on the wire finish and names the one the board is left at.");
    parser.addOption({"from", "First output frequency, MHz.", "MHz"});
    parser.addOption({"to", "Last output frequency, MHz.", "MHz"});
    parser.addOption({"step", "Step, MHz; negative to sweep down.", "MHz"});
    addRunOptions(parser);
    if (auto exit = parseOrExit(parser, arguments)) return *exit;
    for (const char* name : {"from", "to", "step"})
        if (!parser.isSet(name)) return usageError(QString("--%1 is required").arg(name));
    const auto from = readNumberOption(parser, "from", "2320", NumberRule::Any);
    if (!from) return exitUsage;
    const auto to = readNumberOption(parser, "to", "2321", NumberRule::Any);
    if (!to) return exitUsage;
    const auto step = readNumberOption(parser, "step", "0.1", NumberRule::NotZero);
    if (!step) return exitUsage;
    return sendRun(parser, sweepFrequencies(*from, *to, *step));
}

} // namespace kelvane::cli
