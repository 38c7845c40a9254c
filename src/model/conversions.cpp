#include "model/conversions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "model/hex.h"

namespace kelvane {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Parses "[-]digits[.digits][e[+-]digits]" (no '+' in front); nullopt when the
// value is beyond the range of a double.
std::optional<double> parseDecimal(std::string_view text) {
    double value = 0;
    const auto result =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (result.ec != std::errc() || !std::isfinite(value)) return std::nullopt;
    return value;
}

// The decimal number at the start of a text: an optional sign, digits with at
// most one ".", then an optional exponent mark with an optional sign and
// digits. val() and strictNumber() read the same grammar and differ only in what
// they make of a text that does not fit it.
struct ScannedNumber {
    std::string mantissa;               // for parseDecimal: "-" kept, "+" dropped
    std::string exponent;               // "e", its sign and digits; empty without digits
    bool mantissaDigits = false;        // the mantissa holds at least one digit
    bool exponentWithoutDigits = false; // an exponent mark not followed by digits
    std::size_t end = 0;                // the characters the number takes
};

ScannedNumber scanNumber(std::string_view text) {
    ScannedNumber n;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') n.mantissa.push_back('-');
        ++i;
    }
    bool point = false;
    for (; i < text.size(); ++i) {
        if (isDigit(text[i])) {
            n.mantissaDigits = true;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
        n.mantissa.push_back(text[i]);
    }
    n.end = i;
    if (!n.mantissaDigits || i == text.size() || (text[i] != 'e' && text[i] != 'E')) return n;
    std::string exponent = "e";
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent.push_back(text[j++]);
    const std::size_t firstDigit = j;
    while (j < text.size() && isDigit(text[j]))
        exponent.push_back(text[j++]);
    if (j == firstDigit) {
        n.exponentWithoutDigits = true;
        return n;
    }
    n.exponent = exponent;
    n.end = j;
    return n;
}

// The decimal digits of |value| rounded to a number of significant digits,
// trailing zeros removed. The first digit stands at 10^exponent. Zero gives
// digits "0" and exponent 0.
struct Decimal {
    std::string digits;
    int exponent = 0;
};

Decimal toDecimal(double value, int significantDigits) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, significantDigits - 1);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const auto ePos = text.find('e');
    Decimal d;
    for (char c : text.substr(0, ePos))
        if (isDigit(c)) d.digits.push_back(c);
    int exponent = 0;
    std::string_view expText = text.substr(ePos + 1);
    if (!expText.empty() && expText.front() == '+') expText.remove_prefix(1);
    std::from_chars(expText.data(), expText.data() + expText.size(), exponent);
    d.exponent = exponent;
    while (d.digits.size() > 1 && d.digits.back() == '0')
        d.digits.pop_back();
    if (d.digits == "0") d.exponent = 0;
    return d;
}

// Adds one unit in the last place of a string of decimal digits; may grow it.
void incrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

std::string nonFiniteText(double value) {
    if (std::isnan(value)) return "NaN";
    return value < 0 ? "-Infinity" : "Infinity";
}

// Decimal text with the given number of significant digits and no leading
// blank; an exponent from 10^significantDigits up and below 10^-5.
std::string plainText(double value, int significantDigits) {
    if (!std::isfinite(value)) return nonFiniteText(value);
    const Decimal d = toDecimal(value, significantDigits);
    std::string text = value < 0 && d.digits != "0" ? "-" : "";
    if (d.digits == "0") return "0";
    if (d.exponent >= significantDigits || d.exponent < -5) {
        text += d.digits.substr(0, 1);
        if (d.digits.size() > 1) text += "." + d.digits.substr(1);
        const int e = std::abs(d.exponent);
        text += d.exponent < 0 ? "E-" : "E+";
        if (e < 10) text += "0";
        text += std::to_string(e);
        return text;
    }
    if (d.exponent >= 0) {
        const auto intDigits = static_cast<std::size_t>(d.exponent) + 1;
        std::string digits = d.digits;
        if (digits.size() < intDigits) digits.append(intDigits - digits.size(), '0');
        text += digits.substr(0, intDigits);
        if (digits.size() > intDigits) text += "." + digits.substr(intDigits);
    } else {
        text += "." + std::string(static_cast<std::size_t>(-d.exponent - 1), '0') + d.digits;
    }
    return text;
}

} // namespace

double val(std::string_view text) {
    std::string s;
    s.reserve(text.size());
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n') s.push_back(c);

    if (s.size() >= 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h')) {
        double value = 0;
        for (std::size_t i = 2; i < s.size() && hexDigitValue(s[i]) >= 0; ++i)
            value = value * 16 + hexDigitValue(s[i]);
        return std::isfinite(value) ? value : 0.0;
    }

    const ScannedNumber number = scanNumber(s);
    if (!number.mantissaDigits) return 0.0;
    return parseDecimal(number.mantissa + number.exponent).value_or(0.0);
}

std::string plainNumberText(double value) {
    return plainText(value, 15);
}

std::string str(double value) {
    const std::string text = plainNumberText(value);
    return text.front() == '-' ? text : " " + text;
}

std::string strSingle(float value) {
    const std::string text = plainText(value, 7);
    return text.front() == '-' ? text : " " + text;
}

std::optional<double> strictNumber(std::string_view text) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);

    const ScannedNumber number = scanNumber(text);
    if (!number.mantissaDigits || number.exponentWithoutDigits || number.end != text.size())
        return std::nullopt;
    return parseDecimal(number.mantissa + number.exponent);
}

std::string format(double value, std::string_view pattern) {
    if (!std::isfinite(value)) return nonFiniteText(value);

    const auto pointPos = pattern.find('.');
    const bool hasPoint = pointPos != std::string_view::npos;
    const std::string_view intPattern = pattern.substr(0, pointPos);
    const std::string_view fracPattern =
        hasPoint ? pattern.substr(pointPos + 1) : std::string_view{};
    auto count = [](std::string_view p, auto pred) {
        return static_cast<std::size_t>(std::count_if(p.begin(), p.end(), pred));
    };
    const std::size_t intZeros = count(intPattern, [](char c) { return c == '0'; });
    const std::size_t fracMin = count(fracPattern, [](char c) { return c == '0'; });
    const std::size_t fracMax = count(fracPattern, [](char c) { return c == '0' || c == '#'; });

    // Split the 15-digit decimal text into integer and fraction digits.
    const Decimal d = toDecimal(value, 15);
    std::string intDigits;
    std::string fracDigits;
    if (d.digits == "0") {
        // nothing: both parts are zero
    } else if (d.exponent >= 0) {
        const auto intCount = static_cast<std::size_t>(d.exponent) + 1;
        std::string digits = d.digits;
        if (digits.size() < intCount) digits.append(intCount - digits.size(), '0');
        intDigits = digits.substr(0, intCount);
        fracDigits = digits.substr(intCount);
    } else {
        fracDigits = std::string(static_cast<std::size_t>(-d.exponent - 1), '0') + d.digits;
    }

    // Round half away from zero on the decimal digits themselves.
    if (fracDigits.size() > fracMax) {
        const bool roundUp = fracDigits[fracMax] >= '5';
        fracDigits.resize(fracMax);
        if (roundUp) {
            std::string all = intDigits + fracDigits;
            const std::size_t before = all.size();
            incrementDigits(all);
            const std::size_t intCount = intDigits.size() + (all.size() - before);
            intDigits = all.substr(0, intCount);
            fracDigits = all.substr(intCount);
        }
    }

    intDigits.erase(0, std::min(intDigits.find_first_not_of('0'), intDigits.size()));
    if (intDigits.size() < intZeros) intDigits.insert(0, intZeros - intDigits.size(), '0');
    while (fracDigits.size() > fracMin && fracDigits.back() == '0')
        fracDigits.pop_back();
    if (fracDigits.size() < fracMin) fracDigits.append(fracMin - fracDigits.size(), '0');

    std::string text = value < 0 ? "-" : "";
    text += intDigits;
    if (hasPoint) text += "." + fracDigits;
    return text;
}

} // namespace kelvane
