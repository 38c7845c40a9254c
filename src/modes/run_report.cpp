#include "modes/run_report.h"

#include "modes/frequency_run.h"

namespace kelvane {

std::string runEndLine(RunEnd end, long long stepsSent, std::optional<double> boardAtMhz,
                       std::string_view cause) {
    const std::string at = boardAtMhz ? runFrequencyText(*boardAtMhz) : std::string();
    switch (end) {
    case RunEnd::Completed:
        return "Done: " + std::to_string(stepsSent) +
               (stepsSent == 1 ? " frequency" : " frequencies") + " sent; the board is at " + at;
    case RunEnd::Stopped:
        return boardAtMhz ? "Stopped; the board is at " + at : "Stopped; nothing was sent";
    case RunEnd::BoardSilent:
        return "The board stopped answering after " + at + "; check its power, cable and firmware";
    case RunEnd::PortFailed: {
        const std::string port = cause.empty() ? "The port failed." : std::string(cause);
        return port +
               (boardAtMhz ? " The board was last set to " + at + "." : " Nothing was sent.");
    }
    case RunEnd::Refused:
        break;
    }
    return std::string(cause) + "; nothing was sent";
}

std::string busyLine(BoardWork work, std::string_view name) {
    switch (work) {
    case BoardWork::Transfer:
        return std::string(name) + " is sending to the board: wait for it";
    case BoardWork::ReadBack:
        return std::string(name) + " is reading the board: wait for it";
    case BoardWork::Run:
        break;
    }
    return std::string(name) + " is running on the board: press Stop first";
}

} // namespace kelvane
