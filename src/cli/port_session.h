#pragma once
// The port of the kelvanectl commands that talk to the board: the --port
// option, opening it with the window's own link code, and where the board's
// replies and a failing port are reported.

#include <QCommandLineParser>
#include <optional>

#include "link/serial_link.h"

namespace kelvane::cli {

void addPortOption(QCommandLineParser& parser);

// Opens the port --port names. On failure prints one line to stderr and gives
// the exit code.
std::optional<int> openPort(link::SerialLink& link, const QCommandLineParser& parser);

// A port failure while open goes to stderr, once.
void reportFailures(link::SerialLink& link);

} // namespace kelvane::cli
