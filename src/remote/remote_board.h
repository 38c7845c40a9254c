#pragma once
// What a remote frequency request retunes: the board behind kelvanectl serve,
// or the main window with its port. The server plans each request from the
// inputs here and hands over the words to send.

#include <QString>

#include "model/inputs.h"
#include "model/plan_variables.h"
#include "modes/frequency_run.h"

namespace kelvane::remote {

class RemoteBoard {
public:
    virtual ~RemoteBoard() = default;

    // A transfer, read-back or run is in progress: requests wait for it.
    virtual bool busy() const = 0;
    // The plan inputs are locked (a run drives them): requests are refused.
    virtual bool inputsLocked() const = 0;
    virtual bool isOpen() const = 0;

    virtual Inputs inputs() const = 0;
    virtual PlanVariables planVariables() const = 0;

    // Takes the step's output frequency as if typed and sends the step's words
    // (all twelve, or Reg2, Reg1, Reg0); `from` names the client. True when
    // every line went out.
    virtual bool retune(const RunStep& step, bool allRegisters, const QString& from) = 0;
};

} // namespace kelvane::remote
