#include "modes/fsk_report.h"

#include <cmath>
#include <optional>

#include "export/ee_hex_data.h"
#include "model/conversions.h"
#include "model/registers.h"

namespace kelvane {
namespace {

// A whole number that converts to a word without overflow; nothing beyond 2^53
// can be a register field anyway.
std::optional<std::int64_t> wholeNumber(double value) {
    constexpr double limit = 9007199254740992.0; // 2^53
    if (!std::isfinite(value) || std::fabs(value) > limit) return std::nullopt;
    return static_cast<std::int64_t>(value);
}

} // namespace

std::variant<FskDenominators, std::string> generateFsk(const Inputs& in, const PlanVariables& v,
                                                       const Plan& plan,
                                                       std::string_view shiftText) {
    const std::optional<double> shift = strictNumber(shiftText);
    if (!shift) return "FSK Shift must be a number, for example -400";
    const double m = val(in.rfMult);
    if (m == 0) return "RF Mult must be a number other than 0, for example 1";
    const double resolution = val(in.res);
    if (resolution == 0) return "Res must be a number other than 0, for example 10";

    FskDenominators d;
    const double x = v.fvco / plan.fcomp;
    const double nValue = std::floor(x);
    d.f = x - nValue;

    // The shift referred to the VCO, in MHz, passed through its 15-digit text
    // so that the result does not depend on the last bits of the quotient.
    const double shiftAtDivider = *shift / m;
    const double delta = val(plainNumberText(shiftAtDivider)) * in.odiv / 1000000;
    d.f2 = (v.fvco + delta) / plan.fcomp - nValue;
    if (!std::isfinite(x) || !std::isfinite(shiftAtDivider) || !std::isfinite(d.f2))
        return "The plan gives no finite fraction; check Fo, Fr, R and RF Mult";
    if (d.f2 == 0) return "FSK Shift moves the fraction to exactly 0; choose another FSK Shift";

    d.d1 = plan.denom;
    const auto d2 = wholeNumber(std::floor(d.f / d.f2 * d.d1 + 0.5));
    if (!d2 || !fitsRegisterWord(composeReg2(*d2)))
        return "New Denom does not fit in register 2; choose another FSK Shift";
    d.d2 = *d2;
    d.wfsk = composeReg2(d.d2);

    // One unit of D moves the output by Fcomp * f * M / (Odiv * D); make that r.
    const double resolutionAtDivider = resolution / m;
    const auto dw =
        wholeNumber(std::floor(plan.fcomp * 1000000 / in.odiv * d.f / resolutionAtDivider + 0.5));
    const auto fw =
        dw ? wholeNumber(std::floor(static_cast<double>(*dw) * d.f + 0.5)) : std::nullopt;
    const auto n = wholeNumber(nValue);
    const auto r = wholeNumber(v.r);
    const char* tooLarge = "WSJT Modulation words do not fit in 32 bits; choose a coarser Res";
    if (!dw || !fw || !n || !r) return tooLarge;
    d.n = *n;
    d.dw = *dw;
    d.fw = *fw;
    d.w2 = composeReg2(d.dw);
    d.w1 = composeReg1(*r, d.n, d.fw);
    d.w0 = composeReg0(d.n, d.fw);
    if (!fitsRegisterWord(d.w2) || !fitsRegisterWord(d.w1) || !fitsRegisterWord(d.w0))
        return tooLarge;
    return d;
}

std::string fskReportText(const FskDenominators& d) {
    const std::string lines[] = {
        "Orig Fraction " + format(d.f, "0.########"),
        "New Fraction " + format(d.f2, "0.########"),
        "Old Denom D " + str(d.d1),
        "New Denom   " + str(static_cast<double>(d.d2)),
        "",
        "Reg 2 for FSK shift  ",
        eeHexData(d.wfsk),
        "",
        "WSJT Modulation",
        "F = " + format(static_cast<double>(d.fw), "#######") +
            "      D = " + format(static_cast<double>(d.dw), "#######"),
        eeHexData(d.w2) + "   ;Reg2",
        eeHexData(d.w1) + "   ;Reg1",
        eeHexData(d.w0) + "   ;Reg0",
    };
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

GeneratedText fskReport(const Inputs& inputs, const PlanVariables& variables, const Plan& plan,
                        std::string_view shiftText) {
    auto outcome = generateFsk(inputs, variables, plan, shiftText);
    if (auto* problem = std::get_if<std::string>(&outcome)) return {false, std::move(*problem)};
    return {true, fskReportText(std::get<FskDenominators>(outcome))};
}

} // namespace kelvane
