#include "board.h"

#include <optional>

#include "model/hex.h"
#include "model/recalculation.h"

namespace kelvane::sim {
namespace {

constexpr std::size_t longestLine = 64;

// "R" and exactly eight hexadecimal digits.
std::optional<std::uint32_t> readRegisterLine(std::string_view line) {
    if (line.empty() || line[0] != 'R') return std::nullopt;
    return parseHexWord(line.substr(1));
}

} // namespace

bool hasEepromSlot(int address) {
    return address <= 9 || address == 12 || address == 13;
}

Words startUpWords() {
    const Inputs inputs;
    const auto outcome = recalculate(inputs, planVariablesFrom(inputs));
    const auto& image = std::get<Recalculation>(outcome).registers;
    Words words{};
    for (int address : transferOrder)
        words[static_cast<std::size_t>(address)] = static_cast<std::uint32_t>(image[address]);
    return words;
}

Board::Board(const Words& eeprom) : registers_(eeprom), eeprom_(eeprom) {}

std::string Board::receive(std::string_view bytes) {
    std::string replies;
    for (char c : bytes) {
        if (c == '\r' || c == '\n') {
            if (overlong_) {
                ++lineCount_;
                replies += "ERR bad line\r\n";
            } else if (!pending_.empty()) {
                ++lineCount_;
                replies += handleLine(pending_);
            }
            pending_.clear();
            overlong_ = false;
        } else if (pending_.size() < longestLine) {
            pending_.push_back(c);
        } else {
            overlong_ = true;
        }
    }
    return replies;
}

bool Board::takeEepromChanged() {
    const bool changed = eepromChanged_;
    eepromChanged_ = false;
    return changed;
}

std::string Board::handleLine(std::string_view line) {
    const bool store = storeNext_;
    storeNext_ = false;
    if (line == "W") {
        storeNext_ = true;
        return "OK W\r\n";
    }
    if (line == "init") return initAnswer(eeprom_);
    const auto read = readRegisterLine(line);
    if (!read) return "ERR bad line\r\n";
    const std::uint32_t word = *read;
    const int address = static_cast<int>(word & 0xF);
    registers_[static_cast<std::size_t>(address)] = word;
    if (!store) return "OK " + hexWord(word) + "\r\n";
    if (!hasEepromSlot(address)) return "ERR no EE slot\r\n";
    eeprom_[static_cast<std::size_t>(address)] = word;
    eepromChanged_ = true;
    return "OK " + hexWord(word) + " stored\r\n";
}

std::string initAnswer(const Words& eeprom) {
    std::string text;
    for (int address : transferOrder)
        text += boardEntry(eeprom[static_cast<std::size_t>(address)]) + "\r\n";
    return text;
}

} // namespace kelvane::sim
