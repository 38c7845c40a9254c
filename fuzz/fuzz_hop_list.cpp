// The hop list reader over arbitrary bytes: either one refusal line, shown
// safely, or frequencies above 0 within the run's cap, each line read in part
// warned about in one safe line.

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "model/display_text.h"
#include "modes/frequency_run.h"

namespace {

// One line a terminal shows as it is: nothing left to escape.
bool safeLine(const std::string& line) {
    return !line.empty() && kelvane::escapedText(line) == line;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> warnings;
    const auto list = kelvane::hopFrequencies(text, &warnings);
    for (const std::string& warning : warnings)
        if (!safeLine(warning)) std::abort();
    if (const auto* refusal = std::get_if<kelvane::RunRefusal>(&list)) {
        if (!safeLine(refusal->line)) std::abort();
        return 0;
    }
    const auto& frequencies = std::get<std::vector<double>>(list);
    if (frequencies.empty() || frequencies.size() > std::size_t(kelvane::mostRunSteps) + 1)
        std::abort();
    for (double mhz : frequencies)
        if (!(mhz > 0) || !std::isfinite(mhz)) std::abort();
    return 0;
}
