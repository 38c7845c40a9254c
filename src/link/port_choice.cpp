#include "link/port_choice.h"

#include <QSerialPortInfo>
#include <algorithm>
#include <cmath>

#include "model/conversions.h"

namespace kelvane::link {
namespace {

bool namesDevice(const QString& text) {
    return text.startsWith('/') || text.startsWith("COM") || text.startsWith("tty");
}

QString numberText(double value) {
    return QString::fromStdString(plainNumberText(value));
}

QList<QSerialPortInfo> sortedPorts() {
    auto ports = QSerialPortInfo::availablePorts();
    std::sort(ports.begin(), ports.end(), [](const QSerialPortInfo& a, const QSerialPortInfo& b) {
        return a.systemLocation() < b.systemLocation();
    });
    return ports;
}

} // namespace

PortChoice choosePort(const QString& text, const QStringList& systemPorts, bool windows) {
    const QString trimmed = text.trimmed();
    if (namesDevice(trimmed)) return {PortChoice::Kind::Device, trimmed, {}};

    const double number = val(text.toStdString());
    if (number == 0) return {};
    const double rounded = std::nearbyint(number); // the default rounding: ties to even
    if (rounded < -32768 || rounded > 32767)
        return {PortChoice::Kind::Refused,
                {},
                numberText(number) + " is not a port number: ports are numbered from 1 to 32767."};
    const int port = static_cast<int>(rounded);
    if (port < 1)
        return {PortChoice::Kind::Refused,
                {},
                QString("There is no port %1: ports are numbered from 1.").arg(port)};
    if (windows) return {PortChoice::Kind::Device, QString("COM%1").arg(port), {}};
    if (port > systemPorts.size()) {
        const QString listed = systemPorts.isEmpty() ? QString("the system lists no serial port")
                                                     : QString("the system lists %1 (%2)")
                                                           .arg(systemPorts.size())
                                                           .arg(systemPorts.join(", "));
        return {PortChoice::Kind::Refused,
                {},
                QString("There is no serial port %1: %2. A device path such as /dev/ttyUSB0 "
                        "opens that device.")
                    .arg(port)
                    .arg(listed)};
    }
    return {PortChoice::Kind::Device, systemPorts.at(port - 1), {}};
}

QStringList systemPortLocations() {
    QStringList locations;
    for (const auto& port : sortedPorts())
        locations << port.systemLocation();
    return locations;
}

QList<ListedPort> listedPorts() {
    QList<ListedPort> ports;
    for (const auto& port : sortedPorts()) {
        // The maker and product a USB adapter reports tell two adapters apart.
        const QString maker = port.manufacturer();
        QString product = port.description();
        if (!maker.isEmpty() && !product.startsWith(maker))
            product = product.isEmpty() ? maker : maker + " " + product;
        const int number =
            runningOnWindows() ? port.portName().mid(3).toInt() : int(ports.size()) + 1;
        ports << ListedPort{number, port.systemLocation(), port.portName(), product};
    }
    return ports;
}

QStringList portListLines() {
    QStringList lines;
    for (const ListedPort& port : listedPorts()) {
        QString line =
            runningOnWindows() ? port.name : QString("%1  %2").arg(port.number).arg(port.device);
        if (!port.product.isEmpty()) line += "  " + port.product;
        lines << line;
    }
    return lines;
}

} // namespace kelvane::link
