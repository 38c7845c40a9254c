#include "remote/serial_remote_board.h"

#include "link/transfers.h"

namespace kelvane::remote {

SerialRemoteBoard::SerialRemoteBoard(link::SerialLink& link, const Inputs& inputs)
    : link_(link), inputs_(inputs), variables_(planVariablesFrom(inputs)) {}

bool SerialRemoteBoard::retune(const RunStep& step, bool allRegisters, const QString&) {
    sending_ = true;
    const link::RegisterSource source = [&step] { return step.registers; };
    const bool sent = allRegisters ? link::sendAllRegisters(link_, source)
                                   : link::sendFrequencyRegisters(link_, source);
    sending_ = false;
    if (sent) {
        inputs_.fo = step.foText;
        variables_ = planVariablesFrom(inputs_);
    }
    return sent;
}

} // namespace kelvane::remote
