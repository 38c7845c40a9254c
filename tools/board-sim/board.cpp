#include "board.h"

#include <cstdio>

#include "model/control_state.h"
#include "model/recalculation.h"

namespace kelvane::sim {
namespace {

constexpr std::size_t longestLine = 64;

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// "R" and exactly eight hexadecimal digits.
bool readRegisterLine(std::string_view line, std::uint32_t& word) {
    if (line.size() != 9 || line[0] != 'R') return false;
    word = 0;
    for (char c : line.substr(1)) {
        const int digit = hexDigit(c);
        if (digit < 0) return false;
        word = word * 16 + static_cast<std::uint32_t>(digit);
    }
    return true;
}

std::string hex8(std::uint32_t word) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", word);
    return text;
}

} // namespace

bool hasEepromSlot(int address) {
    return address <= 9 || address == 12 || address == 13;
}

Words startUpWords() {
    const ControlState controls;
    const auto outcome = recalculate(planInputsFrom(controls), loopSettingsFrom(controls));
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
    std::uint32_t word = 0;
    if (!readRegisterLine(line, word)) return "ERR bad line\r\n";
    const int address = static_cast<int>(word & 0xF);
    registers_[static_cast<std::size_t>(address)] = word;
    if (!store) return "OK " + hex8(word) + "\r\n";
    if (!hasEepromSlot(address)) return "ERR no EE slot\r\n";
    eeprom_[static_cast<std::size_t>(address)] = word;
    eepromChanged_ = true;
    return "OK " + hex8(word) + " stored\r\n";
}

std::string initAnswer(const Words& eeprom) {
    std::string text;
    for (int address : transferOrder) {
        const std::string h = hex8(eeprom[static_cast<std::size_t>(address)]);
        text += "0x" + h.substr(0, 2) + " " + h.substr(2, 2) + " " + h.substr(4, 2) + " " +
                h.substr(6, 2) + "\r\n";
    }
    return text;
}

} // namespace kelvane::sim
