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

#include "link/serial_link.h"
#include "model/registers.h"

class QLabel;

namespace kelvane::ui {

class MainWindow;

class LinkController : public QObject {
    Q_OBJECT
public:
    // Connects to the window's controls; the window owns the controller.
    explicit LinkController(MainWindow& window);

    link::SerialLink& serialLink() { return link_; }

public slots:
    // "Quick Freq Update": recalculates and sends Reg2, Reg1 and Reg0, unless a
    // read-back is restoring the controls. The WSJT step buttons call it too.
    void quickFreqUpdate();

    // Releases the port; a transfer or read-back in progress stops there.
    void shutDown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setCP();
    void updateAll();
    void storeEE();
    void initFromEE();
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
    RegisterImage registers() const;

    MainWindow& window_;
    link::SerialLink link_;
    bool pendingCr_ = false; // the console's last piece ended in CR
    int replies_ = 0;        // lines the board sent since the transfer began
    bool replyCr_ = false;   // the board's last piece ended in CR
    QLabel* linkStatus_;
    QLabel* portStatus_;
};

} // namespace kelvane::ui
