#include "ui/tools_menu.h"

#include <QMainWindow>
#include <QMenuBar>

#include "ui/beacon_dialog.h"
#include "ui/calibrate_dialog.h"
#include "ui/remote_control.h"
#include "ui/sweep_dialog.h"

namespace kelvane::ui {

ToolsMenu::ToolsMenu(QMainWindow& window, RunWindow& runs, CalibrateWindow& calibration)
    : QObject(&window), window_(window), runs_(runs), calibration_(calibration) {
    setObjectName(QStringLiteral("ToolsMenu"));
    QMenu* menu = window_.menuBar()->addMenu(QStringLiteral("&Tools"));
    menu->setObjectName(QStringLiteral("Tools"));
    calibrate_ =
        menu->addAction(QStringLiteral("Calibrate Reference..."), this, &ToolsMenu::openCalibrate);
    calibrate_->setObjectName(QStringLiteral("CalibrateReference"));
    sweep_ = menu->addAction(QStringLiteral("Sweep..."), this, &ToolsMenu::openSweep);
    sweep_->setObjectName(QStringLiteral("Sweep"));
    beacon_ = menu->addAction(QStringLiteral("Beacon..."), this, &ToolsMenu::openBeacon);
    beacon_->setObjectName(QStringLiteral("Beacon"));
    remote_ = new RemoteControl(window_, runs_);
    menu->addAction(remote_->action());
}

// A new dialog each time, so that it compares with the plan shown now.
void ToolsMenu::openCalibrate() {
    calibrateDialog()->exec();
}

std::unique_ptr<CalibrateDialog> ToolsMenu::calibrateDialog() {
    return std::make_unique<CalibrateDialog>(calibration_, &window_);
}

SweepDialog& ToolsMenu::sweepDialog() {
    if (!sweepDialog_) sweepDialog_ = new SweepDialog(runs_, &window_);
    return *sweepDialog_;
}

// One sweep window, modeless, kept with its fields between uses.
void ToolsMenu::openSweep() {
    SweepDialog& dialog = sweepDialog();
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
}

BeaconDialog& ToolsMenu::beaconDialog() {
    if (!beaconDialog_) beaconDialog_ = new BeaconDialog(runs_, &window_);
    return *beaconDialog_;
}

// One beacon window, modeless; planned again with the window's inputs as it opens.
void ToolsMenu::openBeacon() {
    BeaconDialog& dialog = beaconDialog();
    dialog.replan();
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
}

} // namespace kelvane::ui
