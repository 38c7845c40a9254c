// kelvanectl hop: sends the output frequencies of a list file in turn.

#include <QFile>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/run_session.h"

namespace kelvane::cli {

int runHop(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Sends the output frequencies listed in a file, one in MHz a line (blank\n"
        "lines and everything after # are ignored), each planned as if typed into the\n"
        "window's output box with the other plan options. The whole list is planned\n"
        "first: a frequency without a plan, with a word beyond 32 bits, or with the\n"
        "VCO outside 1900 to 4000 MHz (unless --ext-vco) is named and nothing is\n"
        "sent. The first frequency goes out as \"Update all registers\", every later\n"
        "one as \"Quick Freq Update\" (Reg2, Reg1, Reg0: about 0.15 s), then --dwell.\n"
        "Each frequency is printed as it is sent (\"2320.250000 MHz\"). Ctrl-C lets the\n"
        "frequency on the wire finish and names the one the board is left at.");
    parser.addOption({"list", "The file of frequencies, MHz, one a line.", "file"});
    addRunOptions(parser);
    if (auto exit = parseOrExit(parser, arguments)) return *exit;
    if (!parser.isSet("list")) return usageError("--list is required");
    QFile file(parser.value("list"));
    if (!file.open(QIODevice::ReadOnly))
        return usageError("cannot read the list " + file.fileName() + ": " + file.errorString());
    return sendRun(parser, hopFrequencies(file.readAll().toStdString()));
}

} // namespace kelvane::cli
