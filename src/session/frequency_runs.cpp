#include "session/frequency_runs.h"

namespace kelvane::session {
namespace {

constexpr int frequencyWords[] = {2, 1, 0};

bool followsFrequency(int address) {
    return address == 2 || address == 1 || address == 0;
}

} // namespace

Run frequencyRun(std::string name, const std::vector<kelvane::RunStep>& planned,
                 std::chrono::milliseconds dwell, long long passes) {
    Run run{std::move(name), {}, {}, passes};
    if (planned.empty()) return run;
    for (int address : transferOrder)
        if (!followsFrequency(address))
            run.setUpLines.push_back(link::registerLine(planned.front().registers[address]));
    run.steps.reserve(planned.size());
    for (const kelvane::RunStep& frequency : planned) {
        RunStep step{{}, frequency.mhz, runFrequencyText(frequency.mhz), std::nullopt, dwell};
        for (int address : frequencyWords)
            step.lines.push_back(link::registerLine(frequency.registers[address]));
        run.steps.push_back(std::move(step));
    }
    return run;
}

} // namespace kelvane::session
