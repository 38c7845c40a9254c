// kelvanectl save: writes the inputs the options give as a setup file that the
// window opens and --setup reads.

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/setup_inputs.h"
#include "cli/terminal_output.h"
#include "cli/warnings.h"
#include "model/plan_variables.h"

namespace kelvane::cli {

int runSave(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Writes a setup file: the inputs the options give (over those of --setup\n"
        "FILE, if given, whose name and note it keeps unless --name or --note are\n"
        "given), with the register words of their plan. When the plan is refused,\n"
        "the inputs are saved without words.");
    parser.addPositionalArgument("file", "The setup file to write, ending in .kelvane.");
    parser.addOption({"name", "The setup's name, shown in the window's caption.", "text"});
    parser.addOption({"note", "A note on the setup, shown in the Setups window.", "text"});
    parser.addOption({"force", "Replace the file if it exists."});
    addControlOptions(parser);
    parser.addOption({"json", "After saving, print one JSON object: the file, and the plan's "
                              "words and warnings (or the reason there is no plan)."});
    addCheckOption(parser);
    if (auto exit = parseOrExit(parser, arguments, 1)) return *exit;
    if (parser.positionalArguments().size() != 1)
        return usageError("give the setup file to write, for example lo.kelvane");
    const QString path = parser.positionalArguments().first();
    if (auto exit = refuseToReplace(path, parser.isSet("force"))) return *exit;
    auto setup = readSetupOptions(parser);
    if (!setup) return exitUsage;
    if (parser.isSet("name")) setup->name = parser.value("name").toStdString();
    if (parser.isSet("note")) setup->note = parser.value("note").toStdString();
    const int status = saveSetup(path, *setup);
    if (status != exitOk) return status;
    const bool json = parser.isSet("json");
    const auto outcome = recalculate(setup->inputs, planVariablesFrom(setup->inputs));
    QStringList warnings = inputTextWarnings(setup->inputs);
    if (const auto* refused = std::get_if<RefusedPlan>(&outcome)) {
        if (json) writeJson({{"file", path}, {"error", qText(refused->reason)}});
    } else {
        const auto& result = std::get<Recalculation>(outcome);
        warnings = planWarnings(setup->inputs, result);
        if (json) writeJson(withPlanFacts({{"file", path}}, setup->inputs, result, warnings));
    }
    if (!json) writeOut("wrote " + shownText(path) + "\n", true);
    return finish(parser, warnings, status);
}

} // namespace kelvane::cli
