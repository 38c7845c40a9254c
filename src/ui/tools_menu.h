#pragma once
// The main window's Tools menu: "Calibrate Reference...", "Sweep...", "Beacon..." and
// "Remote Control".

#include <QObject>
#include <memory>

class QAction;
class QMainWindow;

namespace kelvane::ui {

class CalibrateDialog;
class CalibrateWindow;
class RunWindow;
class SweepDialog;
class BeaconDialog;
class RemoteControl;

class ToolsMenu : public QObject {
    Q_OBJECT
public:
    // Adds the menu to the window's menu bar; the window owns the menu, and
    // the dialogs work through the window's interfaces.
    ToolsMenu(QMainWindow& window, RunWindow& runs, CalibrateWindow& calibration);

    // The sweep dialog, made on first use.
    SweepDialog& sweepDialog();
    // The beacon dialog, made on first use.
    BeaconDialog& beaconDialog();
    // A calibration dialog for the plan shown now.
    std::unique_ptr<CalibrateDialog> calibrateDialog();

    QAction* calibrateAction() const { return calibrate_; }
    QAction* sweepAction() const { return sweep_; }
    QAction* beaconAction() const { return beacon_; }
    RemoteControl& remoteControl() const { return *remote_; }

private:
    void openCalibrate();
    void openSweep();
    void openBeacon();

    QMainWindow& window_;
    RunWindow& runs_;
    CalibrateWindow& calibration_;
    QAction* calibrate_ = nullptr;
    QAction* sweep_ = nullptr;
    SweepDialog* sweepDialog_ = nullptr; // created on first use
    QAction* beacon_ = nullptr;
    BeaconDialog* beaconDialog_ = nullptr; // created on first use
    RemoteControl* remote_ = nullptr;
};

} // namespace kelvane::ui
