#pragma once
// The main window's Tools menu: "Calibrate Reference...", "Sweep..." and
// "Remote Control".

#include <QObject>

class QAction;

namespace kelvane::ui {

class MainWindow;
class SweepDialog;
class RemoteControl;

class ToolsMenu : public QObject {
    Q_OBJECT
public:
    // Adds the menu to the window's menu bar; the window owns the menu.
    explicit ToolsMenu(MainWindow& window);

    QAction* calibrateAction() const { return calibrate_; }
    QAction* sweepAction() const { return sweep_; }
    RemoteControl& remoteControl() const { return *remote_; }

private:
    void openCalibrate();
    void openSweep();

    MainWindow& window_;
    QAction* calibrate_ = nullptr;
    QAction* sweep_ = nullptr;
    SweepDialog* sweepDialog_ = nullptr; // created on first use
    RemoteControl* remote_ = nullptr;
};

} // namespace kelvane::ui
