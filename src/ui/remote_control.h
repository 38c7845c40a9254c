#pragma once
// Tools > Remote Control: rig-control programs retune the board through the
// window. Checking the item asks for the address to listen on (this computer
// only by default) and starts the server; unchecking it stops the server and
// drops its clients.
//
// A frequency request is shown as if typed: the output box gets the value
// through its handler, then the board gets the words by "Update all
// registers" or "Quick Freq Update". Requests wait while the window is inside
// a wait of its own (a transfer's pauses, a read-back, a run's dwell, a box
// awaiting an answer) and are refused while the plan inputs are locked.

#include <QObject>
#include <memory>

class QAction;
class QLabel;

namespace kelvane::remote {
class RemoteServer;
}

namespace kelvane::ui {

class MainWindow;
class WindowRemoteBoard;

class RemoteControl : public QObject {
    Q_OBJECT
public:
    explicit RemoteControl(MainWindow& window);
    ~RemoteControl() override;

    // The checked item for the Tools menu.
    QAction* action() const { return action_; }
    remote::RemoteServer& server() { return *server_; }

private:
    void toggled(bool on);
    void showListening();

    MainWindow& window_;
    std::unique_ptr<WindowRemoteBoard> board_;
    remote::RemoteServer* server_;
    QAction* action_;
    QLabel* status_;
    QString address_; // the last one asked for
};

} // namespace kelvane::ui
