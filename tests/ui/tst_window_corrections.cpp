// The window where it must not show or send anything stale or malformed: a
// refused plan, a thumb drag, Store to EE's two copies of a line, a word
// beyond 32 bits, the console and the resolution box under the mouse, the
// step buttons after a new output divider, and the read-back's R divider and
// its catching up when it restores nothing.

#include <QApplication>
#include <QPushButton>
#include <QtTest>

#include "box_closer.h"
#include "link/transfers.h"
#include "pty_board.h"
#include "shown_state.h"
#include "ui/exp_form.h"
#include "ui/fsk_reg2.h"
#include "ui/link_controller.h"
#include "ui/main_window_controls.h"

using kelvane::ui::MainWindow;
using namespace kelvane;
using namespace window_support;

class TestWindowCorrections : public QObject {
    Q_OBJECT
    QTemporaryDir settingsDir_;

private slots:
    void initTestCase() {
        isolateSettings(settingsDir_);
        QApplication::setQuitOnLastWindowClosed(false);
    }

    // A refused plan hides the export like any recalculation, keeping its
    // text, and Fc goes back from the reference handler's MHz preview to the
    // last plan's caption.
    void refusedPlanHidesTheExport() {
        MainWindow window;
        auto& c = window.controls();
        auto* form = window.findChild<ui::ExpForm*>();
        c.Export->click();
        const QString listing = shownStates(*form, "PasteText");
        c.Fr->setText("1e9");
        QVERIFY(form->isHidden());
        QCOMPARE(shownStates(*form, "PasteText"), listing);
        QCOMPARE(shownStates(window, "Fc"), "10000. kHz #0000ff");
    }

    void fskOnARefusedPlanSaysSo() {
        MainWindow window;
        auto& c = window.controls();
        c.Reg2FSK->click();
        auto* fsk = window.findChild<ui::FSKReg2*>();
        c.Res->setText("1e12");
        fsk->findChild<QPushButton*>("GenNewD")->click();
        QCOMPARE(shownStates(*fsk, "NewDResults"),
                 "No plan for these inputs (see the status line); correct them to get FSK data");
    }
};

QTEST_MAIN(TestWindowCorrections)
#include "tst_window_corrections.moc"
