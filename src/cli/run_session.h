#pragma once
// Sending a planned sweep or hop list to the board, for kelvanectl sweep and
// hop: the options both take, and the run itself.

#include <QCommandLineParser>
#include <vector>

#include "modes/frequency_run.h"

namespace kelvane::cli {

// --port, --dwell, --repeat, --forever and the plan options.
void addRunOptions(QCommandLineParser& parser);

// Plans the frequencies with the plan options, then sends them: the first as
// "Update all registers", every later one as "Quick Freq Update", each followed
// by the dwell. Prints each frequency on stdout once its words are out, and a
// progress bar on stderr when that is a terminal. Ctrl-C lets the frequency on
// the wire finish, so the board is left at the last frequency printed. Returns
// the exit code.
int sendRun(const QCommandLineParser& parser, const FrequencyList& frequencies);

} // namespace kelvane::cli
