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
        "window's output box with the other plan options. The whole list is planned\n" +
        runDescription);
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
