// kelvanectl save: writes the inputs the options give as a setup file that the
// window opens and --setup reads.

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/setup_inputs.h"

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
    if (auto exit = parseOrExit(parser, arguments, 1)) return *exit;
    if (parser.positionalArguments().size() != 1)
        return usageError("give the setup file to write, for example lo.kelvane");
    const QString path = parser.positionalArguments().first();
    if (auto exit = refuseToReplace(path, parser.isSet("force"))) return *exit;
    auto setup = readSetupOptions(parser);
    if (!setup) return exitUsage;
    if (parser.isSet("name")) setup->name = parser.value("name").toStdString();
    if (parser.isSet("note")) setup->note = parser.value("note").toStdString();
    return saveSetup(path, *setup);
}

} // namespace kelvane::cli
