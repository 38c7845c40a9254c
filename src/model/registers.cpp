#include "model/registers.h"

#include <cmath>

#include "model/conversions.h"
#include "model/hex.h"

namespace kelvane {

std::int64_t composeReg0(std::int64_t n, std::int64_t fract) {
    return 65536 * (fract % 65536) + 16 * (n % 4096);
}

std::int64_t composeReg1(std::int64_t r, std::int64_t n, std::int64_t fract) {
    return 1 + 16 * (r % 4096) + 16 * (n - n % 4096) + 64 * (fract - fract % 65536);
}

std::int64_t composeReg2(std::int64_t denom) { return 2 + 16 * denom + 67108864; }

RegisterImage composeRegisters(const Plan& plan, const Inputs& in, const PlanVariables& v) {
    const auto n = static_cast<std::int64_t>(plan.n);
    const auto fract = static_cast<std::int64_t>(plan.fract);
    const auto denom = static_cast<std::int64_t>(plan.denom);

    double reference = std::floor(val(in.fr) + 0.5);
    if (reference > 255) reference = 255;
    const auto t = static_cast<std::int64_t>(reference);

    RegisterImage image;
    image[7] = reg7Constant;
    image[12] = reg12Constant;
    image[9] = reg9Constant;
    image[8] = reg8Constant;
    image[5] = reg5Constant;
    image[0] = composeReg0(n, fract);
    image[1] = composeReg1(v.r, n, fract);
    image[2] = composeReg2(denom);
    image[13] = in.odiv > 1 ? 0xCD : 0x8D;
    image[6] = 0x1C0026 + 16384 * in.vcoGain + 1024 * in.outTerm + 64 * in.divGain;
    image[4] = reg4FixedBits + 4096 * static_cast<std::int64_t>(in.odiv) + 16 * t;
    image[3] = 0x80003 + 256 * in.cpg + 8192 * in.mux + 131072 * (in.cpp ? 1 : 0) +
               262144 * (in.doubler ? 1 : 0) + 1048576 * in.order + 8388608 * in.dither +
               16 * (in.externalVco ? 1 : 0);
    return image;
}

std::string registerListing(const RegisterImage& image) {
    struct Line {
        const char* firstLabel;
        int first;
        const char* secondLabel;
        int second;
    };
    static constexpr Line lines[] = {
        {"          7    ", 7, "        13   ", 13}, {"         12   ", 12, "         9    ", 9},
        {"          8    ", 8, "         6    ", 6}, {"          5    ", 5, "         4    ", 4},
        {"          3    ", 3, "         2    ", 2}, {"          1    ", 1, "         0    ", 0},
    };
    std::string text;
    for (const auto& line : lines) {
        text += line.firstLabel + hexWord(image[line.first]) + line.secondLabel +
                hexWord(image[line.second]) + "\r\n";
    }
    return text;
}

bool fitsRegisterWord(std::int64_t word) {
    constexpr std::int64_t span = std::int64_t{1} << 32;
    return word >= -span && word < span;
}

std::optional<std::string> wordBeyond32Bits(const RegisterImage& image) {
    for (int address : transferOrder)
        if (!fitsRegisterWord(image[address]))
            return "Reg" + std::to_string(address) + " = " + hexWord(image[address]) +
                   " does not fit in 32 bits; correct the plan";
    return std::nullopt;
}

} // namespace kelvane
