#pragma once
// The main window's side of the board link: the port box and its button, the
// board's console in Text1, and the transfer buttons "Update all registers",
// "Quick Freq Update", "Store to EE", "Init from EE" and "Verify EE".
//
// A transfer waits in its pauses with the window servicing events, so another
// button may run inside a pause; each word's line is built when its turn comes,
// so the board ends up with the newest words. When the port fails, the transfer
// stops, one line in Text1 says so, and the port box comes back.

#include <QObject>
#include <optional>
#include <string>

#include "link/serial_link.h"
#include "link/transfers.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;

namespace kelvane::ui {

class LinkWindow;

// The main window's controls that belong to the link.
struct LinkWidgets {
    QLineEdit* portBox;      // CPNo
    QPushButton* portButton; // SetCP
    QLabel* portCaption;     // Label6
    QPushButton* update;
    QPushButton* quickUpdate;
    QPushButton* storeEE;
    QPushButton* init;
    QPushButton* verifyEE;
    QPushButton* stepUp; // shown only while the port is open
    QPushButton* stepDown;
    QPlainTextEdit* console; // Text1
    QStatusBar* statusBar;
};

class LinkController : public QObject {
    Q_OBJECT
public:
    // Connects to the link's controls; parent (the window) owns the controller
    // and carries its message boxes.
    LinkController(const LinkWidgets& widgets, LinkWindow& window, QWidget* parent);

    link::SerialLink& serialLink() { return link_; }
    // The port number as entered in the port box; 0 until a port is chosen.
    double portNumber() const { return portNumber_; }

public slots:
    // "Update all registers": recalculates when the window is ready and sends
    // the twelve words.
    void updateAll();
    // "Quick Freq Update": recalculates and sends registers 2, 1 and 0, unless a
    // read-back is restoring the controls. The WSJT step buttons call it too.
    void quickFreqUpdate();

    // Releases the port; a transfer or read-back in progress stops there.
    void shutDown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What a transfer does while the window's recalculation is held (during a
    // read-back's wait): recalculate anyway, send the words as they stand, or
    // not run at all.
    enum class WhileHeld { recalculate, sendAsTheyStand, skip };
    using Sequence = bool (*)(link::SerialLink&, const link::RegisterSource&);

    void setCP();
    void storeEE();
    // True when the whole sequence went out.
    bool runTransfer(const char* name, Sequence sequence, int linesSent, WhileHeld whileHeld);
    void initFromEE();
    // The board's answer to the read request, or nothing when the port failed.
    std::optional<std::string> readStoredSet();
    void received(const QByteArray& bytes);
    void verifyEE();
    void appendReceived(const QByteArray& bytes);
    void appendLine(const QString& line);
    void reportTransfer(const char* transfer, int linesSent);
    void showStatus(const QString& text);
    void clearConsole();
    void portFailed(const QString& message);
    bool sendable(const QString& command);
    void showLinkOpen(bool open);

    LinkWidgets widgets_;
    LinkWindow& window_;
    QWidget* parent_;
    link::SerialLink link_;
    double portNumber_ = 0;
    bool pendingCr_ = false; // the console's last piece ended in CR
    int replies_ = 0;        // lines the board sent since the transfer began
    bool replyCr_ = false;   // the board's last piece ended in CR
    QLabel* linkStatus_;
    QLabel* portStatus_;
};

} // namespace kelvane::ui
