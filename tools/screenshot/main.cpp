// kelvane-screenshot FILE.png: renders the main window as it opens and saves
// the picture, for the README. Run it under a real display server (scripts/
// screenshot uses Xvfb) so that fonts and style are those a user sees. The
// user's stored window position is neither read nor written.

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "ui/main_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kelvane-screenshot FILE.png\n");
        return 2;
    }
    QTemporaryDir settingsDir;
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());

    kelvane::ui::MainWindow window;
    window.show();
    int status = 1;
    // Once the first frame is painted, the window's own rendering is the picture.
    QTimer::singleShot(500, &app, [&] {
        status = window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
        if (status != 0) std::fprintf(stderr, "kelvane-screenshot: cannot write %s\n", argv[1]);
        app.quit();
    });
    QApplication::exec();
    return status;
}
