#include "ui/main_window.h"

namespace kelvane::ui {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName("LMX2541");
    setWindowTitle("Kelvane");
}

} // namespace kelvane::ui
