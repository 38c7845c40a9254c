#pragma once
// One-line hints for what a plan display shows only by colour or not at all:
// a denominator too wide for its field, a VCO outside the chip's range and
// which output divider brings it back, a number text read only in part. The
// window shows them in its status line and kelvanectl as warnings.

#include <string>
#include <string_view>

namespace kelvane {

// Empty when D fits its 22-bit field (below 4194304).
std::string denominatorHint(double denom);

// Empty when the VCO lies within 1900 ... 4000 MHz. Otherwise names the output
// divider, nearest to the one in use, that brings the VCO for the same output
// frequency into range, or says that none from 1 to 63 does.
std::string vcoRangeHint(double fvco, double fout, double rfMult, int outputDivider);

// Empty when the text is one number, or holds nothing but blanks. Otherwise
// says what the text is read as: "\"2320,25\" is read as 2320: use a point".
std::string partialNumberHint(std::string_view text);

} // namespace kelvane
