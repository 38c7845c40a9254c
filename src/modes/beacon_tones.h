#pragma once
// The keying set of a beacon: every tone it sends made by register 2 alone.
// R, N and the numerator F stay as Reg1 and Reg0 hold them; each tone is the
// denominator D whose output frequency is nearest the wanted one, so the PLL
// never needs to recalibrate while the beacon keys.
//
// F and the carrier's D are chosen so that the carrier lies within 1 Hz of the
// wanted output, each mode tone within 5% of its tone spacing of its wanted
// offset from the carrier (the CW key-up frequency within 1 Hz), and every D
// lies above F and below 2^22. At 2320.25 MHz from a 10 MHz reference one unit
// of D moves the output by about 0.06 Hz.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "model/inputs.h"
#include "model/registers.h"
#include "modes/beacon_sequence.h"

namespace kelvane::beacon {

inline constexpr std::int64_t denominatorLimit = 4194304; // 2^22
inline constexpr double toneTolerance = 0.05;             // of the mode's spacing
inline constexpr double carrierToleranceHz = 1;

struct Tone {
    ToneKey key;
    std::string name;    // "carrier", "PI4 0", "JT4 3", "WSPR 1", "CW key-up"
    double offsetHz = 0; // wanted, from the carrier
    double toleranceHz = 0;
    std::int64_t d = 0;
    double achievedOffsetHz = 0; // from the achieved carrier
    double errorHz = 0;          // achieved minus wanted offset
    std::int64_t reg2 = 0;
};

struct TonePlan {
    double wantedHz = 0;
    double carrierHz = 0;
    std::int64_t n = 0, f = 0;
    std::vector<Tone> tones; // the carrier first, then by mode
    RegisterImage registers; // the keying set, Reg2 holding the carrier's D
    // The tone a timetable line asks for; every key of the sequence has one.
    const Tone& tone(const ToneKey& key) const;
};

struct TonePlanRefusal {
    std::string line;
};

// The keying set for the sequence's tones at the output the inputs plan.
// Refused with the reason and what to change: no plan for the inputs, tones
// on both sides of a whole multiple of the comparison frequency, or no F that
// keeps every tone within its tolerance and every D below 2^22.
std::variant<TonePlan, TonePlanRefusal> planTones(const Inputs& inputs, const Sequence& sequence);

} // namespace kelvane::beacon
