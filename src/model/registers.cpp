#include "model/registers.h"

#include <cmath>

#include "model/conversions.h"
#include "model/hex.h"
#include "model/register_fields.h"

namespace kelvane {

std::int64_t composeReg0(std::int64_t n, std::int64_t fract) {
    using namespace fields;
    return fractLow.placed(fract % fractLow.span()) + nLow.placed(n % nLow.span());
}

std::int64_t composeReg1(std::int64_t r, std::int64_t n, std::int64_t fract) {
    using namespace fields;
    return 1 + rDivider.placed(r % rDivider.span()) + nHigh.placed(n / nLow.span()) +
           fractHigh.placed(fract / fractLow.span());
}

std::int64_t composeReg2(std::int64_t denom) {
    return reg2FixedBits + fields::denominator.placed(denom);
}

RegisterImage composeRegisters(const Plan& plan, const Inputs& in, const PlanVariables& v) {
    using namespace fields;
    const auto n = static_cast<std::int64_t>(plan.n);
    const auto fract = static_cast<std::int64_t>(plan.fract);
    const auto denom = static_cast<std::int64_t>(plan.denom);

    double reference = std::floor(val(in.fr) + 0.5);
    if (reference > highestReferenceMhz) reference = highestReferenceMhz;
    const auto t = static_cast<std::int64_t>(reference);
    auto bit = [](bool on) { return std::int64_t{on ? 1 : 0}; };

    RegisterImage image;
    image[7] = reg7Constant;
    image[12] = reg12Constant;
    image[9] = reg9Constant;
    image[8] = reg8Constant;
    image[5] = reg5Constant;
    image[0] = composeReg0(n, fract);
    image[1] = composeReg1(v.r, n, fract);
    image[2] = composeReg2(denom);
    image[13] = in.odiv > 1 ? reg13Divided : reg13Undivided;
    image[6] = reg6FixedBits + vcoGain.placed(in.vcoGain) + outTerm.placed(in.outTerm) +
               divGain.placed(in.divGain);
    image[4] = reg4FixedBits + outputDivider.placed(in.odiv) + referenceMhz.placed(t);
    image[3] = reg3FixedBits + chargePumpGain.placed(in.cpg) + mux.placed(in.mux) +
               chargePumpPolarity.placed(bit(in.cpp)) + doubler.placed(bit(in.doubler)) +
               order.placed(in.order) + dither.placed(in.dither) +
               externalVco.placed(bit(in.externalVco));
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
