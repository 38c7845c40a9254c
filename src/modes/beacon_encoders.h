#pragma once
// Channel symbols of the beacon modes: a message packed into a whole number,
// protected by a rate 1/2, constraint length 32 convolutional code, spread by
// a bit-reversal interleaver and merged with the mode's sync vector into tone
// numbers 0 ... 3 (tone 0 the lowest). And the key timing of CW.
//
//   encodePi4("OZ7IGY")          146 symbols: 2 0 1 0 0 3 3 3 ...
//   encodeJt4("OZ7IGY JO55")     206 symbols: 2 2 0 1 1 2 0 0 ...
//   encodeWspr("K1ABC FN42 37")  162 symbols: 3 3 0 0 2 0 0 0 ...
//
// A message a mode cannot carry gets one line naming the field and the rule.

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kelvane::beacon {

using Symbols = std::vector<int>;

struct EncodeRefusal {
    std::string line;
};

using Encoded = std::variant<Symbols, EncodeRefusal>;

inline constexpr double pi4SymbolSeconds = 1.0 / 6;
inline constexpr double pi4ToneSpacingHz = 40 * 12000.0 / 2048;
inline constexpr double jt4SymbolSeconds = 2520.0 / 11025;
inline constexpr double jt4BaseSpacingHz = 4.375;
inline constexpr double wsprSymbolSeconds = 8192.0 / 12000;
inline constexpr double wsprToneSpacingHz = 12000.0 / 8192;

// A call sign of up to eight characters 0-9, A-Z, blank and "/"; lower case
// is taken as upper case.
Encoded encodePi4(std::string_view call);
// Free text of up to 13 characters 0-9, A-Z, blank and "+ - . / ?".
Encoded encodeJt4(std::string_view text);
// "CALL GRID dBm": a call of up to six characters with a digit third (after a
// leading blank when its second character is the digit), a four-character
// grid AA00 ... RR99, and a power of 0 ... 60 dBm ending in 0, 3 or 7.
Encoded encodeWspr(std::string_view message);

// JT4's tone spacing for sub-mode 'A' ... 'G'; 0 for any other letter.
double jt4ToneSpacingHz(char submode);

// CW: the key as a list of alternating key-down and key-up spans, each a
// whole number of dots, starting key-down. Letters, digits, "/ ? . , =" and
// blanks (a word gap); nothing else.
struct KeySpan {
    bool down = false;
    int dots = 0;
};
using CwKeying = std::variant<std::vector<KeySpan>, EncodeRefusal>;
CwKeying encodeCw(std::string_view text);

// One dot at this speed, seconds (the word PARIS: 1.2 / WPM).
inline double cwDotSeconds(double wpm) {
    return 1.2 / wpm;
}

} // namespace kelvane::beacon
