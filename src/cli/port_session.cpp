#include "cli/port_session.h"

#include <cstdio>

#include "cli/command_line.h"
#include "cli/terminal_output.h"
#include "link/port_choice.h"

namespace kelvane::cli {

void addPortOption(QCommandLineParser& parser) {
    parser.addOption({"port",
                      "The board's port: a whole number as in the window's port box (on Linux and "
                      "macOS the N-th port 'kelvanectl ports' lists, on Windows COMN), or a "
                      "device such as /dev/ttyUSB0 or COM3.",
                      "port"});
}

std::optional<int> openPort(session::BoardSession& board, const QCommandLineParser& parser) {
    if (!parser.isSet("port")) return usageError("--port is required");
    // The window rounds a port number as it reads every box; a script's
    // "--port 1.5" is a mistake, not port 2.
    const QString text = parser.value("port");
    bool whole = false;
    text.trimmed().toInt(&whole);
    if (!whole && link::choosePort(text, {}, false).kind != link::PortChoice::Kind::Device)
        return usageError("--port must be a whole number or a device, not \"" + text + "\"");
    const auto outcome = board.open(text);
    switch (outcome.result) {
    case link::OpenOutcome::Result::Opened:
        return std::nullopt;
    case link::OpenOutcome::Result::Nothing:
        return usageError("--port \"" + parser.value("port") + "\" names no port");
    case link::OpenOutcome::Result::Failed:
        break;
    }
    printError("Invalid COM port: " + outcome.cause);
    return exitFailure;
}

void reportFailures(session::BoardSession& board) {
    QObject::connect(&board, &session::BoardSession::failed,
                     [](const QString& message) { printError(message); });
}

} // namespace kelvane::cli
