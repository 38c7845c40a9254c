#pragma once
// Which device a port text opens.
//
// A text that names a device (it begins with "/", "COM" or "tty", after leading
// blanks) opens that device as written: this reaches a pseudo-terminal or a port
// the system does not list. Otherwise the text is read as a number the way the
// window reads every number: 0 (also an empty text or one without a number)
// means no port was chosen; other numbers are rounded to the nearest whole
// number, ties to even, and must fit 16 bits. On Windows, N is "COMN"; on other
// systems it is the N-th of the serial ports the system lists, ordered by their
// device paths.

#include <QString>
#include <QStringList>

namespace kelvane::link {

struct PortChoice {
    enum class Kind {
        Nothing, // the number is 0: nothing to do, nothing to say
        Device,  // open `device`
        Refused  // no device; `cause` says why
    };
    Kind kind = Kind::Nothing;
    QString device;
    QString cause;
};

// `systemPorts` are the listed devices in the order they are numbered.
PortChoice choosePort(const QString& text, const QStringList& systemPorts, bool windows);

// The serial ports the system lists, ordered by their device paths.
QStringList systemPortLocations();

struct ListedPort {
    int number;      // what the port box and --port take for it
    QString device;  // "/dev/ttyUSB0", "COM3"
    QString name;    // the system's short name, "ttyUSB0", "COM3"
    QString product; // maker and product, as far as the adapter reports them
};

// The serial ports the system lists, numbered as the port box counts them.
QList<ListedPort> listedPorts();

// One line per listed port: its number, device, and the maker and product a
// USB adapter reports, such as "1  /dev/ttyUSB0  FTDI FT232R USB UART". On
// Windows the number is the COM number.
QStringList portListLines();

constexpr bool runningOnWindows() {
#ifdef Q_OS_WIN
    return true;
#else
    return false;
#endif
}

} // namespace kelvane::link
