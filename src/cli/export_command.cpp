// kelvanectl export: the register set as PIC assembler lines.

#include "cli/command_line.h"
#include "cli/commands.h"
#include "export/pic_listing.h"

namespace kelvane::cli {

int runExport(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Prints the register set as PIC assembler data-EEPROM lines, exactly as\n"
        "the export window shows them after \"PIC Register Export\".");
    addControlOptions(parser);
    parser.addOption({"crlf", "End lines with CR LF, as the window has them."});
    if (auto exit = parseOrExit(parser, arguments)) return *exit;
    const auto controls = readControlOptions(parser);
    if (!controls) return exitUsage;

    const auto recalculation = recalculateOrReport(*controls);
    if (!recalculation) return exitUsage;
    const GeneratedText listing = picListing(exportInputsFrom(*controls, *recalculation));
    if (!listing.ok) return usageError(QString::fromStdString(listing.text));
    writeOut(listing.text, parser.isSet("crlf"));
    return exitOk;
}

} // namespace kelvane::cli
