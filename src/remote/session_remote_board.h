#pragma once
// The board behind kelvanectl serve: the board session that owns its port,
// and the inputs given on the command line, which follow every frequency
// sent. Requests wait while the session is busy.

#include "remote/remote_board.h"
#include "session/board_session.h"

namespace kelvane::remote {

class SessionRemoteBoard : public RemoteBoard {
public:
    SessionRemoteBoard(session::BoardSession& session, const Inputs& inputs);

    bool busy() const override { return session_.busy(); }
    bool inputsLocked() const override { return false; }
    bool isOpen() const override { return session_.isOpen(); }
    Inputs inputs() const override { return inputs_; }
    PlanVariables planVariables() const override { return variables_; }
    bool retune(const RunStep& step, bool allRegisters, const QString& from) override;

private:
    session::BoardSession& session_;
    Inputs inputs_;
    PlanVariables variables_;
};

} // namespace kelvane::remote
