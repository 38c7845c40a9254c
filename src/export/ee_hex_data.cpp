#include "export/ee_hex_data.h"

#include <stdexcept>

#include "model/hex.h"
#include "model/registers.h"

namespace kelvane {

std::string eeHexData(std::int64_t word) {
    if (!fitsRegisterWord(word))
        throw std::out_of_range("register word " + hexWord(word) + " does not fit in 32 bits");
    const std::string h = hexWord(word);
    return "   de  0x" + h.substr(0, 2) + ", 0x" + h.substr(2, 2) + ", 0x" + h.substr(4, 2) +
           ", 0x" + h.substr(6, 2);
}

} // namespace kelvane
