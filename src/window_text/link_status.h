#pragma once
// The status-bar lines that say what a transfer, a read-back or the port did,
// so that a dead cable does not look like success.

#include <string>
#include <string_view>

namespace kelvane {

inline constexpr std::string_view noReplyStatus =
    "No reply from the board: check power, cable and 9600 8N2";

// "Update all registers: 12 lines sent to /dev/ttyUSB0, 12 replies", or
// noReplyStatus when the board answered none of them. When other transfers
// sent lines inside its pauses, their replies are among these and it says so:
// "..., 24 replies, with 12 lines of another transfer inside its pauses".
std::string transferStatus(std::string_view transfer, int linesSent, std::string_view device,
                           int replies, int linesInside = 0);

// A step button's Quick Freq Update: "Quick Freq Update: 3 lines sent to
// /dev/ttyUSB0, now 2320.25001 MHz", or noReplyStatus.
std::string stepStatus(std::string_view device, int replies, std::string_view foText);

// The console's line when a transfer sends nothing: "Store to EE: the plan is
// undefined (the status line says why); nothing sent", or with the reason a
// word makes no register line in place of the undefined plan.
std::string undefinedPlanLine(std::string_view transfer);
std::string nothingSentLine(std::string_view transfer, std::string_view reason);

// "Init from EE: restored 2320.25 MHz" for the output frequency text restored.
std::string restoredStatus(std::string_view foText);

// "/dev/ttyUSB0 · 9600 8N2", or "No port open" for an empty device.
std::string portStatus(std::string_view device);

} // namespace kelvane
