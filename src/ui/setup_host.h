#pragma once
// What the setups ask of the main window: the inputs on screen, setting
// inputs through the controls, the register image of a defined plan, a call
// after every input change, and "Update all registers" with the port open.

#include <QObject>
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
    // "Update all registers", when the port is open.
    virtual void sendAllIfOpen() = 0;
    virtual bool portOpen() const = 0;

protected:
    ~SetupHost() = default;
};

} // namespace kelvane::ui
