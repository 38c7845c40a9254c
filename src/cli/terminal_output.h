#pragma once
// What kelvanectl puts on its two streams: standard error gets text from
// files, the board and the command line with its control characters escaped,
// and standard output is checked at the end, so that a full disk or a closed
// pipe behind it is an error and not a success. With --json a command that
// fails before it prints its object prints {"error": "..."} instead, so that
// a script always gets one object.

#include <QString>
#include <string>

namespace kelvane::cli {

// The text as UTF-8 for a terminal: control characters escaped ("\x1b", "\0"),
// bytes that were no UTF-8 replaced.
std::string shownText(const QString& text);

// Prints "kelvanectl: <line>" on stderr, escaped. With --json the first such
// line (or `jsonError`, when given) becomes the "error" of the object printed
// at the end if the command printed none.
void printError(const QString& line, const QString& jsonError = {});

// Whether the command was given --json: its output is JSON objects, one a line.
void setJsonOutput(bool json);

// Notes that the command printed its JSON object.
void noteJsonWritten();

// Notes why writing standard output failed (an errno value), for checkedOutput.
void noteOutputFailure(int error);

// Prints the error object a command with --json owes, then flushes and
// closes standard output. Gives `status`, or after one line on
// stderr, "kelvanectl: cannot write the output: No space left on device", the
// failure exit code when any of the output was lost. A status from a signal
// (128 and above) stays, as it tells more.
int checkedOutput(int status);

} // namespace kelvane::cli
