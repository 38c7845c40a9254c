#pragma once
// Why a port could not be opened, in words for the detail text of the
// "Invalid COM port" message.

#include <QSerialPort>
#include <QString>

namespace kelvane::link {

// `device` is the path or name that was opened; `errorText` the port's own
// description of the error, used when nothing better can be said.
QString openFailureCause(QSerialPort::SerialPortError error, const QString& device,
                         const QString& errorText);

} // namespace kelvane::link
