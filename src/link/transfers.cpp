#include "link/transfers.h"

#include "model/hex.h"

namespace kelvane::link {

QByteArray registerLine(std::int64_t word) {
    return "R" + QByteArray::fromStdString(hexWord(word)) + "\r\n";
}

bool sendAllRegisters(SerialLink& link, const RegisterSource& image) {
    for (int address : transferOrder)
        if (!link.waitResponse(registerLine(image()[address]))) return false;
    return true;
}

bool sendFrequencyRegisters(SerialLink& link, const RegisterSource& image) {
    for (int address : {2, 1, 0})
        if (!link.waitResponse(registerLine(image()[address]))) return false;
    return true;
}

bool storeAllRegisters(SerialLink& link, const RegisterSource& image) {
    for (int address : transferOrder) {
        // Both copies are one line: a change during the pause between them
        // must not leave the chip and the EEPROM holding different words.
        const QByteArray line = registerLine(image()[address]);
        if (!link.waitResponse(line)) return false;
        link.write(storeMark);
        if (!link.waitResponse(line)) return false;
    }
    return true;
}

bool requestStoredSet(SerialLink& link) {
    link.write(readRequest);
    return link.pause(readBackPause);
}

} // namespace kelvane::link
