#include "cli/port_session.h"

#include <cstdio>

#include "cli/command_line.h"

namespace kelvane::cli {

void addPortOption(QCommandLineParser& parser) {
    parser.addOption({"port",
                      "The board's port: a number as in the window's port box (on Linux and "
                      "macOS the N-th port 'kelvanectl ports' lists, on Windows COMN), or a "
                      "device such as /dev/ttyUSB0 or COM3.",
                      "port"});
}

std::optional<int> openPort(session::BoardSession& board, const QCommandLineParser& parser) {
    if (!parser.isSet("port")) return usageError("--port is required");
    const auto outcome = board.open(parser.value("port"));
    switch (outcome.result) {
    case link::OpenOutcome::Result::Opened:
        return std::nullopt;
    case link::OpenOutcome::Result::Nothing:
        return usageError("--port \"" + parser.value("port") + "\" names no port");
    case link::OpenOutcome::Result::Failed:
        break;
    }
    std::fprintf(stderr, "kelvanectl: Invalid COM port: %s\n", outcome.cause.toUtf8().constData());
    return exitFailure;
}

void reportFailures(session::BoardSession& board) {
    QObject::connect(&board, &session::BoardSession::failed, [](const QString& message) {
        std::fprintf(stderr, "kelvanectl: %s\n", message.toUtf8().constData());
    });
}

} // namespace kelvane::cli
