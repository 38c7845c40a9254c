// kelvanectl fsk: the FSK-by-Reg2 report for a shift.

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/setup_inputs.h"
#include "cli/warnings.h"
#include "modes/fsk_report.h"

namespace kelvane::cli {

int runFsk(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Prints the FSK report of \"Generate D data\": the denominator and Reg2 word\n"
        "for a shift, and a Reg0 to Reg2 set for WSJT modulation by Reg2.");
    addControlOptions(parser);
    parser.addOption({"shift",
                      "FSK shift text, Hz at the output, negative lowers (FSKShift). "
                      "Default \"-400\".",
                      "text", "-400"});
    parser.addOption({"crlf", "End lines with CR LF, as the window has them."});
    parser.addOption({"json", "Print one JSON object: the report, the words and the warnings."});
    addCheckOption(parser);
    if (auto exit = parseOrExit(parser, arguments)) return *exit;
    const auto inputs = readInputOptions(parser);
    if (!inputs) return exitUsage;

    const auto recalculation = recalculateOrReport(*inputs);
    if (!recalculation) return exitUsage;
    return printGenerated(parser, "report",
                          fskReport(*inputs, planVariablesFrom(*inputs), recalculation->plan,
                                    parser.value("shift").toStdString()),
                          *inputs, *recalculation);
}

} // namespace kelvane::cli
