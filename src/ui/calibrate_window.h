#pragma once
// What the calibration dialog asks of the main window: the plan's achieved
// output and the reference text to compare with, and the corrected reference
// written into the reference box unless the board is busy.

#include <QString>

#include "model/plan.h"

namespace kelvane::ui {

class CalibrateWindow {
public:
    virtual bool planDefined() const = 0;
    virtual Plan planInForce() const = 0;
    virtual QString referenceText() const = 0;
    // Why the reference cannot change now (a run, a transfer or a read-back is
    // in progress); empty when it can.
    virtual QString boardBusyReason() const = 0;
    // Types the text into "Reference Input MHz", which recalculates as typing does.
    virtual void setReference(const QString& text) = 0;

protected:
    ~CalibrateWindow() = default;
};

} // namespace kelvane::ui
