#include "window_text/link_status.h"

namespace kelvane {
namespace {

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string counted(int count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

} // namespace

std::string transferStatus(std::string_view transfer, int linesSent, std::string_view device,
                           int replies, int linesInside) {
    if (replies == 0) return std::string(noReplyStatus);
    const std::string inside = linesInside > 0 ? ", with " + counted(linesInside, "line", "lines") +
                                                     " of another transfer inside its pauses"
                                               : std::string();
    return std::string(transfer) + ": " + counted(linesSent, "line", "lines") + " sent to " +
           std::string(device) + ", " + counted(replies, "reply", "replies") + inside;
}

std::string stepStatus(std::string_view device, int replies, std::string_view foText) {
    if (replies == 0) return std::string(noReplyStatus);
    return "Quick Freq Update: 3 lines sent to " + std::string(device) + ", now " +
           std::string(trimmed(foText)) + " MHz";
}

std::string undefinedPlanLine(std::string_view transfer) {
    return nothingSentLine(transfer, "the plan is undefined (the status line says why)");
}

std::string nothingSentLine(std::string_view transfer, std::string_view reason) {
    return std::string(transfer) + ": " + std::string(reason) + "; nothing sent";
}

std::string restoredStatus(std::string_view foText) {
    return "Init from EE: restored " + std::string(trimmed(foText)) + " MHz";
}

std::string portStatus(std::string_view device) {
    if (device.empty()) return "No port open";
    return std::string(device) + " \u00B7 9600 8N2";
}

} // namespace kelvane
