#pragma once
// The virtual board's EEPROM kept in a text file, so that a stored set survives
// a restart of the board: one word per line as eight hexadecimal digits, lines
// starting with "#" ignored. Each word goes to the slot its address nibble
// names; slots the file does not mention keep the start-up word.

#include <string>

#include "board.h"

namespace kelvane::sim {

// The words of the file, or the start-up set when it does not exist. Throws
// std::runtime_error naming the file and line when it cannot be used.
Words loadEeprom(const std::string& path);

// Replaces the file as a whole (written beside it, then renamed), so that a
// board stopped halfway leaves the previous file. Throws std::runtime_error.
void saveEeprom(const std::string& path, const Words& eeprom);

} // namespace kelvane::sim
