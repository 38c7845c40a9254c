#pragma once
// The main window's own variables: the plan variables the input handlers keep, and the plan and
// register image of the last defined recalculation (or of the read-back until the next). The
// setting controls hold their values themselves; nothing here duplicates them.

#include "model/plan.h"
#include "model/plan_variables.h"
#include "model/registers.h"

namespace kelvane::ui {

struct WindowState {
    PlanVariables variables;
    Plan plan;
    RegisterImage registers;
};

} // namespace kelvane::ui
