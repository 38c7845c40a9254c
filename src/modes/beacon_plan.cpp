#include "modes/beacon_plan.h"

namespace kelvane::beacon {

std::variant<PlannedBeacon, std::string> planBeacon(const Inputs& inputs,
                                                    const Sequence& sequence) {
    auto table = layOut(sequence, shortestLineGap);
    if (const auto* refusal = std::get_if<SequenceRefusal>(&table)) return refusal->line;
    auto tones = planTones(inputs, sequence);
    if (const auto* refusal = std::get_if<TonePlanRefusal>(&tones)) return refusal->line;
    return PlannedBeacon{inputs, sequence, std::get<Timetable>(std::move(table)),
                         std::get<TonePlan>(std::move(tones))};
}

} // namespace kelvane::beacon
