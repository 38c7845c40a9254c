#include "remote/retune_plan.h"

#include <algorithm>

#include "model/plan.h"

namespace kelvane::remote {
namespace {

bool onlyFrequencyWordsDiffer(const RegisterImage& planned, const RegisterImage& sent) {
    return std::all_of(transferOrder.begin(), transferOrder.end(), [&](int address) {
        return address <= 2 || planned[address] == sent[address];
    });
}

} // namespace

std::variant<Retune, RunRefusal> planRetune(double hertz, const Inputs& inputs,
                                            const PlanVariables& variables,
                                            const std::optional<RegisterImage>& boardHas) {
    auto planned = planRun({hertz / 1e6}, inputs, variables);
    if (auto* refusal = std::get_if<RunRefusal>(&planned)) return std::move(*refusal);
    Retune retune{std::move(std::get<std::vector<RunStep>>(planned).front()), true};
    retune.allRegisters = !boardHas || !onlyFrequencyWordsDiffer(retune.step.registers, *boardHas);
    return retune;
}

TuningRange tuningRange(const Inputs& inputs, const PlanVariables& variables) {
    const double scale = 1e6 * variables.rfMult / std::max(inputs.odiv, 1);
    return {chipVcoLowest * scale, chipVcoHighest * scale};
}

} // namespace kelvane::remote
