#include "model/eeprom_verify.h"

#include <algorithm>

#include "model/hex.h"

namespace kelvane {

EepromComparison compareStoredSet(const StoredSet& stored, const RegisterImage& plan) {
    EepromComparison comparison;
    for (int address : transferOrder) {
        ++comparison.compared;
        const std::string planned = hexWord(plan[address]);
        const auto& value = stored.value[static_cast<std::size_t>(address)];
        std::optional<std::string> storedText;
        if (value) storedText = hexWord(std::int64_t(*value) * 16 + address);
        if (storedText != planned) comparison.differences.push_back({address, storedText, planned});
    }
    return comparison;
}

std::string verdictLine(const EepromComparison& comparison) {
    if (comparison.matches())
        return "EEPROM matches the plan: " + std::to_string(comparison.compared) + " of " +
               std::to_string(comparison.compared) + " words";
    std::string line = "EEPROM differs from the plan: ";
    for (const auto& difference : comparison.differences) {
        if (&difference != &comparison.differences.front()) line += "; ";
        line += "Reg" + std::to_string(difference.address);
        line += difference.stored ? " stored " + *difference.stored + ", plan " + difference.plan
                                  : " not stored";
    }
    return line;
}

std::variant<EepromComparison, VerifyRefusal> verifyAnswer(std::string_view answer,
                                                           const RegisterImage& plan) {
    const StoredSet stored = parseStoredSet(answer);
    const bool anyEntry = std::any_of(stored.value.begin(), stored.value.end(),
                                      [](const auto& value) { return value.has_value(); });
    if (!anyEntry)
        return VerifyRefusal{answer.empty()
                                 ? "Verify EE: no answer from the board"
                                 : "Verify EE: the board's answer holds no register entry"};
    return compareStoredSet(stored, plan);
}

} // namespace kelvane
