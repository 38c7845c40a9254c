// kelvanectl export: the register set as PIC assembler lines.

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/setup_inputs.h"
#include "cli/warnings.h"
#include "export/pic_listing.h"

namespace kelvane::cli {

int runExport(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Prints the register set as PIC assembler data-EEPROM lines, exactly as\n"
        "the export window shows them after \"PIC Register Export\".");
    addControlOptions(parser);
    parser.addOption({"crlf", "End lines with CR LF, as the window has them."});
    parser.addOption({"json", "Print one JSON object: the listing, the words and the warnings."});
    addCheckOption(parser);
    if (auto exit = parseOrExit(parser, arguments)) return *exit;
    const auto inputs = readInputOptions(parser);
    if (!inputs) return exitUsage;

    const auto recalculation = recalculateOrReport(*inputs);
    if (!recalculation) return exitUsage;
    return printGenerated(parser, "listing",
                          picListing(*inputs, planVariablesFrom(*inputs), recalculation->plan,
                                     recalculation->registers),
                          *inputs, *recalculation);
}

} // namespace kelvane::cli
