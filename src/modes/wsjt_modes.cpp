#include "modes/wsjt_modes.h"

#include <array>

#include "model/conversions.h"

namespace kelvane {
namespace {

struct ModeRow {
    std::string_view caption;
    double step; // Hz, evaluated in double precision from the mode's definition
};

// Indexed by selector value; row 0 is the plain resolution. The "/16", "* 16"
// and "* 256" rows are variants of the base mode's spacing.
constexpr std::array<ModeRow, wsjtModeMax + 1> modeTable{{
    {wsjtDefaultCaption, 10},
    {"JT65A", 11025.0 / 4096},
    {"JT65B", 2 * 11025.0 / 4096},
    {"JT65C", 4 * 11025.0 / 4096},
    {"JT4A", 4.375},
    {"JT4D", 35},
    {"JT4G", 315},
    {"JT4G /16", 315.0 / 16},
    {"ISCAT-A", 11025.0 / 512},
    {"ISCAT-B", 11025.0 / 256},
    {"WSPR", 12000.0 / 8192},
    {"WSPR * 16", 16 * 12000.0 / 8192},
    {"WSPR * 256", 256 * 12000.0 / 8192},
    {"FSK441 / 16", 441.0 / 16},
    {"PI4", 40 * 12000.0 / 2048},
    {"PI4 / 16", 2.5 * 12000.0 / 2048},
}};

} // namespace

std::string resolutionText(double stepHz) {
    return format(stepHz, "###.######");
}

WsjtModeSelection selectWsjtMode(int value) {
    if (value < 1 || value > wsjtModeMax) value = 0;
    const ModeRow& row = modeTable[static_cast<std::size_t>(value)];
    return {value, std::string(row.caption), row.step, resolutionText(row.step)};
}

} // namespace kelvane
