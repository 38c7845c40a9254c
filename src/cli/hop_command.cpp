// kelvanectl hop: sends the output frequencies of a list file in turn.

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/run_session.h"
#include "setup/file_access.h"

namespace kelvane::cli {
namespace {

// Room for the longest list a run takes, a frequency and a comment a line.
constexpr qint64 largestList = 8 << 20;

} // namespace

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
    const QString path = parser.value("list");
    const auto read = setup::readRegularFile(path, largestList);
    if (const auto* fault = std::get_if<setup::FileFault>(&read))
        return usageError("cannot read the list " + path + ": " + fault->reason);
    std::vector<std::string> partlyRead;
    const auto frequencies = hopFrequencies(std::get<QByteArray>(read).toStdString(), &partlyRead);
    QStringList warnings;
    for (const std::string& warning : partlyRead)
        warnings << QString::fromStdString(warning);
    return sendRun(parser, frequencies, warnings);
}

} // namespace kelvane::cli
