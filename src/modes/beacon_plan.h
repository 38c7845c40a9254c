#pragma once
// A beacon ready to key: its sequence laid out in the period and its tones
// planned, or the one line that says why it cannot be keyed.

#include <string>
#include <variant>

#include "modes/beacon_tones.h"

namespace kelvane::beacon {

// A register line at 9600 8N2 (11 bytes of 11 bits) and the link's pause
// after it: no two lines of a timetable may come closer.
inline constexpr double lineWireSeconds = 0.0126;
inline constexpr double shortestLineGap = 0.050 + lineWireSeconds;

struct PlannedBeacon {
    Inputs inputs;
    Sequence sequence;
    Timetable timetable;
    TonePlan tones;
};

std::variant<PlannedBeacon, std::string> planBeacon(const Inputs& inputs, const Sequence& sequence);

} // namespace kelvane::beacon
