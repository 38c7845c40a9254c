#pragma once
// What kelvanectl puts on its two streams: standard error gets text from
// files, the board and the command line with its control characters escaped,
// and standard output is checked at the end, so that a full disk or a closed
// pipe behind it is an error and not a success.

#include <QString>
#include <string>

namespace kelvane::cli {

// The text as UTF-8 for a terminal: control characters escaped ("\x1b", "\0"),
// bytes that were no UTF-8 replaced.
std::string shownText(const QString& text);

// Notes why writing standard output failed (an errno value), for checkedOutput.
void noteOutputFailure(int error);

// Flushes and closes standard output. Gives `status`, or after one line on
// stderr, "kelvanectl: cannot write the output: No space left on device", the
// failure exit code when any of the output was lost. A status from a signal
// (128 and above) stays, as it tells more.
int checkedOutput(int status);

} // namespace kelvane::cli
