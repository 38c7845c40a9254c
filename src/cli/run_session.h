#pragma once
// Sending a planned sweep or hop list to the board, for kelvanectl sweep and
// hop: the options both take, and the run itself.

#include <QCommandLineParser>
#include <vector>

#include "modes/frequency_run.h"

namespace kelvane::cli {

// How sweep and hop plan and send, the end of both commands' help.
inline const QString runDescription =
    "first: a frequency without a plan, with a word beyond 32 bits, or with the\n"
    "VCO outside 1900 to 4000 MHz (unless --ext-vco) is named and nothing is\n"
    "sent. The first frequency goes out as \"Update all registers\", every later\n"
    "one as \"Quick Freq Update\" (Reg2, Reg1, Reg0: about 0.15 s), then --dwell.\n"
    "Each frequency is printed as it is sent (\"2320.250000 MHz\"). Ctrl-C (SIGTERM,\n"
    "SIGHUP) lets the frequency on the wire finish and names the one the board is\n"
    "left at.";

// --port, --dwell, --repeat, --forever and the plan options.
void addRunOptions(QCommandLineParser& parser);

// Plans the frequencies with the plan options, then sends them as one run of
// the board session (session/frequency_runs.h). Prints each frequency on
// stdout once its words are out, and a progress bar on stderr when that is a
// terminal. Ctrl-C, SIGTERM and SIGHUP let the frequency on the wire finish, so
// the board is left at the last frequency printed; a run that does not
// complete ends with the session's outcome line on stderr. Returns the exit
// code: 128 and the signal's number when stopped by one.
int sendRun(const QCommandLineParser& parser, const FrequencyList& frequencies);

} // namespace kelvane::cli
