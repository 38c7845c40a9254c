#pragma once
// What the loaded registers make the chip put out: the reference through R
// (and the doubler), times N + F / D, through the output divider.
//   Reg0  F bits 0-15 in bits 16-31, N bits 0-11 in bits 4-15
//   Reg1  F bits 16-21 in bits 22-27, N bits 12-15 in bits 16-19, R in bits 4-15
//   Reg2  D in bits 4-25
//   Reg3  the doubler in bit 18;  Reg4  the output divider in bits 12-17

#include <optional>

#include "board.h"

namespace kelvane::sim {

// Hz; nothing while R, D or the output divider is 0.
std::optional<double> outputHz(const Words& registers, double referenceMhz);

} // namespace kelvane::sim
