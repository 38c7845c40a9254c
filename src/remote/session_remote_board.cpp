#include "remote/session_remote_board.h"

namespace kelvane::remote {

SessionRemoteBoard::SessionRemoteBoard(session::BoardSession& session, const Inputs& inputs)
    : session_(session), inputs_(inputs), variables_(planVariablesFrom(inputs)) {}

bool SessionRemoteBoard::retune(const RunStep& step, bool allRegisters, const QString& from) {
    const link::RegisterSource source = [&step] { return step.registers; };
    const QString name = "Remote from " + from;
    const bool sent = allRegisters ? bool(session_.sendAll(source, name))
                                   : bool(session_.sendFrequency(source, name));
    if (sent) {
        inputs_.fo = step.foText;
        variables_ = planVariablesFrom(inputs_);
    }
    return sent;
}

} // namespace kelvane::remote
