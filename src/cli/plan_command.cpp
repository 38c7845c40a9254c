// kelvanectl plan: the frequency plan, its captions and the register listing.

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/plan_output.h"
#include "cli/setup_inputs.h"
#include "cli/warnings.h"
#include "model/recalculation.h"

namespace kelvane::cli {

int runPlan(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Prints the main window's plan displays for the given inputs, one per line\n"
        "after the window's label where there is one (\"Fvco 2320.25 MHz\", \"Fcomp\",\n"
        "\"D = 1000000\", F, N, the step, the output error, \"Chip Version(s) allowed\"),\n"
        "blanks between words as one and empty displays left out, then a blank line\n"
        "and the register listing. --json gives every display exactly as shown.");
    addControlOptions(parser);
    parser.addOption({"json", "Print one JSON object instead of text."});
    parser.addOption({"crlf", "End lines with CR LF, as the window has them."});
    addCheckOption(parser);
    if (auto exit = parseOrExit(parser, arguments)) return *exit;
    const auto inputs = readInputOptions(parser);
    if (!inputs) return exitUsage;

    const auto recalculation = recalculateOrReport(*inputs);
    if (!recalculation) return exitUsage;
    const Recalculation& result = *recalculation;
    const QStringList warnings = planWarnings(*inputs, result);
    if (parser.isSet("json")) {
        const QJsonObject object = withPlanFacts(planJson(result), *inputs, result, warnings);
        writeJson(object);
    } else {
        writeOut(planText(result), parser.isSet("crlf"));
    }
    return finish(parser, warnings, exitOk);
}

} // namespace kelvane::cli
