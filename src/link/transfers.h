#pragma once
// The commands the board's firmware takes, and the sequences that send the
// register image with them.
//
// Every command is a line of ASCII text ending in CR LF:
//   - a register line, "R" and the word as 8 upper-case hexadecimal digits:
//     "R04F42402\r\n" is the bytes 52 30 34 46 34 32 34 30 32 0D 0A;
//   - the store mark "W\r\n": the board also writes the register line that
//     follows it to its EEPROM;
//   - the read request "init\r\n": the board answers with one entry per stored
//     word, "0x" and four bytes ("0x04 F4 24 02"; see model/readback.h).
// The host waits just over 50 ms after every register line, and nothing after a
// store mark. Replies are shown, never awaited or checked.
//
// A sample exchange: "Store to EE" with the start-up set, as it passes the
// wire (| marks a pause of just over 50 ms; the replies are those of
// kelvane-board-sim, a real board's firmware may answer differently):
//
//   host -> board                          board -> host
//   R00000017\r\n |                        OK 00000017\r\n
//   W\r\nR00000017\r\n |                   OK W\r\nOK 00000017 stored\r\n
//   R0000008D\r\n |                        OK 0000008D\r\n
//   W\r\nR0000008D\r\n |                   OK W\r\nOK 0000008D stored\r\n
//   ... the same for registers 12, 9, 8, 6, 5, 4, 3, 2, 1 ...
//   R61A80E80\r\n |                        OK 61A80E80\r\n
//   W\r\nR61A80E80\r\n |                   OK W\r\nOK 61A80E80 stored\r\n
//
// and "Init from EE" afterwards:
//
//   init\r\n  (1.5 s)                      0x00 00 00 17\r\n 0x00 00 00 8D\r\n ...
//                                          0x61 A8 0E 80\r\n
//
// Each word's line is built from the register image when the word's turn
// comes, so when another transfer runs inside a pause of this one, the board
// still ends up with the newest words. Store to EE builds a word's line once
// and sends that same line before and after the store mark, so the chip and
// the EEPROM always get the same word.

#include <QByteArray>
#include <cstdint>
#include <functional>

#include "link/serial_link.h"
#include "model/registers.h"

namespace kelvane::link {

// The register image as it is now; asked again for every word.
using RegisterSource = std::function<RegisterImage()>;

inline const QByteArray storeMark = "W\r\n";
inline const QByteArray readRequest = "init\r\n";

QByteArray registerLine(std::int64_t word);

// Each returns true when the whole sequence went out, false when it stopped
// early because the link closed or the application is quitting.

// "Update all registers": the twelve words in transfer order.
bool sendAllRegisters(SerialLink& link, const RegisterSource& image);
// "Quick Freq Update": Reg2, Reg1, Reg0.
bool sendFrequencyRegisters(SerialLink& link, const RegisterSource& image);
// "Store to EE": per word in transfer order its line, the store mark and the line again.
bool storeAllRegisters(SerialLink& link, const RegisterSource& image);
// Writes the read request and waits readBackPause while the answer comes in
// through SerialLink::received().
bool requestStoredSet(SerialLink& link);

} // namespace kelvane::link
