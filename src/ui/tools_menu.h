#pragma once
// The main window's Tools menu: "Calibrate Reference..." and "Sweep...".

#include <QObject>

class QAction;

namespace kelvane::ui {

class MainWindow;

class ToolsMenu : public QObject {
    Q_OBJECT
public:
    // Adds the menu to the window's menu bar; the window owns the menu.
    explicit ToolsMenu(MainWindow& window);

    QAction* calibrateAction() const { return calibrate_; }

private:
    void openCalibrate();

    MainWindow& window_;
    QAction* calibrate_ = nullptr;
};

} // namespace kelvane::ui
