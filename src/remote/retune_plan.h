#pragma once
// A remote frequency request planned as if its value had been typed into the
// output box, every other input staying, and the transfer that brings the
// board there: "Quick Freq Update" when only Reg0 to Reg2 differ from what
// the board was last sent, "Update all registers" otherwise (and when nothing
// was sent yet).

#include <optional>
#include <variant>

#include "model/inputs.h"
#include "model/plan_variables.h"
#include "model/registers.h"
#include "modes/frequency_run.h"

namespace kelvane::remote {

struct Retune {
    RunStep step;
    bool allRegisters = true;
};

// Refused like a run's frequency: no plan, a word beyond 32 bits, or the VCO
// outside the chip's range without an external VCO.
std::variant<Retune, RunRefusal> planRetune(double hertz, const Inputs& inputs,
                                            const PlanVariables& variables,
                                            const std::optional<RegisterImage>& boardHas);

// The output frequencies, in hertz, that the chip's VCO range allows with the
// output divider and multiplier of these inputs.
struct TuningRange {
    double lowestHertz = 0;
    double highestHertz = 0;
};
TuningRange tuningRange(const Inputs& inputs, const PlanVariables& variables);

} // namespace kelvane::remote
