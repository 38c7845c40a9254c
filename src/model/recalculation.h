#pragma once
// One full recalculation: the plan with its captions, the register image and
// the register listing, or the reason why no plan can be formed.

#include <variant>

#include "model/plan.h"
#include "model/registers.h"

namespace kelvane {

struct Recalculation {
    Plan plan;
    PlanCaptions captions;
    RegisterImage registers;
    std::string listing; // six lines, CR LF line ends
};

using RecalculationOutcome = std::variant<Recalculation, RefusedPlan>;

RecalculationOutcome recalculate(const Inputs& inputs, const PlanVariables& variables);

} // namespace kelvane
