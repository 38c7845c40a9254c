#pragma once
// Sweeps and hop lists: the output frequencies a run visits, and each one's
// register words, planned as if its value had been typed into the output box
// while every other input stays. A run is planned whole before anything is
// sent; one frequency that cannot be sent refuses the whole run, naming it.
//
// On the board the first frequency goes out as "Update all registers", every
// later one as "Quick Freq Update" of its three frequency words: only Reg0, Reg1
// and Reg2 follow the output frequency (the denominator in Reg2 stays too).

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "model/inputs.h"
#include "model/plan_variables.h"
#include "model/registers.h"

namespace kelvane {

// More steps than this are refused: at 0.15 s a step they would take hours.
inline constexpr long long mostRunSteps = 100000;

struct RunRefusal {
    std::string line;
};

using FrequencyList = std::variant<std::vector<double>, RunRefusal>;

// from, from + step, ... up to and including `to` within a millionth of a
// step; each value is from + i x step, so no rounding piles up. A step whose
// sign takes the run away from `to`, a step of 0, or more than mostRunSteps
// steps, is refused.
FrequencyList sweepFrequencies(double from, double to, double step);

// A hop list: one output frequency in MHz a line, read as the window reads
// the output box; blank lines and everything after "#" are ignored. A line
// without a number, a frequency of 0 or less, or an empty list is refused with
// the line's number. A line read only in part ("2320,25" is 2320) adds a
// warning to `partlyRead`, when given: "line 2 of the list: \"2320,25\" is read
// as 2320: use a point".
FrequencyList hopFrequencies(std::string_view listText,
                             std::vector<std::string>* partlyRead = nullptr);

struct RunStep {
    double mhz = 0;
    std::string foText; // what is "typed" into the output box
    RegisterImage registers;
};

using RunPlan = std::variant<std::vector<RunStep>, RunRefusal>;

// Plans every frequency with the other inputs and variables of the window
// (or of a fresh start) as they are. Refused, naming the first such
// frequency: a plan that cannot be formed, a word beyond 32 bits, or a VCO
// frequency outside the chip's 1900 to 4000 MHz (unless the inputs use an
// external VCO).
RunPlan planRun(const std::vector<double>& frequencies, const Inputs& base,
                const PlanVariables& baseVariables);

// "2320.250000 MHz": a frequency as a run reports it, to the hertz.
std::string runFrequencyText(double mhz);

} // namespace kelvane
