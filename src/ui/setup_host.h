#pragma once
// What the setups ask of the main window: the inputs on screen, setting
// inputs through the controls, the register image of a defined plan, a call
// after every input change, "Update all registers", and whether the board's
// work keeps a setup from opening now.

#include <QObject>
#include <QString>
#include <functional>

#include "model/inputs.h"
#include "model/registers.h"

namespace kelvane::ui {

class SetupHost {
public:
    virtual Inputs inputs() const = 0;
    virtual void applyInputs(const Inputs& inputs) = 0;
    virtual bool planDefined() const = 0;
    virtual RegisterImage registers() const = 0;
    virtual void onInputChanged(QObject* context, const std::function<void()>& slot) = 0;
    // "Update all registers", when the port is open; otherwise the status line
    // says that nothing was sent.
    virtual void sendAllIfOpen() = 0;
    // Why no setup may open now (a run, a transfer or a read-back is in
    // progress); empty when one may.
    virtual QString boardBusyReason() const = 0;
    // True while a run has the board: closing waits for it to stop.
    virtual bool runInProgress() const = 0;
    // One line on the status bar.
    virtual void showStatus(const QString& line) = 0;

protected:
    ~SetupHost() = default;
};

} // namespace kelvane::ui
