#pragma once
// A beacon for the board's firmware to key by itself: the keying set in
// transfer order, one Reg2 word per tone, and each element's tones, one entry
// per symbol (for CW one per dot), as indices into the Reg2 table. The timing
// goes into comments. Two forms:
//
//   PIC assembler data lines, as the register export has them:
//     ; Keying set, transfer order
//        de  0x00, 0x00, 0x00, 0x17   ;Reg7
//     ; Reg2 per tone
//        de  0x04, 0x00, 0x9D, 0x72   ;0 carrier
//     ; Element 1: PI4 "OZ7IGY" from second 0.000, 146 symbols of 0.166667 s
//        de  3, 1, 2, 1, 1, 4, 4, 4, 4, 3, 4, 3, 2, 3, 2, 3
//
//   a C header of const arrays, each with its size:
//     static const uint32_t beacon_reg2[9] = {0x04009D72, ...};

#include <string>

#include "modes/beacon_tones.h"

namespace kelvane::beacon {

enum class ExportFormat { Pic, C };

// The text, lines ending in CR LF; the sequence must be one layOut() accepted.
std::string exportBeacon(const Sequence& sequence, const TonePlan& plan, ExportFormat format);

} // namespace kelvane::beacon
