#pragma once
// What a run's dialog asks of the main window: the inputs and plan variables
// the run is planned from, the board session that sends it, and the output box
// following each step the board has taken.

#include <string>

#include "session/board_session.h"
#include "ui/window_plan.h"

namespace kelvane::ui {

class RunWindow : public WindowPlan {
public:
    virtual session::BoardSession& boardSession() = 0;
    // Types the step's output frequency into the output box, as the step
    // buttons do; the window's displays and listing follow it.
    virtual void showRunStep(const std::string& foText) = 0;

protected:
    ~RunWindow() = default;
};

} // namespace kelvane::ui
