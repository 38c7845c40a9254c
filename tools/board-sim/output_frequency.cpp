#include "output_frequency.h"

namespace kelvane::sim {

std::optional<double> outputHz(const Words& w, double referenceMhz) {
    const std::uint32_t fract = (w[0] >> 16) | (((w[1] >> 22) & 0x3F) << 16);
    const std::uint32_t n = ((w[0] >> 4) & 0xFFF) | (((w[1] >> 16) & 0xF) << 12);
    const std::uint32_t r = (w[1] >> 4) & 0xFFF;
    const std::uint32_t d = (w[2] >> 4) & 0x3FFFFF;
    const std::uint32_t odiv = (w[4] >> 12) & 0x3F;
    if (r == 0 || d == 0 || odiv == 0) return std::nullopt;
    const long double doubler = (w[3] >> 18) & 1 ? 2 : 1;
    const long double hz = static_cast<long double>(referenceMhz) * 1e6L / r * doubler *
                           (n + static_cast<long double>(fract) / d) / odiv;
    return static_cast<double>(hz);
}

} // namespace kelvane::sim
