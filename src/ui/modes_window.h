#pragma once
// What the digital-mode and export buttons ask of the main window: whether it
// is ready, a recalculation before an export, and the inputs, variables, plan
// and register image that the listings and reports are made from.

#include "model/inputs.h"
#include "model/plan.h"
#include "model/plan_variables.h"
#include "model/registers.h"

namespace kelvane::ui {

class ModesWindow {
public:
    virtual void recalculate() = 0;
    virtual bool recalculationHeld() const = 0;
    virtual bool planDefined() const = 0;
    virtual RegisterImage registers() const = 0;
    virtual Inputs inputs() const = 0;
    virtual PlanVariables planVariables() const = 0;
    virtual Plan planInForce() const = 0;

protected:
    ~ModesWindow() = default;
};

} // namespace kelvane::ui
