#pragma once
// The main window's Tools menu: "Calibrate Reference...", "Sweep..." and
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
class RemoteControl;

class ToolsMenu : public QObject {
    Q_OBJECT
public:
    // Adds the menu to the window's menu bar; the window owns the menu, and
    // the dialogs work through the window's interfaces.
    ToolsMenu(QMainWindow& window, RunWindow& runs, CalibrateWindow& calibration);

    // The sweep dialog, made on first use.
    SweepDialog& sweepDialog();
    // A calibration dialog for the plan shown now.
    std::unique_ptr<CalibrateDialog> calibrateDialog();

    QAction* calibrateAction() const { return calibrate_; }
    QAction* sweepAction() const { return sweep_; }
    RemoteControl& remoteControl() const { return *remote_; }

private:
    void openCalibrate();
    void openSweep();

    QMainWindow& window_;
    RunWindow& runs_;
    CalibrateWindow& calibration_;
    QAction* calibrate_ = nullptr;
    QAction* sweep_ = nullptr;
    SweepDialog* sweepDialog_ = nullptr; // created on first use
    RemoteControl* remote_ = nullptr;
};

} // namespace kelvane::ui
