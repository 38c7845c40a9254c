#pragma once
// What the window's status bar and kelvanectl serve say about remote control.

#include <string>

namespace kelvane::remote {

// "Remote: listening on 127.0.0.1:4532, 1 client"
std::string listeningText(const std::string& address, int clients);
// "Remote: 1296.500000 MHz from 127.0.0.1"
std::string retunedText(double mhz, const std::string& from);

} // namespace kelvane::remote
