#include "modes/beacon_encoders.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <sstream>

namespace kelvane::beacon {
namespace {

constexpr std::string_view pi4Sync =
    "00100111101010100100010001100111100111110011011110101101101000"
    "00111110101000001111101001001010000100110000011000011001110111"
    "0110101010000111000011";
constexpr std::string_view jt4Sync =
    "00011000110110010100000001100000000000010110110101111101000100"
    "10011111000101000111101100100011010101010111110101011010101110"
    "01011011110000110110001110111011100100011011001000111111001100"
    "00110001011011110101";
constexpr std::string_view wsprSync =
    "11000000100011100010010111100000001001010000001011001101000110"
    "10000110101010100100101100011010100010000010010011101100110100"
    "01110000010100110000000110101100011000";

constexpr std::uint32_t poly1 = 0xF2D05351;
constexpr std::uint32_t poly2 = 0xE4613C47;

int parity(std::uint32_t value) {
    return __builtin_popcount(value) & 1;
}

// Source bits most significant first, each value given with its width.
struct BitField {
    std::uint64_t value;
    int width;
};

Symbols channelSymbols(std::initializer_list<BitField> fields, std::string_view sync) {
    std::vector<int> source;
    for (const auto& field : fields)
        for (int bit = field.width - 1; bit >= 0; --bit)
            source.push_back(static_cast<int>((field.value >> bit) & 1));
    source.insert(source.end(), 31, 0);

    std::vector<int> coded;
    std::uint32_t shiftRegister = 0;
    for (int bit : source) {
        shiftRegister = (shiftRegister << 1) | static_cast<std::uint32_t>(bit);
        coded.push_back(parity(shiftRegister & poly1));
        coded.push_back(parity(shiftRegister & poly2));
    }

    const std::size_t count = sync.size();
    std::vector<int> data(count);
    std::size_t next = 0;
    for (unsigned i = 0; i < 256 && next < coded.size(); ++i) {
        unsigned j = 0;
        for (int bit = 0; bit < 8; ++bit)
            if (i & (1u << bit)) j |= 0x80u >> bit;
        if (j < count) data[j] = coded[next++];
    }
    Symbols symbols(count);
    for (std::size_t j = 0; j < count; ++j)
        symbols[j] = (sync[j] - '0') + 2 * data[j];
    return symbols;
}

std::string upper(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

// The character's value in an alphabet of digits, letters and then `extra`;
// -1 when it has none.
int alphabetValue(char c, std::string_view extra) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    const auto at = extra.find(c);
    return at == std::string_view::npos ? -1 : 36 + static_cast<int>(at);
}

EncodeRefusal badCharacter(std::string_view field, char c, std::string_view rule) {
    std::string shown = std::isprint(static_cast<unsigned char>(c)) ? std::string(1, c) : "?";
    return {std::string(field) + ": \"" + shown + "\" is not allowed; " + std::string(rule)};
}

} // namespace

Encoded encodePi4(std::string_view callText) {
    constexpr std::string_view rule = "a PI4 call has up to 8 characters 0-9, A-Z, blank and /";
    const std::string call = upper(callText);
    if (call.empty() || call.size() > 8)
        return EncodeRefusal{"PI4 message: " + std::to_string(call.size()) + " characters; " +
                             std::string(rule)};
    std::uint64_t n = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        const char c = i < call.size() ? call[i] : ' ';
        const int value = alphabetValue(c, " /");
        if (value < 0) return badCharacter("PI4 message", c, rule);
        n = n * 38 + static_cast<std::uint64_t>(value);
    }
    return channelSymbols({{n, 42}}, pi4Sync);
}

Encoded encodeJt4(std::string_view textIn) {
    constexpr std::string_view rule =
        "JT4 free text has up to 13 characters 0-9, A-Z, blank and + - . / ?";
    const std::string text = upper(textIn);
    if (text.empty() || text.size() > 13)
        return EncodeRefusal{"JT4 message: " + std::to_string(text.size()) + " characters; " +
                             std::string(rule)};
    std::array<std::uint64_t, 3> parts{};
    for (std::size_t i = 0; i < 13; ++i) {
        const char c = i < text.size() ? text[i] : ' ';
        const int value = alphabetValue(c, " +-./?");
        if (value < 0) return badCharacter("JT4 message", c, rule);
        auto& part = parts[i < 5 ? 0 : i < 10 ? 1 : 2];
        part = part * 42 + static_cast<std::uint64_t>(value);
    }
    const std::uint64_t c = parts[2];
    const std::uint64_t a = 2 * parts[0] + ((c >> 15) & 1);
    const std::uint64_t b = 2 * parts[1] + ((c >> 16) & 1);
    const std::uint64_t g = (c & 32767) + 32768;
    return channelSymbols({{a, 28}, {b, 28}, {g, 16}}, jt4Sync);
}

Encoded encodeWspr(std::string_view messageIn) {
    std::istringstream words{upper(messageIn)};
    std::string call, grid, power, extra;
    words >> call >> grid >> power;
    if (power.empty() || (words >> extra))
        return EncodeRefusal{"WSPR message: give three fields, \"CALL GRID dBm\", such as "
                             "\"K1ABC FN42 37\""};

    constexpr std::string_view callRule =
        "a WSPR call has up to 6 letters and digits with a digit third (second for a call "
        "such as K1ABC)";
    if (call.size() >= 2 && std::isdigit(static_cast<unsigned char>(call[1]))) call = " " + call;
    if (call.size() > 6 || call.size() < 3 || !std::isdigit(static_cast<unsigned char>(call[2])))
        return EncodeRefusal{"WSPR call: \"" + call + "\"; " + std::string(callRule)};
    call.resize(6, ' ');
    std::array<int, 6> v{};
    for (std::size_t i = 0; i < 6; ++i) {
        v[i] = alphabetValue(call[i], " ");
        const bool digitOnly = i == 2;
        const bool letterOrBlank = i >= 3;
        if (v[i] < 0 || (digitOnly && v[i] > 9) || (letterOrBlank && v[i] >= 0 && v[i] < 10) ||
            (i == 1 && v[i] == 36))
            return badCharacter("WSPR call", call[i], callRule);
    }
    std::uint64_t n = static_cast<std::uint64_t>(v[0]);
    n = n * 36 + static_cast<std::uint64_t>(v[1]);
    n = n * 10 + static_cast<std::uint64_t>(v[2]);
    for (std::size_t i = 3; i < 6; ++i)
        n = n * 27 + static_cast<std::uint64_t>(v[i] - 10);

    const bool gridShape = grid.size() == 4 && grid[0] >= 'A' && grid[0] <= 'R' && grid[1] >= 'A' &&
                           grid[1] <= 'R' && std::isdigit(static_cast<unsigned char>(grid[2])) &&
                           std::isdigit(static_cast<unsigned char>(grid[3]));
    if (!gridShape)
        return EncodeRefusal{"WSPR grid: \"" + grid +
                             "\"; a grid is two letters A-R and two digits, such as FN42"};
    const std::uint64_t m1 =
        static_cast<std::uint64_t>(179 - 10 * (grid[0] - 'A') - (grid[2] - '0')) * 180 +
        static_cast<std::uint64_t>(10 * (grid[1] - 'A') + (grid[3] - '0'));

    int dbm = -1;
    if (power.size() <= 2 && std::isdigit(static_cast<unsigned char>(power[0])) &&
        std::isdigit(static_cast<unsigned char>(power.back())))
        dbm = std::stoi(power);
    const int last = dbm % 10;
    if (dbm < 0 || dbm > 60 || (last != 0 && last != 3 && last != 7))
        return EncodeRefusal{"WSPR power: \"" + power +
                             "\"; the power is 0 to 60 dBm ending in 0, 3 or 7"};
    const std::uint64_t m = 128 * m1 + static_cast<std::uint64_t>(dbm) + 64;
    return channelSymbols({{n, 28}, {m, 22}}, wsprSync);
}

double jt4ToneSpacingHz(char submode) {
    constexpr std::string_view letters = "ABCDEFG";
    constexpr std::array<int, 7> factors{1, 2, 4, 9, 18, 36, 72};
    const auto at =
        letters.find(static_cast<char>(std::toupper(static_cast<unsigned char>(submode))));
    return at == std::string_view::npos ? 0 : jt4BaseSpacingHz * factors[at];
}

CwKeying encodeCw(std::string_view textIn) {
    static const std::array<std::string_view, 36> alphanumeric{
        "-----", ".----", "..---", "...--", "....-", ".....", "-....", "--...", "---..",
        "----.", ".-",    "-...",  "-.-.",  "-..",   ".",     "..-.",  "--.",   "....",
        "..",    ".---",  "-.-",   ".-..",  "--",    "-.",    "---",   ".--.",  "--.-",
        ".-.",   "...",   "-",     "..-",   "...-",  ".--",   "-..-",  "-.--",  "--.."};
    struct Sign {
        char c;
        std::string_view code;
    };
    static constexpr std::array<Sign, 5> signs{
        {{'/', "-..-."}, {'?', "..--.."}, {'.', ".-.-.-"}, {',', "--..--"}, {'=', "-...-"}}};

    const std::string text = upper(textIn);
    std::vector<KeySpan> spans;
    auto add = [&spans](bool down, int dots) {
        if (!spans.empty() && spans.back().down == down)
            spans.back().dots = std::max(spans.back().dots, dots);
        else
            spans.push_back({down, dots});
    };
    for (char c : text) {
        if (c == ' ') {
            if (!spans.empty()) add(false, 7);
            continue;
        }
        std::string_view code;
        const int value = alphabetValue(c, "");
        if (value >= 0) code = alphanumeric[static_cast<std::size_t>(value)];
        for (const auto& sign : signs)
            if (sign.c == c) code = sign.code;
        if (code.empty())
            return badCharacter("CW message", c, "CW sends letters, digits, / ? . , = and blanks");
        if (!spans.empty()) add(false, 3);
        for (std::size_t i = 0; i < code.size(); ++i) {
            if (i > 0) add(false, 1);
            add(true, code[i] == '-' ? 3 : 1);
        }
    }
    if (!spans.empty() && !spans.back().down) spans.pop_back();
    if (spans.empty()) return EncodeRefusal{"CW message: empty; give the text to send"};
    return spans;
}

} // namespace kelvane::beacon
