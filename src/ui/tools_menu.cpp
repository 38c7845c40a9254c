#include "ui/tools_menu.h"

#include <QMenuBar>

#include "ui/calibrate_dialog.h"
#include "ui/main_window.h"

namespace kelvane::ui {

ToolsMenu::ToolsMenu(MainWindow& window) : QObject(&window), window_(window) {
    setObjectName(QStringLiteral("ToolsMenu"));
    QMenu* menu = window_.menuBar()->addMenu(QStringLiteral("&Tools"));
    menu->setObjectName(QStringLiteral("Tools"));
    calibrate_ =
        menu->addAction(QStringLiteral("Calibrate Reference..."), this, &ToolsMenu::openCalibrate);
    calibrate_->setObjectName(QStringLiteral("CalibrateReference"));
}

// A new dialog each time, so that it compares with the plan shown now.
void ToolsMenu::openCalibrate() {
    CalibrateDialog dialog(window_);
    dialog.exec();
}

} // namespace kelvane::ui
