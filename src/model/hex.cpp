#include "model/hex.h"

namespace kelvane {
namespace {

// The word of the digits at these places of a text; nothing when one of them
// holds no hexadecimal digit.
template <std::size_t Count>
std::optional<std::uint32_t> wordAt(std::string_view text, const std::size_t (&places)[Count]) {
    std::uint32_t word = 0;
    for (std::size_t place : places) {
        if (place >= text.size()) return std::nullopt;
        const int digit = hexDigitValue(text[place]);
        if (digit < 0) return std::nullopt;
        word = word * 16 + static_cast<std::uint32_t>(digit);
    }
    return word;
}

} // namespace

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string hexDigits(std::int64_t value) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::uint64_t magnitude =
        value < 0 ? ~static_cast<std::uint64_t>(value) + 1 : static_cast<std::uint64_t>(value);
    std::string text;
    do {
        text.insert(text.begin(), digits[magnitude % 16]);
        magnitude /= 16;
    } while (magnitude != 0);
    return value < 0 ? "-" + text : text;
}

std::string hexWord(std::int64_t word) {
    if (word < 0) word += 4294967296;
    const std::int64_t high = word >= 0 ? word / 65536 : -((-word + 65535) / 65536);
    const std::int64_t low = word - 65536 * high;
    std::string lowText = hexDigits(low);
    if (lowText.size() < 4) lowText.insert(0, 4 - lowText.size(), '0');
    std::string text = hexDigits(high) + lowText;
    if (text.size() < 8) text.insert(0, 8 - text.size(), '0');
    return text;
}

std::optional<std::uint32_t> parseHexWord(std::string_view digits) {
    static constexpr std::size_t places[] = {0, 1, 2, 3, 4, 5, 6, 7};
    if (digits.size() != 8) return std::nullopt;
    return wordAt(digits, places);
}

std::string boardEntry(std::uint32_t word) {
    const std::string h = hexWord(word);
    return std::string(boardEntryMark) + h.substr(0, 2) + " " + h.substr(2, 2) + " " +
           h.substr(4, 2) + " " + h.substr(6, 2);
}

std::optional<std::uint32_t> parseBoardEntry(std::string_view entry) {
    static constexpr std::size_t places[] = {0, 1, 3, 4, 6, 7, 9, 10};
    return wordAt(entry, places);
}

} // namespace kelvane
