#pragma once
// What a run on the board reports: the one line that says how it ended, the
// same in the window and in kelvanectl, and the line that refuses work while
// the board is busy with something else.

#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

enum class RunEnd {
    Completed,   // every pass went out
    Stopped,     // Stop, Ctrl-C, closing: after the current step's lines
    BoardSilent, // a board that answered before answers no more
    PortFailed,  // the port stopped working; `cause` is the port's own line
    Refused      // nothing was sent; `cause` says why
};

// "Done: 3 frequencies sent; the board is at 2320.450000 MHz",
// "Stopped; the board is at 2320.250000 MHz", "Stopped; nothing was sent",
// "The board stopped answering after 2320.800000 MHz; check its power, cable
// and firmware", the port's line and "The board was last set to ..." after
// it, or the refusal and "; nothing was sent". `boardAtMhz` is the output of
// the last step whose lines all went out.
std::string runEndLine(RunEnd end, long long stepsSent, std::optional<double> boardAtMhz,
                       std::string_view cause);

// What the board is busy with when something else asks for it.
enum class BoardWork { Transfer, ReadBack, Run };

// "Init from EE is reading the board: wait for it",
// "Update all registers is sending to the board: wait for it",
// "Sweep is running on the board: press Stop first".
std::string busyLine(BoardWork work, std::string_view name);

} // namespace kelvane
