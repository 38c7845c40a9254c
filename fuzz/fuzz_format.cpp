// Format and Str over arbitrary doubles and patterns. The text must read back
// (by Val) as the value rounded to the pattern's decimals.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "model/conversions.h"

namespace {

// Every pattern the program formats with.
constexpr const char* patterns[] = {
    "0000.0####",  "##00.###",   "####.#####", "##0.0##", "###00.00###", "####0.00########",
    "####.######", "###.######", "0.########", "#######", "0.##",        "0.00",
};

std::size_t decimals(const std::string& pattern) {
    const auto point = pattern.find('.');
    return point == std::string::npos ? 0 : pattern.size() - point - 1;
}

void check(double value, const std::string& pattern) {
    const std::string text = kelvane::format(value, pattern);
    if (!std::isfinite(value)) return;
    for (char c : text)
        if (!(c == '-' || c == '.' || (c >= '0' && c <= '9'))) std::abort();
    if (std::fabs(value) >= 1e15) return;
    const double step = std::pow(10.0, -static_cast<double>(decimals(pattern)));
    const double tolerance = step / 2 + std::fabs(value) * 1e-14 + 1e-300;
    if (std::fabs(kelvane::val(text) - value) > tolerance) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < sizeof(double)) return 0;
    double value;
    std::memcpy(&value, data, sizeof value);
    for (const char* pattern : patterns)
        check(value, pattern);

    // An arbitrary pattern of placeholders from the remaining bytes.
    std::string pattern;
    for (std::size_t i = sizeof value; i < size && pattern.size() < 24; ++i)
        pattern.push_back("0#."[data[i] % 3]);
    if (std::count(pattern.begin(), pattern.end(), '.') <= 1) check(value, pattern);

    const std::string text = kelvane::str(value);
    if (std::isfinite(value) && text.empty()) std::abort();
    return 0;
}
