// The mode selector, the quick steps, and the export and FSK windows as the
// main window runs them.

#include <QClipboard>
#include <QSignalSpy>
#include <QtTest>

#include "export/pic_listing.h"
#include "model/conversions.h"
#include "model/recalculation.h"
#include "modes/fsk_report.h"
#include "shown_state.h"
#include "ui/export_window.h"
#include "ui/fsk_window.h"
#include "ui/main_window_controls.h"
#include "ui/modes_controller.h"

using namespace kelvane;
using kelvane::ui::MainWindow;
using namespace window_support;

namespace {

QString shown(const std::string& generated) {
    return QString::fromStdString(generated).replace("\r\n", "\n");
}

// The listing of the controls as set, made by the model on its own.
QString listingFor(const Inputs& c = {}) {
    const auto r = std::get<Recalculation>(recalculate(c, planVariablesFrom(c)));
    return shown(picListing(c, planVariablesFrom(c), r.plan, r.registers).text);
}

} // namespace

class TestModesController : public QObject {
    Q_OBJECT
    QTemporaryDir settingsDir_;

private slots:
    void initTestCase() { isolateSettings(settingsDir_); }

    // A mode writes its caption and its resolution, whose handler
    // recalculates; a click into the resolution box names the MFSK mode and
    // changes nothing else.
    void modeSelection() {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto& c = window.controls();
        c.ChgWSJT->setValue(1);
        QCOMPARE(shownStates(window, "WSJT Res Dn"), "JT65A|2.69165|D =    3715193");
        QSignalSpy recalculations(&window, &MainWindow::recalculated);
        QTest::mouseClick(c.Res, Qt::LeftButton);
        QCOMPARE(shownStates(window, "WSJT Res"), "MFSK Mode|2.69165");
        QCOMPARE(recalculations.count(), 0);
        c.ChgWSJT->setValue(0);
        QCOMPARE(shownStates(window, "WSJT Res Dn"), "MFSK Mode|10.|D =    1000000");
    }

    // Each step goes through the text of Fo, so steps back retrace it; a
    // ready window asks for a quick update after each step's recalculation.
    void steps_data() {
        QTest::addColumn<bool>("ready");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("ups");
        QTest::addColumn<int>("downs");
        QTest::addColumn<QString>("fo");
        QTest::newRow("one up") << true << 0 << 1 << 0 << "2320.25001";
        QTest::newRow("JT65A down") << true << 1 << 0 << 1 << "2320.24999730835";
        QTest::newRow("not ready") << false << 0 << 1 << 0 << "2320.25001";
        for (int mode : {0, 1, 10, 15})
            QTest::addRow("ten up, ten down, mode %d", mode)
                << true << mode << 10 << 10 << "2320.25";
    }

    void steps() {
        QFETCH(bool, ready);
        QFETCH(int, mode);
        QFETCH(int, ups);
        QFETCH(int, downs);
        QFETCH(QString, fo);
        MainWindow window;
        auto& c = window.controls();
        c.ChgWSJT->setValue(mode);
        std::optional<ui::RecalculationHold> hold;
        if (!ready) hold.emplace(window.holdRecalculation());
        const RegisterImage before = window.state().registers;
        QSignalSpy updates(&window.modes(), &ui::ModesController::quickFreqUpdateRequested);
        for (int i = 0; i < ups; ++i)
            c.QStepUp->click();
        for (int i = 0; i < downs; ++i)
            c.QStepDn->click();
        QCOMPARE(c.Fo->text(), fo);
        QCOMPARE(window.state().variables.fout, val(fo.toStdString()));
        QCOMPARE(updates.count(), ready ? ups + downs : 0);
        QCOMPARE(window.state().registers == before, !ready || fo == "2320.25");
    }

    // A listing always belongs to the plan on screen: Export recalculates a
    // ready window first, any recalculation hides a listing on screen, and a
    // refused plan gets no listing. While the window is not ready, the words
    // are listed as they stand, under the texts as they stand. The largest
    // listing shows whole.
    void exportListsThePlanOnScreen() {
        MainWindow window;
        auto& c = window.controls();
        auto* form = window.findChild<ui::ExportWindow*>();
        QVERIFY(form && form->isHidden());
        c.Export->click();
        QVERIFY(form->isVisible());
        QCOMPARE(shownStates(*form, "PasteText"), listingFor());

        {
            const auto hold = window.holdRecalculation();
            setControl(c.Fo, "2320.5");
            c.Export->click();
            QStringList lines = listingFor().split('\n');
            lines[0] = "  ;  Fout 2320.5MHz  Resolution  10Hz";
            QCOMPARE(shownStates(*form, "PasteText"), lines.join('\n'));

            setControl(c.Rscroll, "2");
        }
        c.Export->click();
        QVERIFY(form->isVisible());
        QCOMPARE(shownStates(*form, "PasteText"), listingFor({.fo = "2320.5", .r = 2}));
        setControl(c.Fo, " 2320.25");
        QVERIFY(form->isHidden());
        c.Export->click();
        c.Export->click();
        QVERIFY(form->isVisible());
        QCOMPARE(window.findChildren<ui::ExportWindow*>().size(), 1); // however often
        QCOMPARE(shownStates(*form, "PasteText"), listingFor({.r = 2}));

        setControl(c.Res, "1e9");
        c.Export->click();
        QCOMPARE(shownStates(*form, "PasteText"),
                 "No plan for these inputs (see the status line); correct them to get a PIC "
                 "listing");

        // A window of its own, whose editable box shows the largest listing
        // whole and copies it.
        QCOMPARE(form->windowTitle(), "PIC Cut-and-paste");
        QVERIFY(form->isWindow());
        auto* box = form->findChild<QPlainTextEdit*>("PasteText");
        QVERIFY(!box->isReadOnly());
        QVERIFY(QFontInfo(box->font()).fixedPitch());
        form->setListing(picListing({.fo = "3999.99999999", .res = "0.001"},
                                    {.r = 4096, .rfMult = 16},
                                    {.denom = 4194303, .n = 262143, .fract = 4194303}, {})
                             .text);
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QCOMPARE(box->verticalScrollBar()->maximum(), 0);
        QCOMPARE(box->horizontalScrollBar()->maximum(), 0);
        QApplication::clipboard()->clear();
        box->setFocus();
        box->selectAll();
        QTest::keySequence(box, QKeySequence::Copy);
        QCOMPARE(QApplication::clipboard()->text(), box->toPlainText());
    }

    // One FSK window, reading the plan and its own shift afresh at every
    // press and changing nothing in the main window.
    void fskWindowReadsTheLivePlan() {
        MainWindow window;
        auto& c = window.controls();
        c.Reg2FSK->click();
        c.Reg2FSK->click();
        const auto windows = window.findChildren<ui::FskWindow*>();
        QCOMPARE(windows.size(), 1);
        ui::FskWindow& fsk = *windows.front();
        QVERIFY(fsk.isVisible());
        QVERIFY(fsk.isWindow());
        QCOMPARE(fsk.windowTitle(), "FSK Generated using Reg2 only");
        QCOMPARE(shownStates(fsk, "Label1 FSKShift GenNewD NewDResults"),
                 "FSK Shift|-400|Generate D data|");
        auto* results = fsk.findChild<QPlainTextEdit*>("NewDResults");
        QVERIFY(QFontInfo(results->font()).fixedPitch());
        auto* generate = fsk.findChild<QPushButton*>("GenNewD");

        const RegisterImage before = window.state().registers;
        generate->click();
        QCOMPARE(results->toPlainText(),
                 shown(fskReport({}, {}, {.fcomp = 10, .denom = 1000000}, "-400").text));
        QVERIFY(window.state().registers == before);

        setControl(fsk.findChild<QLineEdit*>("FSKShift"), "minus 400");
        generate->click();
        QCOMPARE(results->toPlainText(), "FSK Shift must be a number, for example -400");
        // The window keeps its multiplier for a 0; the generator reads the box.
        setControl(fsk.findChild<QLineEdit*>("FSKShift"), "-400");
        setControl(c.RFMultText, "0");
        generate->click();
        QCOMPARE(results->toPlainText(), "RF Mult must be a number other than 0, for example 1");
    }
};

QTEST_MAIN(TestModesController)
#include "tst_modes_controller.moc"
