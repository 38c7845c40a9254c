// kelvane: the window program.

#include <QApplication>

#include "ui/main_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Kelvane");
    QApplication::setApplicationName("Kelvane");
    QApplication::setApplicationVersion(KELVANE_VERSION);
    kelvane::ui::MainWindow window;
    window.show();
    return QApplication::exec();
}
