#include "model/plan.h"

#include <cmath>
#include <tuple>

#include "model/conversions.h"
#include "model/register_fields.h"
#include "model/registers.h"

namespace kelvane {
namespace {

constexpr double largestField = 2147483647.0;

bool beyondField(double value) {
    return !std::isfinite(value) || std::fabs(value) > largestField;
}

std::string dnCaption(double denom) {
    return "D =   " + str(denom);
}

} // namespace

std::pair<std::string, Colour> chipVariantCaption(double fvco) {
    if (fvco > chipVcoHighest || fvco < chipVcoLowest || std::isnan(fvco))
        return {"Invalid Frequency Range", colours::red};
    std::string text = "LMX2541-";
    for (const auto& range : chipVcoRanges)
        if (range.lower <= fvco && fvco <= range.upper) text += range.variant;
    return {text, colours::darkGreen};
}

PlanOutcome calculatePlan(const Inputs& in, const PlanVariables& v) {
    if (v.r == 0) return RefusedPlan{"Reference divider R is 0: no comparison frequency", {}};

    const double reference = val(in.fr);
    const double doublerValue = in.doubler ? 1 : 0;
    Plan p;

    p.fcomp = reference / v.r;
    if (p.fcomp == 0) p.fcomp = 0.001;
    if (in.doubler) p.fcomp = p.fcomp * 2;
    if (!std::isfinite(p.fcomp))
        return RefusedPlan{"Reference frequency is out of range: no comparison frequency", {}};

    p.denom = std::floor(p.fcomp * 1000000 / v.fres / in.odiv * v.rfMult + 0.5);
    if (beyondField(p.denom))
        return RefusedPlan{
            "Resolution is too fine for the comparison frequency: denominator beyond 2147483647",
            std::isfinite(p.denom) ? std::optional(dnCaption(p.denom)) : std::nullopt};
    if (p.denom == 0)
        return RefusedPlan{
            "Resolution is coarser than the comparison frequency allows: no denominator",
            dnCaption(p.denom)};

    p.effN = v.fvco / p.fcomp;
    p.n = std::floor(p.effN);
    if (beyondField(p.n))
        return RefusedPlan{
            "VCO frequency is out of range for the comparison frequency: N beyond 2147483647",
            dnCaption(p.denom)};
    p.fract = std::floor((p.effN - p.n) * p.denom + 0.5);
    if (beyondField(p.fract))
        return RefusedPlan{"Fractional numerator F beyond 2147483647", dnCaption(p.denom)};

    // Reg4 carries the reference in whole MHz, a negative one taken off its
    // fixed bits; far below zero the word no longer has eight hexadecimal digits
    // and its register line would be malformed.
    const double reg4 = static_cast<double>(reg4FixedBits + fields::outputDivider.placed(in.odiv)) +
                        std::ldexp(std::floor(reference + 0.5), fields::referenceMhz.shift);
    if (reg4 < static_cast<double>(lowestEightDigitWord))
        return RefusedPlan{"Reference frequency is out of range: it does not fit register 4",
                           dnCaption(p.denom)};

    p.fcorr = reference / v.r * v.rfMult * (doublerValue + 1) * (p.n + p.fract / p.denom) / in.odiv;
    p.ferror = (p.fcorr - val(in.fo)) * 1000000;

    PlanCaptions c;
    c.fv = format(v.fvco, "0000.0####") + " MHz";
    c.fc = format(p.fcomp * 1000, "##00.###") + " kHz";
    c.dn = dnCaption(p.denom);
    c.dnColour = p.denom < static_cast<double>(denominatorLimit) ? colours::black : colours::red;
    c.frlabel = "F =     " + str(p.fract);
    c.nlabel = "N =      " + str(p.n);
    c.stepLbl = in.odiv > 1 ? "Step =  " + format(p.fcomp / p.denom * 1000000, "####.#####") : "";
    c.operr = std::fabs(p.ferror) > 0.001
                  ? "Output Freq Error  " + format(p.ferror, "##0.0##") + "  Hz"
                  : "";
    std::tie(c.chipType, c.chipTypeColour) = chipVariantCaption(v.fvco);
    return PlannedFrequency{p, c};
}

} // namespace kelvane
