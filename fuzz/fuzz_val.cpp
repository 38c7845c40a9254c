// Val and the strict number reader over arbitrary text: no crash, finite
// results, and where the strict reader accepts a text, Val reads the same value.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "model/conversions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = kelvane::val(text);
    if (!std::isfinite(value)) std::abort();
    if (const auto strict = kelvane::strictNumber(text)) {
        if (!std::isfinite(*strict)) std::abort();
        if (kelvane::val(text) != *strict) std::abort();
    }
    return 0;
}
