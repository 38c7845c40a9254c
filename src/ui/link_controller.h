#pragma once
// The main window's side of the board session: the port box and its button
// (which closes the port once it is open, as the Board menu's "Close Port"
// does), the board's console in Text1, the transfer buttons "Update all
// registers", "Quick Freq Update", "Store to EE", "Init from EE" and "Verify
// EE", and the status line that says what each of them, and each run, did.
//
// A transfer waits in its pauses with the window servicing events, so another
// button may run inside a pause; each word's line is built when its turn comes,
// so the board ends up with the newest words. While a run has the board, the
// transfers are refused with a status line saying why. When the port fails,
// the transfer stops, one line in Text1 says so, and the port box comes back.

#include <QObject>
#include <optional>
#include <string>

#include "session/board_session.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenuBar;
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
    QMenuBar* menuBar; // gets the Board menu
};

class LinkController : public QObject {
    Q_OBJECT
public:
    // Connects to the link's controls and to the session the window owns;
    // parent (the window) owns the controller and carries its message boxes.
    LinkController(const LinkWidgets& widgets, LinkWindow& window, session::BoardSession& session,
                   QWidget* parent);

    // One line on the status bar, in place of the last one.
    void showStatus(const QString& text);

public slots:
    // "Update all registers": recalculates when the window is ready and sends
    // the twelve words.
    void updateAll();
    // "Quick Freq Update": recalculates and sends registers 2, 1 and 0, unless a
    // read-back is restoring the controls.
    void quickFreqUpdate();
    // The same for the WSJT step buttons, whose status line names the new output.
    void quickStep();

    // Releases the port; a transfer or read-back in progress stops there.
    void shutDown();
    // "Close Port": a run is stopped first; the port box comes back.
    void closePort();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What a transfer does while the window's recalculation is held (during a
    // read-back's wait): recalculate anyway, send the words as they stand, or
    // not run at all.
    enum class WhileHeld { recalculate, sendAsTheyStand, skip };
    using Transfer = session::TransferOutcome (session::BoardSession::*)(
        const link::RegisterSource&, const QString&);

    void setCP();
    void storeEE();
    // The outcome once the transfer ran; nothing when it did not start.
    std::optional<session::TransferOutcome> runTransfer(const char* name, Transfer transfer,
                                                        WhileHeld whileHeld);
    // Reports a transfer that went out whole on the status line; false otherwise.
    bool reported(const char* name, const std::optional<session::TransferOutcome>& outcome);
    void initFromEE();
    // The board's answer to the read request, or nothing when the port failed.
    std::optional<std::string> readStoredSet();
    void verifyEE();
    void appendReceived(const QByteArray& bytes);
    void appendLine(const QString& line);
    void clearConsole();
    void portFailed(const QString& message);
    void runEnded(const session::RunOutcome& outcome);
    bool sendable(const QString& command);
    // True, with the reason on the status line, while a run has the board.
    bool refusedDuringRun();
    void showLinkOpen(bool open);

    LinkWidgets widgets_;
    LinkWindow& window_;
    session::BoardSession& session_;
    QWidget* parent_;
    bool pendingCr_ = false; // the console's last piece ended in CR
    QLabel* linkStatus_;
    QLabel* portStatus_;
    QAction* closePort_;
};

} // namespace kelvane::ui
