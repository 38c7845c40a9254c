#pragma once
// Number <-> text conversions used by every display, listing and command line.
// They behave the same in every locale: "." is always the decimal point and no
// digit grouping is ever written or read.

#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

// Reads the number at the start of a text, ignoring blanks, tabs and line feeds
// anywhere in it: an optional sign, digits with at most one ".", an optional
// exponent. Reading stops at the first character that does not fit. "&H" starts
// hexadecimal digits. No number at the start, or a number beyond the range of a
// double, gives 0.
double val(std::string_view text);

// Decimal text with at most 15 significant digits, no trailing zeros, no "0"
// before the point below 1, one leading blank for values >= 0 and "-" for
// negative ones: str(12) == " 12", str(0.5) == " .5", str(-3) == "-3".
// Magnitudes from 1e15 up, or below 1e-5, are written with an exponent
// (" 1E+15").
std::string str(double value);

// str() of a single-precision value: at most 7 significant digits, so that the
// float nearest to 0.1 reads " .1"; from 1e7 up with an exponent (" 1E+07").
std::string strSingle(float value);

// str() without its leading blank for non-negative values: "2320.24999".
std::string plainNumberText(double value);

// The whole text must be one decimal number (sign, fraction and exponent
// allowed, blanks around it allowed); anything else, or a number beyond the
// range of a double, gives no value.
std::optional<double> strictNumber(std::string_view text);

// Formats a number by a pattern of "0" and "#" placeholders with at most one
// ".". The number is first taken as its decimal text of 15 significant digits,
// which is then rounded half away from zero to as many decimals as the pattern
// has placeholders after the point. So format(2.675, "0.00") is "2.68".
std::string format(double value, std::string_view pattern);

} // namespace kelvane
