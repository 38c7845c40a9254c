#pragma once
// A beacon's keying as runs of the board session: one run per period of its
// sequence, whose steps are single Reg2 lines, each leaving `lead` before its
// symbol boundary (the line's wire time) so that the tone changes on the
// boundary. The first period's run starts with the twelve lines of "Update
// all registers" with the keying set, as its first step.
//
//   period start - 1 s   R00000017 ... R98F10E80   Update all registers
//   period start - lead  R07FED542                 PI4 OZ7IGY symbol 0
//   + 1/6 s - lead       R07FDDFE2                 PI4 OZ7IGY symbol 1 ...

#include <chrono>
#include <string>
#include <vector>

#include "modes/beacon_plan.h"
#include "session/board_session.h"

namespace kelvane::keying {

using Clock = std::chrono::system_clock;

struct BeaconPeriod {
    session::Run run;
    // For each step, the element it starts ("PI4 OZ7IGY"), or empty.
    std::vector<std::string> elementStarts;
};

// The run of the period starting at `periodStart`.
BeaconPeriod beaconPeriod(const beacon::PlannedBeacon& beacon, Clock::time_point periodStart,
                          bool withUpdate, std::chrono::microseconds lead);

// The first period start at or after `earliest`: a whole number of periods
// since midnight UTC (for 120 s periods, the even minutes).
Clock::time_point nextPeriodStart(Clock::time_point earliest, double periodSeconds);

// A run of one step, the Reg2 line that puts the board back on the carrier.
session::Run carrierRun(const beacon::TonePlan& tones);

// "12:03:00": a moment's UTC time of day.
std::string utcTimeText(Clock::time_point moment);

} // namespace kelvane::keying
