#pragma once
// What the digital-mode and export buttons also ask of the main window: the
// plan in force, which the listings and reports are made from.

#include "model/plan.h"
#include "ui/window_plan.h"

namespace kelvane::ui {

class ModesWindow : public WindowPlan {
public:
    virtual Plan planInForce() const = 0;

protected:
    ~ModesWindow() = default;
};

} // namespace kelvane::ui
