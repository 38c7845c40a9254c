#pragma once

#include <QMainWindow>

namespace kelvane::ui {

// The main window LMX2541: the whole working surface of the program.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
};

} // namespace kelvane::ui
