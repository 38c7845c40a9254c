// The remote-control line protocol over arbitrary lines: no crash, every
// command answered with whole lines, a frequency argument read only as a
// finite number above 0.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "remote/rig_protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kelvane::remote;
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const auto requests = parseLine(line);
    if (requests.size() > size) std::abort();
    const RigState state{1296500000, 950e6, 2000e6, "Kelvane"};
    for (const Request& request : requests) {
        const std::string text = answer(request, state, invalidParameter);
        if (text.empty() || text.back() != '\n') std::abort();
        if (const auto hertz = readHertz(request.argument))
            if (!std::isfinite(*hertz) || !(*hertz > 0)) std::abort();
    }
    return 0;
}
