#pragma once
// The port of the kelvanectl commands that talk to the board: the --port
// option, opening it through the window's own board session, and where a
// failing port is reported.

#include <QCommandLineParser>
#include <optional>

#include "session/board_session.h"

namespace kelvane::cli {

void addPortOption(QCommandLineParser& parser);

// Opens the port --port names. On failure prints one line to stderr and gives
// the exit code.
std::optional<int> openPort(session::BoardSession& board, const QCommandLineParser& parser);

// A port failure while open goes to stderr, once.
void reportFailures(session::BoardSession& board);

} // namespace kelvane::cli
