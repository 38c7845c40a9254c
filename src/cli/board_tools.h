#pragma once
// What the board-tool commands (verify, calibrate, sweep, hop) share: their
// extra exit codes and the EEPROM check that `verify` and `send --store
// --verify` both run.

#include <QCommandLineParser>
#include <optional>

#include "model/number_field.h"
#include "model/registers.h"
#include "session/board_session.h"

namespace kelvane::cli {

// The EEPROM holds other words than the plan.
inline constexpr int exitDiffers = 3;

// Asks the board on an open link for its stored set, as the read-back does,
// and prints the verdict on it against `plan` (a line, or with `json` one
// object). Returns 0 when every word matches, exitDiffers when not, and
// exitFailure when the port failed or no register entry came back.
int verifyOnBoard(session::BoardSession& board, const RegisterImage& plan, bool json);

// A number option read as the window reads a box; prints the refusal itself.
std::optional<double> readNumberOption(const QCommandLineParser& parser, const QString& name,
                                       const char* example, NumberRule rule);

} // namespace kelvane::cli
