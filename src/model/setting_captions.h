#pragma once
// The texts that the loop and output setting controls show for their values.
// Each scroll bar writes its label, the polarity box its own caption.

#include <array>
#include <optional>
#include <string>

namespace kelvane {

// Texts of the multiplexed-output selection, indexed by the Mux value 0 ... 13.
inline constexpr std::array<const char*, 14> muxCaptions{
    "Mux Disabled",
    "Mux High",
    "Mux Low",
    "Dig Lock Det",
    "Dig Lock Det - Inv",
    "O/Drain Dig Lock Det",
    "O/Drain Analogue Lock Det",
    "Analogue Lock Det",
    "N Divider",
    "N Divider /2",
    "R Divider",
    "R Divider /2",
    "PFD Up",
    "PFD Down",
};

// Texts of the modulator dither, indexed by the Dither value 0 ... 3.
inline constexpr std::array<const char*, 4> ditherCaptions{" Weak Dither", " Medium Dither",
                                                           " Strong Dither", " No Dither"};

// The charge pump gain label: the gain is the value plus 1, " 1" ... " 32".
std::string chargePumpGainCaption(int value);

// The polarity box's own caption: "+ CPP" when checked, "-- CPP" when not.
std::string chargePumpPolarityCaption(bool positive);

// The dither and mux labels: no text for a value outside the table, in which
// case the label keeps what it shows.
std::optional<std::string> ditherCaption(int value);
std::optional<std::string> muxCaption(int value);

// The order label: "Order " and str(value), so two blanks stand before the digit.
std::string orderCaption(int value);

// The output termination, VCO gain and divider gain labels: str(value) and
// the setting's name.
std::string outTermCaption(int value);
std::string vcoGainCaption(int value);
std::string divGainCaption(int value);

} // namespace kelvane
