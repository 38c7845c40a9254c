#pragma once
// One register word as a PIC data-EEPROM declaration: four bytes, most
// significant first.

#include <cstdint>
#include <string>

#include "model/registers.h"

namespace kelvane {

// "   de  0x04, 0xF4, 0x24, 0x02" for 0x04F42402: always 29 characters.
// Throws std::out_of_range for a word that does not fit, which four bytes
// cannot hold; callers check fitsRegisterWord() first.
std::string eeHexData(std::int64_t word);

} // namespace kelvane
