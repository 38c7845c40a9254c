#pragma once
// What the board link asks of the main window and has it do: the plan and
// register image to send, a recalculation before a transfer, the hold over a
// read-back's wait, and the read-back's restore, which the window applies to
// its own controls and variables.

#include "model/inputs.h"
#include "model/plan_variables.h"
#include "model/readback.h"
#include "model/registers.h"
#include "ui/recalculation_hold.h"

namespace kelvane::ui {

class LinkWindow {
public:
    virtual void recalculate() = 0;
    virtual bool recalculationHeld() const = 0;
    virtual bool recalculationSkipped() const = 0;
    [[nodiscard]] virtual RecalculationHold holdRecalculation() = 0;
    virtual bool planDefined() const = 0;
    virtual RegisterImage registers() const = 0;
    virtual Inputs inputs() const = 0;
    virtual PlanVariables planVariables() const = 0;
    virtual void applyRestore(const Restore& restore) = 0;
    virtual void enableQuickUpdate(bool enabled) = 0;

protected:
    ~LinkWindow() = default;
};

} // namespace kelvane::ui
