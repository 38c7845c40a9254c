#include "model/recalculation.h"

namespace kelvane {

RecalculationOutcome recalculate(const Inputs& inputs, const PlanVariables& variables) {
    PlanOutcome outcome = calculatePlan(inputs, variables);
    if (auto* refused = std::get_if<RefusedPlan>(&outcome)) return std::move(*refused);
    auto& planned = std::get<PlannedFrequency>(outcome);
    Recalculation result{planned.plan, std::move(planned.captions), {}, {}};
    result.registers = composeRegisters(result.plan, inputs, variables);
    result.listing = registerListing(result.registers);
    return result;
}

} // namespace kelvane
