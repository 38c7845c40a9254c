#pragma once
// The serial link to the board: one port, 9600 baud, 8 data bits, no parity,
// 2 stop bits, no flow control, RTS and DTR asserted after opening.
//
// Everything runs on the caller's thread. The pauses wait in a nested event
// loop on a timer, measured with a monotonic clock, so the window keeps
// servicing its events (replies arrive through received() during a pause, and
// a button pressed during a pause runs inside it) without using the processor.
//
// A pause ends early, returning false, when the link closes (the port failed,
// or close() was called) or when the application is quitting; whoever sends a
// sequence of lines stops there, so nothing more is sent.

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <chrono>

class QSerialPort;

namespace kelvane::link {

// The pause after every register line: just over 50 ms.
inline constexpr std::chrono::milliseconds linePause{50};
// The wait for the board's answer to the read request.
inline constexpr std::chrono::milliseconds readBackPause{1500};

struct OpenOutcome {
    enum class Result {
        Opened,
        Nothing, // the port text gives the number 0: nothing was tried
        Failed
    };
    Result result = Result::Nothing;
    QString device; // what was opened or tried
    QString cause;  // why it failed, for the user
};

class SerialLink : public QObject {
    Q_OBJECT
public:
    explicit SerialLink(QObject* parent = nullptr);
    ~SerialLink() override;

    // Opens the port a text names (see port_choice.h). An open link is closed
    // first.
    OpenOutcome open(const QString& portText);
    bool isOpen() const { return open_; }
    // The device of the last open attempt, such as "/dev/ttyUSB0" or "COM3".
    QString device() const { return device_; }

    // Queues the bytes and hands them to the system at once. Does nothing when
    // the link is closed.
    void write(const QByteArray& bytes);

    // Writes one command line, then pauses just over linePause. False when the
    // pause ended early (see above).
    bool waitResponse(const QByteArray& line);

    // Services events for just over `length`, or until the link closes or the
    // application quits (then false).
    bool pause(std::chrono::milliseconds length);

    // Releases the port; a pause in progress ends. Does nothing when closed.
    void close();

signals:
    // Bytes from the board, as they arrive.
    void received(const QByteArray& bytes);
    // The port failed while open (adapter unplugged, read or write error): the
    // link has closed and closed() follows. Sent once per failure.
    void failed(const QString& message);
    void closed();

private:
    void portError(int error);
    void release();

    QPointer<QSerialPort> port_;
    QString device_;
    bool open_ = false;
};

} // namespace kelvane::link
