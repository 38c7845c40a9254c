#pragma once
// The main window from the keyboard (the form gives the reading order, panel
// by panel): scroll bars that take focus and step with their keys; Enter in the
// port box opens the port; shortcuts for the transfers and the quick steps.

namespace Ui {
class LMX2541;
}

namespace kelvane::ui {

void prepareKeyboard(Ui::LMX2541& controls);

} // namespace kelvane::ui
