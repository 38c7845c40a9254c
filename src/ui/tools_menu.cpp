#include "ui/tools_menu.h"

#include <QMenuBar>

#include "ui/calibrate_dialog.h"
#include "ui/main_window.h"
#include "ui/remote_control.h"
#include "ui/sweep_dialog.h"

namespace kelvane::ui {

ToolsMenu::ToolsMenu(MainWindow& window) : QObject(&window), window_(window) {
    setObjectName(QStringLiteral("ToolsMenu"));
    QMenu* menu = window_.menuBar()->addMenu(QStringLiteral("&Tools"));
    menu->setObjectName(QStringLiteral("Tools"));
    calibrate_ =
        menu->addAction(QStringLiteral("Calibrate Reference..."), this, &ToolsMenu::openCalibrate);
    calibrate_->setObjectName(QStringLiteral("CalibrateReference"));
    sweep_ = menu->addAction(QStringLiteral("Sweep..."), this, &ToolsMenu::openSweep);
    sweep_->setObjectName(QStringLiteral("Sweep"));
    remote_ = new RemoteControl(window_);
    menu->addAction(remote_->action());
}

// A new dialog each time, so that it compares with the plan shown now.
void ToolsMenu::openCalibrate() {
    CalibrateDialog dialog(window_);
    dialog.exec();
}

// One sweep window, modeless, kept with its fields between uses.
void ToolsMenu::openSweep() {
    if (!sweepDialog_) sweepDialog_ = new SweepDialog(window_);
    sweepDialog_->show();
    sweepDialog_->raise();
    sweepDialog_->activateWindow();
}

} // namespace kelvane::ui
