#pragma once
// Sweeps and hop lists as runs on the board session: the first frequency goes
// out as "Update all registers", every later one as "Quick Freq Update" (Reg2,
// Reg1, Reg0), each followed by the dwell. Only these three words follow the
// output frequency, so the other nine go once, at the start of the run.

#include <chrono>
#include <string>
#include <vector>

#include "modes/frequency_run.h"
#include "session/board_session.h"

namespace kelvane::session {

// `planned` comes checked from planRun(); passes 0 runs until stopped.
Run frequencyRun(std::string name, const std::vector<kelvane::RunStep>& planned,
                 std::chrono::milliseconds dwell, long long passes);

} // namespace kelvane::session
