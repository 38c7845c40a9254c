#pragma once
// What the controllers read from the main window alike: the inputs on screen,
// the plan variables, whether the plan is defined and its register image; and
// a recalculation before they use them, unless the window holds it back.

#include "model/inputs.h"
#include "model/plan_variables.h"
#include "model/registers.h"

namespace kelvane::ui {

class WindowPlan {
public:
    virtual void recalculate() = 0;
    virtual bool recalculationHeld() const = 0;
    virtual bool planDefined() const = 0;
    virtual RegisterImage registers() const = 0;
    virtual Inputs inputs() const = 0;
    virtual PlanVariables planVariables() const = 0;

protected:
    ~WindowPlan() = default;
};

} // namespace kelvane::ui
