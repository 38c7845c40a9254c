#include "modes/frequency_run.h"

#include <cmath>

#include "model/conversions.h"
#include "model/hex.h"
#include "model/plan_input_rules.h"
#include "model/recalculation.h"

namespace kelvane {
namespace {

std::string mhzText(double mhz) {
    return plainNumberText(mhz) + " MHz";
}

// The text typed into the output box: to the nanohertz, which keeps the
// rounding of from + i x step out of it (2320.2 + 3 x 0.1 is 2320.5), and
// without a point after a whole number, as the step buttons write it.
std::string typedText(double mhz) {
    std::string text = format(mhz, "0.#########");
    if (text.ends_with('.')) text.pop_back();
    return text;
}

} // namespace

std::string runFrequencyText(double mhz) {
    return format(mhz, "0.000000") + " MHz";
}

FrequencyList sweepFrequencies(double from, double to, double step) {
    if (step == 0 || !std::isfinite(step)) return RunRefusal{"The step must not be 0"};
    const double steps = (to - from) / step;
    if (steps < -1e-6)
        return RunRefusal{"The sweep from " + mhzText(from) + " to " + mhzText(to) + " goes " +
                          (to > from ? "up" : "down") + " but the step " + mhzText(step) +
                          " goes " + (step > 0 ? "up" : "down") +
                          ": turn the step's sign or swap the ends"};
    const double count = std::floor(steps + 1e-6);
    if (count > double(mostRunSteps))
        return RunRefusal{"The sweep from " + mhzText(from) + " to " + mhzText(to) +
                          " in steps of " + mhzText(step) + " takes " + plainNumberText(count) +
                          " steps; at most " + std::to_string(mostRunSteps) +
                          " are sent: take a larger step or a shorter span"};
    std::vector<double> frequencies;
    frequencies.reserve(static_cast<std::size_t>(count) + 1);
    for (long long i = 0; i <= static_cast<long long>(count); ++i)
        frequencies.push_back(from + double(i) * step);
    return frequencies;
}

FrequencyList hopFrequencies(std::string_view listText) {
    std::vector<double> frequencies;
    int lineNumber = 0;
    while (!listText.empty()) {
        ++lineNumber;
        const auto end = listText.find('\n');
        std::string_view line = listText.substr(0, end);
        listText = end == std::string_view::npos ? std::string_view{} : listText.substr(end + 1);
        line = line.substr(0, line.find('#'));
        if (line.find_first_not_of(" \t\r") == std::string_view::npos) continue;
        const double mhz = val(line);
        if (!(mhz > 0))
            return RunRefusal{"Line " + std::to_string(lineNumber) + " of the list, \"" +
                              std::string(line.substr(0, line.find_last_not_of(" \t\r") + 1)) +
                              "\", is no output frequency in MHz above 0"};
        if (frequencies.size() > std::size_t(mostRunSteps))
            return RunRefusal{"The list holds more than " + std::to_string(mostRunSteps + 1) +
                              " frequencies"};
        frequencies.push_back(mhz);
    }
    if (frequencies.empty()) return RunRefusal{"The list holds no frequency"};
    return frequencies;
}

RunPlan planRun(const std::vector<double>& frequencies, const Inputs& base,
                const PlanVariables& baseVariables) {
    std::vector<RunStep> steps;
    steps.reserve(frequencies.size());
    for (double mhz : frequencies) {
        RunStep step{mhz, typedText(mhz), {}};
        Inputs inputs = base;
        inputs.fo = step.foText;
        PlanVariables variables = baseVariables;
        variables.fout = val(step.foText);
        variables.fvco = vcoFrequency(variables.fout, inputs.odiv, variables.rfMult);
        auto outcome = recalculate(inputs, variables);
        const std::string named = runFrequencyText(mhz);
        if (const auto* refused = std::get_if<RefusedPlan>(&outcome))
            return RunRefusal{named + " has no plan: " + refused->reason};
        const double fvco = variables.fvco;
        if (!inputs.externalVco && !(fvco >= chipVcoLowest && fvco <= chipVcoHighest))
            return RunRefusal{named + " puts the VCO at " + plainNumberText(fvco) +
                              " MHz, outside the chip's 1900 to 4000 MHz"};
        step.registers = std::get<Recalculation>(outcome).registers;
        for (int address : transferOrder) {
            const std::string word = hexWord(step.registers[address]);
            if (word.size() > 8)
                return RunRefusal{named + " gives Reg" + std::to_string(address) + " " + word +
                                  ", beyond 32 bits"};
        }
        steps.push_back(std::move(step));
    }
    return steps;
}

} // namespace kelvane
