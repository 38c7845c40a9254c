#pragma once
// What each control of the main window and of its dialogs means, for its
// tooltip: the quantity, its unit and range, and which register field it sets.

#include <string_view>

namespace kelvane {

// The help text of the control with this object name; empty for controls
// that need none (fixed captions, layouts).
std::string_view controlHelp(std::string_view objectName);

// Why "Quick Freq Update" is disabled, while it is.
inline constexpr std::string_view quickUpdateDisabledHelp =
    "Off since the output divider changed: the divider lives in registers 4 and 13, which only "
    "Update all registers sends. Update all registers turns this back on.";

} // namespace kelvane
