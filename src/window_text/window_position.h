#pragma once
// The main window's position as the settings store keeps it: twips (1440 per
// inch) as single-precision values, written with strSingle().

#include <string>
#include <string_view>

namespace kelvane {

inline constexpr double twipsPerInch = 1440;

// val() of a stored text, taken to single precision; text without a number is 0.
float storedTwips(std::string_view text);

// The stored text of a position: strSingle() of the value (" 1500").
std::string twipsText(float twips);

// Screen pixels at the given logical resolution, rounded to the nearest
// pixel. Values far beyond any screen (or not finite) are held at +-1e6 pixels,
// which is still off every screen but cannot overflow a window coordinate.
int pixelsFromTwips(float twips, double dotsPerInch);

float twipsFromPixels(int pixels, double dotsPerInch);

} // namespace kelvane
