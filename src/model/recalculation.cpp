#include "model/recalculation.h"

namespace kelvane {

RecalculationOutcome recalculate(const PlanInputs& inputs, const LoopSettings& settings) {
    PlanOutcome outcome = calculatePlan(inputs);
    if (auto* refused = std::get_if<RefusedPlan>(&outcome)) return std::move(*refused);
    auto& planned = std::get<PlannedFrequency>(outcome);
    Recalculation result{planned.plan, std::move(planned.captions), {}, {}};
    result.registers = composeRegisters(result.plan, inputs, settings);
    result.listing = registerListing(result.registers);
    return result;
}

} // namespace kelvane
