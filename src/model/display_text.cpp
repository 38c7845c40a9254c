#include "model/display_text.h"

#include <vector>

namespace kelvane {
namespace {

constexpr std::string_view replacement = "\xEF\xBF\xBD"; // U+FFFD

// The length of the well-formed UTF-8 sequence at the start of `bytes`, or 0.
// Overlong forms, surrogates and code points beyond U+10FFFF are not well-formed.
std::size_t sequenceLength(std::string_view bytes) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the range of the second byte
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else
        return 0;
    if (bytes.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return length;
}

std::string hexEscape(const char* prefix, unsigned value, int digits) {
    constexpr char hex[] = "0123456789abcdef";
    std::string text = prefix;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        text.push_back(hex[(value >> shift) & 0xF]);
    return text;
}

std::string escapedControl(unsigned char c) {
    switch (c) {
    case '\0':
        return "\\0";
    case '\t':
        return "\\t";
    case '\n':
        return "\\n";
    case '\r':
        return "\\r";
    default:
        return hexEscape("\\x", c, 2);
    }
}

// Calls `take` with the shown form of each character of `bytes` in turn until
// it returns false.
template <typename Take> void forEachShown(std::string_view bytes, Take take) {
    while (!bytes.empty()) {
        const std::size_t length = sequenceLength(bytes);
        std::string shown;
        const auto c = static_cast<unsigned char>(bytes[0]);
        if (length == 0)
            shown = replacement;
        else if (c < 0x20 || c == 0x7F)
            shown = escapedControl(c);
        else if (c == 0xC2 && static_cast<unsigned char>(bytes[1]) < 0xA0)
            shown = hexEscape("\\u", static_cast<unsigned char>(bytes[1]), 4);
        else
            shown = bytes.substr(0, length);
        if (!take(shown)) return;
        bytes.remove_prefix(length == 0 ? 1 : length);
    }
}

} // namespace

std::string escapedText(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    forEachShown(bytes, [&text](const std::string& shown) {
        text += shown;
        return true;
    });
    return text;
}

std::string elidedText(std::string_view bytes, std::size_t longest) {
    constexpr std::string_view mark = "...";
    // An escape is as wide as the characters it shows; any other piece is one character.
    const auto width = [](const std::string& shown) {
        return shown.front() == '\\' ? shown.size() : std::size_t{1};
    };
    std::vector<std::string> pieces;
    std::size_t characters = 0;
    bool cut = false;
    forEachShown(bytes, [&](const std::string& shown) {
        if (characters + width(shown) > longest) {
            cut = true;
            return false;
        }
        pieces.push_back(shown);
        characters += width(shown);
        return true;
    });
    // Room for the mark: whole pieces come off the end.
    while (cut && !pieces.empty() && characters + mark.size() > longest) {
        characters -= width(pieces.back());
        pieces.pop_back();
    }
    std::string text;
    for (const std::string& piece : pieces)
        text += piece;
    return cut ? text + std::string(mark) : text;
}

} // namespace kelvane
