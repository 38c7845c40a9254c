#pragma once
// Reading a number field of the board tools (a kelvanectl option, a box of a
// dialog) the way the window reads its boxes: blanks are ignored and reading
// stops at the first character that does not fit, so "2320.25 MHz" is 2320.25.
// Unlike the window's boxes, a field without a number, or with a number the
// tool cannot use, is refused with one line that names the field and gives an
// example: "--step must be a number other than 0, for example 0.1".

#include <string>
#include <string_view>
#include <variant>

namespace kelvane {

enum class NumberRule {
    Any,
    NotZero,
    AboveZero,
    ZeroOrMore,
};

struct NumberField {
    std::string_view name;    // as the user knows the field: "--step", "Step"
    std::string_view example; // a value the tool takes: "0.1"
    NumberRule rule = NumberRule::Any;
};

// The number, or the line that refuses the text.
std::variant<double, std::string> readNumberField(const NumberField& field, std::string_view text);

} // namespace kelvane
