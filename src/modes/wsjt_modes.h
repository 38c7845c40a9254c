#pragma once
// The WSJT mode selector: each value of the selector names a digital mode and
// sets the output resolution to that mode's tone spacing, so that one step of
// the fractional numerator is one tone.

#include <string>
#include <string_view>

namespace kelvane {

inline constexpr int wsjtModeMin = 0;
inline constexpr int wsjtModeMax = 15;

// The caption of the mode label before any mode has been chosen.
inline constexpr std::string_view wsjtStartCaption = "WSJT Mode Step";
// The caption for the plain resolution, also shown after a click into the
// resolution box.
inline constexpr std::string_view wsjtDefaultCaption = "MFSK Mode";

struct WsjtModeSelection {
    int value;           // the selector's value; 0 for every value outside 1 ... 15
    std::string caption; // the mode label's caption
    double step;         // the mode's tone spacing, Hz
    std::string resText; // the text the selector writes into the resolution box
};

// The selection for a selector value. Values outside 1 ... 15 fall back to the
// plain 10 Hz resolution, with the selector set back to 0.
WsjtModeSelection selectWsjtMode(int value);

// A resolution text as the selector writes it: at most six decimals, trailing
// zeros dropped, the point always written ("35.", "2.69165").
std::string resolutionText(double stepHz);

} // namespace kelvane
