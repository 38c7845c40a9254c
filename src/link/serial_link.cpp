#include "link/serial_link.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QTimer>

#include "link/open_failure.h"
#include "link/port_choice.h"

namespace kelvane::link {
namespace {

// RTS and DTR cannot be set on some devices (pseudo-terminals among them);
// that is no reason to refuse the port.
bool assertLine(QSerialPort& port, bool (QSerialPort::*set)(bool)) {
    if ((port.*set)(true)) return true;
    if (port.error() != QSerialPort::UnsupportedOperationError) return false;
    port.clearError();
    return true;
}

} // namespace

SerialLink::SerialLink(QObject* parent) : QObject(parent) {}

SerialLink::~SerialLink() {
    release();
}

OpenOutcome SerialLink::open(const QString& portText) {
    const PortChoice choice = choosePort(portText, systemPortLocations(), runningOnWindows());
    if (choice.kind == PortChoice::Kind::Nothing) return {};
    close();
    if (choice.kind == PortChoice::Kind::Refused)
        return {OpenOutcome::Result::Failed, {}, choice.cause};

    device_ = choice.device;
    auto* port = new QSerialPort(this);
    port->setPortName(choice.device);
    port->setBaudRate(QSerialPort::Baud9600);
    port->setDataBits(QSerialPort::Data8);
    port->setParity(QSerialPort::NoParity);
    port->setStopBits(QSerialPort::TwoStop);
    port->setFlowControl(QSerialPort::NoFlowControl);
    if (!port->open(QIODevice::ReadWrite) || !assertLine(*port, &QSerialPort::setRequestToSend) ||
        !assertLine(*port, &QSerialPort::setDataTerminalReady)) {
        const QString cause = openFailureCause(port->error(), choice.device, port->errorString());
        delete port;
        return {OpenOutcome::Result::Failed, choice.device, cause};
    }

    port_ = port;
    open_ = true;
    connect(port, &QSerialPort::readyRead, this, [this, port] { emit received(port->readAll()); });
    connect(port, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError error) { portError(error); });
    return {OpenOutcome::Result::Opened, choice.device, {}};
}

void SerialLink::write(const QByteArray& bytes) {
    if (!open_) return;
    port_->write(bytes);
    if (open_) port_->flush();
}

bool SerialLink::waitResponse(const QByteArray& line) {
    write(line);
    return pause(linePause);
}

bool SerialLink::pause(std::chrono::milliseconds length) {
    if (!open_) return false;
    QElapsedTimer clock; // monotonic
    clock.start();
    const qint64 lengthNs = std::chrono::nanoseconds(length).count();

    QEventLoop loop;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setSingleShot(true);
    bool timedOut = false;
    connect(&timer, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    connect(this, &SerialLink::closed, &loop, &QEventLoop::quit);

    // The pause must be longer than `length`; a timer may fire a little early,
    // so it is armed again for what is left.
    while (clock.nsecsElapsed() <= lengthNs) {
        const qint64 leftMs = (lengthNs - clock.nsecsElapsed()) / 1000000 + 1;
        timedOut = false;
        timer.start(static_cast<int>(leftMs));
        loop.exec();
        // Ended by close() or by the application quitting, which ends every
        // event loop and keeps new ones from running.
        if (!timedOut || !open_) return false;
    }
    return true;
}

void SerialLink::close() {
    if (!open_) return;
    release();
    emit closed();
}

void SerialLink::portError(int error) {
    if (!open_) return;
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError &&
        error != QSerialPort::WriteError)
        return;
    const char* reason = error == QSerialPort::ResourceError ? "the device went away"
                         : error == QSerialPort::ReadError   ? "read error"
                                                             : "write error";
    // The port is inside its own notification here: it is closed once that
    // has returned, and is already out of use for this link.
    open_ = false;
    QSerialPort* port = port_;
    port_ = nullptr;
    port->disconnect(this);
    QMetaObject::invokeMethod(
        port,
        [port] {
            port->close();
            port->deleteLater();
        },
        Qt::QueuedConnection);
    emit failed(QString("The port %1 stopped working (%2); what was not sent yet was not sent. "
                        "Check the adapter, then open the port again.")
                    .arg(device_, reason));
    emit closed();
}

void SerialLink::release() {
    open_ = false;
    if (!port_) return;
    port_->disconnect(this);
    port_->close();
    port_->deleteLater();
    port_ = nullptr;
}

} // namespace kelvane::link
