// Time of one full recalculation: plan, captions, twelve words and the listing.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "model/recalculation.h"

int main() {
    using clock = std::chrono::steady_clock;
    kelvane::Inputs inputs;
    inputs.fo = "1160.12345";
    inputs.odiv = 2;
    const auto variables = kelvane::planVariablesFrom(inputs);

    constexpr int batches = 200;
    constexpr int perBatch = 1000;
    std::vector<double> nanoseconds;
    std::size_t sink = 0;
    for (int b = 0; b < batches; ++b) {
        const auto start = clock::now();
        for (int i = 0; i < perBatch; ++i) {
            const auto outcome = kelvane::recalculate(inputs, variables);
            sink += std::get<kelvane::Recalculation>(outcome).listing.size();
        }
        const auto elapsed = std::chrono::duration<double, std::nano>(clock::now() - start).count();
        nanoseconds.push_back(elapsed / perBatch);
    }
    std::sort(nanoseconds.begin(), nanoseconds.end());
    std::printf(
        "recalculate (plan, captions, 12 words, listing): median %.0f ns, min %.0f ns, max %.0f ns "
        "(%d batches of %d; target 2000 ns)\n",
        nanoseconds[nanoseconds.size() / 2], nanoseconds.front(), nanoseconds.back(), batches,
        perBatch);
    return sink == 0;
}
