#pragma once
// The inputs of a kelvanectl command: a setup file's (--setup FILE) or the
// start-up ones, with every option given on the line in force over them.

#include <QCommandLineParser>
#include <optional>

#include "model/inputs.h"
#include "setup/setup_file.h"

namespace kelvane::cli {

// The setup --setup names (or a nameless one of start-up inputs) with the
// options on the line in force over its inputs; what the file holds that is
// ignored or read only in part is a warning on stderr. On a bad file or option,
// prints the error line and returns nothing.
std::optional<setup::Setup> readSetupOptions(const QCommandLineParser& parser);
// Its inputs alone.
std::optional<Inputs> readInputOptions(const QCommandLineParser& parser);

// The usage exit code, after saying so, when `path` exists and may not be replaced.
std::optional<int> refuseToReplace(const QString& path, bool force);

// Writes a setup with the register words of its plan, or without them when
// the plan is refused (saying so on stderr). Returns the exit code.
int saveSetup(const QString& path, const setup::Setup& setup);

} // namespace kelvane::cli
