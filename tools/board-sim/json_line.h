#pragma once
// The board's log: one JSON object per line,
//   {"t":12345.678901234,"dir":"rx","data":"R00000017\r\n"}
// with "t" the monotonic clock in seconds, "dir" "rx" for bytes from the host,
// "tx" for bytes to it and "hangup" when the terminal was closed, and "data"
// the bytes, each byte above 0x7F written as the character of that code. A
// piece from the host that loads a register word also carries "outputHz", the
// output frequency the loaded registers give once it is in.

#include <cstdio>
#include <optional>
#include <string>

namespace kelvane::sim {

void writeJsonLine(std::FILE* out, double time, const char* direction, const std::string& bytes,
                   std::optional<double> outputHz = std::nullopt);

} // namespace kelvane::sim
