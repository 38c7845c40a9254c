#pragma once
// What a script must know although a command did its work: a denominator too
// wide for register 2, a VCO outside the chip's range, a number text read
// only in part, a board that did not answer. Each goes to standard error as
// "kelvanectl: warning: ..." and into the "warnings" of --json; with --check
// any warning makes the exit status 3.

#include <QCommandLineParser>
#include <QJsonObject>
#include <QStringList>

#include "export/generated_text.h"
#include "model/inputs.h"
#include "model/recalculation.h"

namespace kelvane::cli {

inline constexpr int exitWarned = 3;

void addCheckOption(QCommandLineParser& parser);

// The plan's warnings for these inputs set from a fresh start, and those of
// inputTextWarnings().
QStringList planWarnings(const Inputs& inputs, const Recalculation& result);

// One warning for each of the number texts (--fo, --fr, --res, --rfmult) read
// only in part.
QStringList inputTextWarnings(const Inputs& inputs);

// "--from \"2320,5\" is read as 2320: use a point", or nothing when `text` is
// one number (or blank).
QStringList partlyReadWarning(const QString& option, const std::string& text);

// The object with what a script tests added: "warnings", "denominatorFits",
// "vcoInRange" and "words", the twelve words in sending order.
QJsonObject withPlanFacts(QJsonObject object, const Inputs& inputs, const Recalculation& result,
                          const QStringList& warnings);

// Prints a listing or report, or with --json one object holding it under `key`
// with the plan's facts; then the warnings. A text that is a refusal is one
// usage error instead. Gives the exit status.
int printGenerated(const QCommandLineParser& parser, const char* key, const GeneratedText& text,
                   const Inputs& inputs, const Recalculation& result);

// Prints the warnings and gives the exit status: `status` as it is, or 3 when
// it is 0, --check is set and a warning was printed (these or earlier ones).
int finish(const QCommandLineParser& parser, const QStringList& warnings, int status);

// "kelvanectl: warning: ..." on stderr for each, control characters escaped.
void printWarnings(const QStringList& warnings);
// Whether any warning was printed, a setup file's among them: --check counts them all.
bool anyWarningPrinted();

} // namespace kelvane::cli
