#pragma once
// The firmware of the virtual board: what it does with each line the host sends.
//
// Lines end at CR or LF (CR LF counts once; empty lines are ignored). The board
// answers every accepted line and every malformed one with one line ending in
// CR LF:
//
//   host                  board
//   R00000017             OK 00000017             register loaded into the chip
//   W                     OK W                    the next register line is stored too
//   R00000017             OK 00000017 stored      loaded and written to its EEPROM slot
//   init                  0x00 00 00 17           one entry per stored word, the four
//                         0x00 00 00 8D ...       bytes separated by single blanks, in
//                                                 transfer order (twelve lines)
//   R12                   ERR bad line            anything else, or a line over 64 bytes
//   W, then R0000000A     ERR no EE slot          the word is loaded but has no EEPROM
//                                                 slot (registers 10, 11, 14, 15)
//
// Hexadecimal digits are accepted in either case; replies use upper case.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvane::sim {

// Words by register address; the EEPROM has slots for 0 to 9, 12 and 13.
using Words = std::array<std::uint32_t, 16>;

bool hasEepromSlot(int address);

// The register set the window composes at start-up, which a new board holds.
Words startUpWords();

class Board {
public:
    explicit Board(const Words& eeprom = startUpWords());

    // Takes bytes as they arrive, in pieces of any size; returns the replies to
    // the lines they complete.
    std::string receive(std::string_view bytes);

    const Words& registers() const { return registers_; }
    const Words& eeprom() const { return eeprom_; }
    // Lines taken so far, malformed ones included, empty ones not.
    int lineCount() const { return lineCount_; }
    // True once after each write to the EEPROM.
    bool takeEepromChanged();

private:
    std::string handleLine(std::string_view line);

    Words registers_{};
    Words eeprom_{};
    std::string pending_;
    bool overlong_ = false;
    bool storeNext_ = false;
    bool eepromChanged_ = false;
    int lineCount_ = 0;
};

// "0x00 00 00 17" for every slot in transfer order, one per line.
std::string initAnswer(const Words& eeprom);

} // namespace kelvane::sim
