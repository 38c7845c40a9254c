#pragma once
// Tools > Remote Control: rig-control programs retune the board through the
// window. Checking the item asks for the address to listen on (this computer
// only by default) and starts the server; unchecking it stops the server and
// drops its clients.
//
// A frequency request is shown as if typed: the output box gets the value
// through its handler, then the window's words go to the board through its
// session, by "Update all registers" or "Quick Freq Update". Requests wait
// while the session is busy (a transfer or read-back) and are refused while a
// run has the board, which locks the plan inputs.

#include <QObject>
#include <memory>

class QAction;
class QLabel;
class QMainWindow;

namespace kelvane::remote {
class RemoteServer;
}

namespace kelvane::ui {

class RunWindow;
class WindowRemoteBoard;

class RemoteControl : public QObject {
    Q_OBJECT
public:
    RemoteControl(QMainWindow& window, RunWindow& runs);
    ~RemoteControl() override;

    // The checked item for the Tools menu.
    QAction* action() const { return action_; }
    remote::RemoteServer& server() { return *server_; }

private:
    void toggled(bool on);
    void showListening();

    QMainWindow& window_;
    std::unique_ptr<WindowRemoteBoard> board_;
    remote::RemoteServer* server_;
    QAction* action_;
    QLabel* status_;
    QString address_; // the last one asked for
};

} // namespace kelvane::ui
