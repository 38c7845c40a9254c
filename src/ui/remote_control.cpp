#include "ui/remote_control.h"

#include <QAction>
#include <QInputDialog>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

#include "remote/remote_server.h"
#include "remote/remote_texts.h"
#include "ui/label_text.h"
#include "ui/run_window.h"

namespace kelvane::ui {

// The window as the server sees it: its inputs, and the session that owns
// the board.
class WindowRemoteBoard : public remote::RemoteBoard {
public:
    explicit WindowRemoteBoard(RunWindow& runs) : runs_(runs) {}

    bool busy() const override { return session().busy(); }
    bool inputsLocked() const override {
        return session().activity() == session::BoardSession::Activity::Run;
    }
    bool isOpen() const override { return session().isOpen(); }
    Inputs inputs() const override { return runs_.inputs(); }
    PlanVariables planVariables() const override { return runs_.planVariables(); }

    bool retune(const RunStep& step, bool allRegisters, const QString& from) override {
        runs_.showRunStep(step.foText);
        // The words the window shows now, taken as each one's turn comes.
        const link::RegisterSource words = [this] { return runs_.registers(); };
        const QString name = "Remote from " + from;
        const bool sent = allRegisters ? bool(session().sendAll(words, name))
                                       : bool(session().sendFrequency(words, name));
        if (sent) lastChange_ = qText(remote::retunedText(step.mhz, from.toStdString()));
        return sent;
    }

    QString lastChange() const { return lastChange_; }

private:
    session::BoardSession& session() const { return runs_.boardSession(); }

    RunWindow& runs_;
    QString lastChange_;
};

RemoteControl::RemoteControl(QMainWindow& window, RunWindow& runs)
    : QObject(&window), window_(window), board_(std::make_unique<WindowRemoteBoard>(runs)),
      server_(new remote::RemoteServer(*board_, this)),
      action_(new QAction(QStringLiteral("Remote Control"), this)),
      status_(new QLabel(window.statusBar())),
      address_(QStringLiteral("127.0.0.1:%1").arg(remote::defaultPort)) {
    action_->setObjectName(QStringLiteral("RemoteControl"));
    action_->setCheckable(true);
    status_->setObjectName(QStringLiteral("RemoteStatus"));
    status_->setAccessibleDescription(status_->objectName());
    status_->hide();
    window.statusBar()->addPermanentWidget(status_);
    connect(action_, &QAction::toggled, this, &RemoteControl::toggled);
    connect(server_, &remote::RemoteServer::clientsChanged, this, &RemoteControl::showListening);
    connect(server_, &remote::RemoteServer::retuned, this,
            [this] { status_->setText(board_->lastChange()); });
}

RemoteControl::~RemoteControl() {
    server_->close();
}

void RemoteControl::toggled(bool on) {
    if (!on) {
        server_->close();
        status_->hide();
        return;
    }
    bool accepted = false;
    const QString text = QInputDialog::getText(
        &window_, QStringLiteral("Remote Control"),
        QStringLiteral("Listen on (HOST:PORT; 127.0.0.1 is this computer only):"),
        QLineEdit::Normal, address_, &accepted);
    const auto address = accepted ? remote::readListenAddress(text) : std::nullopt;
    if (accepted) address_ = text.trimmed();
    if (!address || !server_->listen(*address)) {
        if (accepted)
            status_->setText(address ? "Remote: cannot listen on " + address_ + ": " +
                                           server_->errorString()
                                     : "Remote: \"" + address_ + "\" is no HOST:PORT");
        status_->setVisible(accepted);
        const QSignalBlocker quiet(action_);
        action_->setChecked(false);
        return;
    }
    showListening();
    status_->show();
}

void RemoteControl::showListening() {
    if (server_->isListening()) status_->setText(server_->statusText());
}

} // namespace kelvane::ui
