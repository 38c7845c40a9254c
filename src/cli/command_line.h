#pragma once
// Shared pieces of the kelvanectl subcommands: the options that set the main
// window's inputs, error reporting and output with the chosen line ends.

#include <QCommandLineParser>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>

#include "model/inputs.h"
#include "model/recalculation.h"

namespace kelvane::cli {

// Exit codes: 0 done, 1 the work failed (port, board), 2 bad usage or no plan.
inline constexpr int exitOk = 0;
inline constexpr int exitFailure = 1;
inline constexpr int exitUsage = 2;

// The model's texts are UTF-8, as QString takes them.
inline QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

// The options that set the inputs as a user sets the window's controls;
// their defaults are the window's start-up state.
void addControlOptions(QCommandLineParser& parser);

// Reads the control options over `start`, --wsjt setting the resolution text
// as the mode selector does and a switch given turning its box on; on a value
// outside its control's range, prints one line naming the option and its
// range and returns nothing.
std::optional<Inputs> readControlOptions(const QCommandLineParser& parser,
                                         const Inputs& start = {});

// Adds --help/--version, parses, and handles --help, --version and parse errors.
// Returns an exit code when the command should end right away; more than
// `positionals` arguments that are not options are a usage error.
std::optional<int> parseOrExit(QCommandLineParser& parser, const QStringList& arguments,
                               qsizetype positionals = 0);

// Reads a whole-number option within [low, high]; prints the error line itself.
std::optional<int> readWholeNumber(const QCommandLineParser& parser, const QString& name, int low,
                                   int high);

// The recalculation for these inputs set from a fresh start; prints why there
// is no plan and returns nothing when the plan is refused.
std::optional<Recalculation> recalculateOrReport(const Inputs& inputs);

int usageError(const QString& message);

// Writes text to stdout, turning CR LF into "\n" unless keepCrLf.
void writeOut(const std::string& text, bool keepCrLf);

// Writes an object to stdout as JSON on one line.
void writeJson(const QJsonObject& object);

} // namespace kelvane::cli
