#pragma once
// How the frequency-plan inputs turn what the user typed or chose into the
// plan's variables and the captions beside the inputs.

#include <string>
#include <string_view>

namespace kelvane {

// The VCO frequency for a wanted output frequency: fout * divider / rfMult.
double vcoFrequency(double fout, int outputDivider, double rfMult);

// The wanted resolution in Hz: val() of the text, 0 becoming 0.01 Hz so that the
// plan can still be formed.
double resolutionFrom(std::string_view text);

// The RF multiplication factor: val() of the text when it is above 0; otherwise
// the factor in force stays.
double multiplierFrom(std::string_view text, double previous);
// What Inputs::rfMultKept holds for this text while `inForce` is the factor in
// force: 1 when the text gives a factor of its own.
double keptMultiplier(std::string_view text, double inForce);

// The output frequency text that follows a new output divider while the VCO
// frequency stays: format(fvco / divider * rfMult, "###00.00###"), so 1160.125,
// 773.41667 and 1160.00.
std::string dividedOutputText(double fvco, int outputDivider, double rfMult);

// The comparison frequency in MHz as the Fc label shows it right after the
// reference is typed, before the recalculation writes it in kHz:
// str(val(referenceText) / r).
std::string comparisonPreviewCaption(std::string_view referenceText, int r);

// "R divider 5", "Output Divider 2".
std::string rDividerCaption(int r);
std::string outputDividerCaption(int outputDivider);

// Names the resolution input: the resolution is always the one at the final
// output, which a divider of 2 or more divides down from the VCO.
std::string outputResolutionCaption(int outputDivider);

} // namespace kelvane
