#include "ui/remote_control.h"

#include <QAction>
#include <QInputDialog>
#include <QLabel>
#include <QStatusBar>
#include <QThread>

#include "remote/remote_server.h"
#include "remote/remote_texts.h"
#include "ui/label_text.h"
#include "ui/link_controller.h"
#include "ui/main_window.h"
#include "ui/main_window_controls.h"

namespace kelvane::ui {

// The window as the server sees it. Every wait of the window runs a nested
// event loop, so a deeper loop than the one the server started under means a
// transfer, read-back, run or box is in progress.
class WindowRemoteBoard : public remote::RemoteBoard {
public:
    explicit WindowRemoteBoard(MainWindow& window) : window_(window) {}

    void noteStartLevel() { startLevel_ = QThread::currentThread()->loopLevel(); }

    bool busy() const override { return QThread::currentThread()->loopLevel() > startLevel_; }
    bool inputsLocked() const override { return !window_.controls().PlanInputs->isEnabled(); }
    bool isOpen() const override { return window_.linkController().serialLink().isOpen(); }
    Inputs inputs() const override { return window_.inputs(); }
    PlanVariables planVariables() const override { return window_.planVariables(); }

    bool retune(const RunStep& step, bool allRegisters, const QString& from) override {
        window_.controls().Fo->setText(qText(step.foText));
        LinkController& link = window_.linkController();
        if (allRegisters)
            link.updateAll();
        else
            link.quickFreqUpdate();
        if (!link.serialLink().isOpen()) return false;
        lastChange_ = qText(remote::retunedText(step.mhz, from.toStdString()));
        return true;
    }

    QString lastChange() const { return lastChange_; }

private:
    MainWindow& window_;
    int startLevel_ = 0;
    QString lastChange_;
};

RemoteControl::RemoteControl(MainWindow& window)
    : QObject(&window), window_(window), board_(std::make_unique<WindowRemoteBoard>(window)),
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
    board_->noteStartLevel();
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
