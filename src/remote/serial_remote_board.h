#pragma once
// The board behind kelvanectl serve: a serial link of its own and the inputs
// given on the command line, which follow every frequency sent. Its only
// transfers are the remote requests' own, so it is busy exactly while one
// is on the wire.

#include "link/serial_link.h"
#include "remote/remote_board.h"

namespace kelvane::remote {

class SerialRemoteBoard : public RemoteBoard {
public:
    SerialRemoteBoard(link::SerialLink& link, const Inputs& inputs);

    bool busy() const override { return sending_; }
    bool inputsLocked() const override { return false; }
    bool isOpen() const override { return link_.isOpen(); }
    Inputs inputs() const override { return inputs_; }
    PlanVariables planVariables() const override { return variables_; }
    bool retune(const RunStep& step, bool allRegisters, const QString& from) override;

private:
    link::SerialLink& link_;
    Inputs inputs_;
    PlanVariables variables_;
    bool sending_ = false;
};

} // namespace kelvane::remote
