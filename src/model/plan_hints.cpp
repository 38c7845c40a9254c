#include "model/plan_hints.h"

#include <cstdlib>

#include "model/conversions.h"
#include "model/display_text.h"
#include "model/plan.h"
#include "model/register_fields.h"

namespace kelvane {
namespace {

constexpr int highestOutputDivider = 63;

bool vcoInRange(double fvco) {
    return fvco >= chipVcoLowest && fvco <= chipVcoHighest;
}

// A long text is cut, so that the hint still fits one status line; control
// characters are shown escaped, so that the hint is one line a terminal shows.
std::string quoted(std::string_view text) {
    constexpr std::size_t longest = 24;
    const std::string whole = escapedText(text);
    if (elidedText(text, longest) == whole) return "\"" + whole + "\"";
    return "\"" + elidedText(text, longest - 1) + "\"";
}

} // namespace

std::string denominatorHint(double denom) {
    if (denom < static_cast<double>(denominatorLimit)) return {};
    return "D = " + plainNumberText(denom) + " does not fit register 2 (it must stay below " +
           std::to_string(denominatorLimit) + "): choose a coarser resolution";
}

std::string vcoRangeHint(double fvco, double fout, double rfMult, int outputDivider) {
    if (vcoInRange(fvco)) return {};
    const std::string head =
        "VCO " + format(fvco, "0.0####") + " MHz is outside the chip's 1900-4000 MHz: ";
    int best = 0;
    for (int divider = 1; divider <= highestOutputDivider; ++divider) {
        if (!vcoInRange(fout * divider / rfMult)) continue;
        if (best == 0 || std::abs(divider - outputDivider) < std::abs(best - outputDivider))
            best = divider;
    }
    if (best == 0) return head + "no output divider from 1 to 63 brings it in range";
    return head + "output divider " + std::to_string(best) + " brings it in range";
}

std::string partialNumberHint(std::string_view text) {
    if (text.find_first_not_of(" \t\n") == std::string_view::npos) return {};
    if (strictNumber(text)) return {};
    const std::string readAs = plainNumberText(val(text));
    if (text.find(',') != std::string_view::npos)
        return quoted(text) + " is read as " + readAs + ": use a point";
    return quoted(text) + " is read as " + readAs;
}

} // namespace kelvane
