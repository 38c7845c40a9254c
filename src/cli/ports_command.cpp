// kelvanectl ports: the serial ports with the numbers the port box and --port
// give them.

#include <QJsonArray>
#include <QJsonObject>
#include <cstdio>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/warnings.h"
#include "link/port_choice.h"

namespace kelvane::cli {

int runPorts(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Lists the serial ports the system knows, numbered as the window's port box\n"
        "and --port count them.");
    parser.addOption({"json", "Print one JSON object: {\"ports\": [{\"number\", \"device\", "
                              "\"product\"}, ...]}."});
    addCheckOption(parser);
    if (auto exit = parseOrExit(parser, arguments)) return *exit;
    if (parser.isSet("json")) {
        QJsonArray ports;
        for (const link::ListedPort& port : link::listedPorts())
            ports << QJsonObject{
                {"number", port.number}, {"device", port.device}, {"product", port.product}};
        writeJson({{"ports", ports}});
        return exitOk;
    }
    const QStringList lines = link::portListLines();
    if (lines.isEmpty()) {
        std::puts("No serial ports are listed. A device such as /dev/ttyUSB0 can still be given "
                  "to --port or typed into the port box.");
    }
    for (const QString& line : lines)
        std::puts(line.toUtf8().constData());
    return exitOk;
}

} // namespace kelvane::cli
