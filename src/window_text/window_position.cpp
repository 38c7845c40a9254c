#include "window_text/window_position.h"

#include <algorithm>
#include <cmath>

#include "model/conversions.h"

namespace kelvane {

float storedTwips(std::string_view text) {
    return static_cast<float>(val(text));
}

std::string twipsText(float twips) {
    return strSingle(twips);
}

int pixelsFromTwips(float twips, double dotsPerInch) {
    constexpr double farOff = 1e6;
    const double pixels = twips * dotsPerInch / twipsPerInch;
    if (std::isnan(pixels)) return 0;
    return static_cast<int>(std::lround(std::clamp(pixels, -farOff, farOff)));
}

float twipsFromPixels(int pixels, double dotsPerInch) {
    return static_cast<float>(pixels * twipsPerInch / dotsPerInch);
}

} // namespace kelvane
