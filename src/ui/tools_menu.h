#pragma once
// The main window's Tools menu: "Calibrate Reference...", "Sweep..." and "Beacon...".

#include <QObject>

class QAction;

namespace kelvane::ui {

class MainWindow;
class SweepDialog;
class BeaconDialog;

class ToolsMenu : public QObject {
    Q_OBJECT
public:
    // Adds the menu to the window's menu bar; the window owns the menu.
    explicit ToolsMenu(MainWindow& window);

    QAction* calibrateAction() const { return calibrate_; }
    QAction* sweepAction() const { return sweep_; }
    QAction* beaconAction() const { return beacon_; }

private:
    void openCalibrate();
    void openSweep();
    void openBeacon();

    MainWindow& window_;
    QAction* calibrate_ = nullptr;
    QAction* sweep_ = nullptr;
    SweepDialog* sweepDialog_ = nullptr; // created on first use
    QAction* beacon_ = nullptr;
    BeaconDialog* beaconDialog_ = nullptr; // created on first use
};

} // namespace kelvane::ui
