// kelvane-screenshot DIR: renders the windows for the README, each as a user
// first sees it, into DIR/main-window.png, DIR/export-window.png (after
// "PIC Register Export"), DIR/fsk-window.png (after "Generate D data"),
// DIR/calibrate-dialog.png (with a measured output typed in),
// DIR/sweep-dialog.png (with its start-up fields) and DIR/setups-window.png (a
// folder of three setups, one of them opened).
// Run it under a real display server (scripts/screenshot uses Xvfb) so that
// fonts and style are those a user sees. The user's stored window position is
// neither read nor written.

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <initializer_list>

#include "setup/setup_file.h"
#include "ui/calibrate_dialog.h"
#include "ui/main_window.h"
#include "ui/setup_controller.h"
#include "ui/setups_window.h"
#include "ui/sweep_dialog.h"
#include "ui/tools_menu.h"

namespace {

// Time for the window manager and the first paint before a picture is taken.
constexpr int settleMs = 500;

// The top-level window with this object name, once it is on screen.
QWidget* shownWindow(const char* name) {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String(name) && widget->isVisible()) return widget;
    return nullptr;
}

// Presses a button of `window` as a user does; false if it has no such button.
bool press(QWidget& window, const char* button) {
    auto* target = window.findChild<QAbstractButton*>(button);
    if (!target) return false;
    target->click();
    return true;
}

struct Shot {
    QWidget* window;
    const char* file;
};

// Writes every picture; prints why and returns false at the first that fails.
bool saveShots(const QDir& dir, std::initializer_list<Shot> shots) {
    for (const Shot& shot : shots) {
        const QString path = dir.filePath(shot.file);
        if (!shot.window->grab().save(path)) {
            std::fprintf(stderr, "kelvane-screenshot: cannot write %s\n", qPrintable(path));
            return false;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return true;
}

// A few setups of the kind the Setups window is for, in `folder`.
void writeExampleSetups(const QString& folder) {
    using kelvane::setup::Setup;
    auto inputs = [](const char* fo, const char* rfMult) {
        kelvane::Inputs i;
        i.fo = fo;
        i.rfMult = rfMult;
        return i;
    };
    const std::pair<const char*, Setup> setups[] = {
        {"lo-10368", {"10368 LO", "x4 multiplier to the 3 cm band", inputs("10368", "4")}},
        {"beacon-24048", {"24 GHz beacon", "x12, keyed by the PIC", inputs("24048.9", "12")}},
        {"lab-2304", {"Lab 2304.1", "bench source for the 13 cm converter", inputs("2304.1", "1")}},
    };
    for (const auto& [file, setup] : setups)
        kelvane::setup::writeSetup(folder + "/" + file + ".kelvane", setup, std::nullopt);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kelvane-screenshot DIR\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.exists()) {
        std::fprintf(stderr, "kelvane-screenshot: no folder %s\n", argv[1]);
        return 2;
    }
    QTemporaryDir settingsDir;
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());

    QTemporaryDir setupsDir;
    writeExampleSetups(setupsDir.path());

    kelvane::ui::MainWindow window;
    auto* setups = &window.setups();
    window.show();
    const auto calibrateDialog = window.tools().calibrateDialog();
    kelvane::ui::CalibrateDialog& calibrate = *calibrateDialog;
    calibrate.findChild<QLineEdit*>("Measured")->setText("2320.250023");
    calibrate.show();
    kelvane::ui::SweepDialog& sweep = window.tools().sweepDialog();
    sweep.show();
    int status = 1;
    QTimer::singleShot(settleMs, &app, [&] {
        QWidget* fsk = nullptr;
        if (press(window, "Export") && press(window, "Reg2FSK")) fsk = shownWindow("FSKReg2");
        QWidget* exported = shownWindow("ExpForm");
        if (!fsk || !exported || !press(*fsk, "GenNewD")) {
            std::fprintf(stderr, "kelvane-screenshot: the export or FSK window did not open\n");
            app.quit();
            return;
        }
        QTimer::singleShot(settleMs, &app, [&, fsk, exported] {
            status = saveShots(dir, {{&window, "main-window.png"},
                                     {exported, "export-window.png"},
                                     {fsk, "fsk-window.png"},
                                     {&calibrate, "calibrate-dialog.png"},
                                     {&sweep, "sweep-dialog.png"}})
                         ? 0
                         : 1;
            auto& list = setups->setupsWindow();
            list.setFolder(setupsDir.path());
            setups->open(setupsDir.filePath("lo-10368.kelvane"));
            list.show();
            QTimer::singleShot(settleMs, &app, [&] {
                if (status == 0) status = saveShots(dir, {{&list, "setups-window.png"}}) ? 0 : 1;
                app.quit();
            });
        });
    });
    QApplication::exec();
    return status;
}
