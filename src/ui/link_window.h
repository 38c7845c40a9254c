#pragma once
// What the board link also asks of the main window: the hold over a
// read-back's wait, the read-back's restore, which the window applies to its
// own controls and variables, and the quick update's buttons.

#include "model/readback.h"
#include "ui/recalculation_hold.h"
#include "ui/window_plan.h"

namespace kelvane::ui {

class LinkWindow : public WindowPlan {
public:
    // True when an input changed while the recalculation was held.
    virtual bool recalculationSkipped() const = 0;
    [[nodiscard]] virtual RecalculationHold holdRecalculation() = 0;
    virtual void applyRestore(const Restore& restore) = 0;
    virtual void enableQuickUpdate(bool enabled) = 0;

protected:
    ~LinkWindow() = default;
};

} // namespace kelvane::ui
