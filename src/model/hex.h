#pragma once
// Hexadecimal digits and register words as texts: the words the listing and
// the register lines carry, and the entries of the board's read-back answer.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

// The value of one hexadecimal digit, either case; -1 for any other character.
int hexDigitValue(char c);

// Upper-case hexadecimal digits without leading zeros; "0" for 0. A negative
// value is written as "-" and the digits of its magnitude.
std::string hexDigits(std::int64_t value);

// Exactly 8 upper-case hexadecimal digits for every value from -2^32 to
// 2^32 - 1, a negative value taken as value + 2^32. A value of 2^32 or more
// gives a longer text; it is not cut.
std::string hexWord(std::int64_t word);

// The word of a text of exactly 8 hexadecimal digits, either case.
std::optional<std::uint32_t> parseHexWord(std::string_view digits);

// A register entry as the board answers the read request: "0x", then the word
// as four bytes of two digits each, most significant first ("0x00 A8 73 03").
std::string boardEntry(std::uint32_t word);
inline constexpr std::string_view boardEntryMark = "0x";

// The word of the eleven characters after the mark ("00 A8 73 03"), with one
// character of any kind between bytes; nothing when a digit place holds no
// hexadecimal digit or the text is cut short.
std::optional<std::uint32_t> parseBoardEntry(std::string_view entry);

} // namespace kelvane
