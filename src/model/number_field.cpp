#include "model/number_field.h"

#include <cmath>

#include "model/conversions.h"

namespace kelvane {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isHexDigit(char c) {
    return isDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// Whether val() finds a number at the start of the text rather than giving 0
// for the lack of one.
bool startsWithNumber(std::string_view text) {
    std::string s;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n') s.push_back(c);
    if (s.size() >= 3 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h')) return isHexDigit(s[2]);
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    if (i < s.size() && s[i] == '.') ++i;
    return i < s.size() && isDigit(s[i]);
}

std::string_view ruleWords(NumberRule rule) {
    switch (rule) {
    case NumberRule::NotZero:
        return " other than 0";
    case NumberRule::AboveZero:
        return " above 0";
    case NumberRule::ZeroOrMore:
        return " of 0 or more";
    case NumberRule::Any:
        break;
    }
    return "";
}

bool allowed(double value, NumberRule rule) {
    switch (rule) {
    case NumberRule::NotZero:
        return value != 0;
    case NumberRule::AboveZero:
        return value > 0;
    case NumberRule::ZeroOrMore:
        return value >= 0;
    case NumberRule::Any:
        break;
    }
    return true;
}

} // namespace

std::variant<double, std::string> readNumberField(const NumberField& field, std::string_view text) {
    const double value = val(text);
    if (startsWithNumber(text) && std::isfinite(value) && allowed(value, field.rule)) return value;
    return std::string(field.name) + " must be a number" + std::string(ruleWords(field.rule)) +
           ", for example " + std::string(field.example);
}

} // namespace kelvane
