// The handler chains of the main window: one control's change setting
// another's, the recalculation guard, changes that are no changes, and plans
// the model refuses.

#include <QSignalSpy>
#include <QtTest>

#include "model/conversions.h"
#include "shown_state.h"
#include "ui/main_window_controls.h"

using kelvane::ui::MainWindow;
using namespace window_support;

class TestWindowHandlers : public QObject {
    Q_OBJECT
    QTemporaryDir settingsDir_;

private slots:
    void initTestCase() { isolateSettings(settingsDir_); }

    // Either the VCO stays and the output follows, or (LockFo) the output
    // stays and the VCO moves; back at 1, the output is the VCO's again.
    void outputDivider_data() {
        QTest::addColumn<bool>("lockFo");
        QTest::addColumn<QString>("startFo");
        QTest::addColumn<int>("divider");
        QTest::addColumn<QString>("shown"); // Fo, Fv, ChipType, StepLbl
        QTest::addColumn<QString>("foAtOne");
        auto row = [](const char* name, bool lockFo, const char* startFo, int divider,
                      const char* shown, const char* foAtOne) {
            QTest::newRow(name) << lockFo << startFo << divider << shown << foAtOne;
        };
        row("VCO stays, output follows", false, " 2320.25", 2,
            "1160.125|2320.25 MHz|LMX2541-2380E  #408001|Step =  20.", "2320.25");
        row("output fixed, VCO out of range", true, " 2320.25", 2,
            " 2320.25|4640.5 MHz|Invalid Frequency Range #ff0000|Step =  20.", " 2320.25");
        row("rounded output moves the VCO", false, " 2320.25", 3,
            "773.41667|2320.25001 MHz|LMX2541-2380E  #408001|Step =  30.00003", "2320.25001");
        row("whole output keeps two decimals", false, "2320", 2,
            "1160.00|2320.0 MHz|LMX2541-2380E  #408001|Step =  20.", "2320.00");
    }

    void outputDivider() {
        QFETCH(bool, lockFo);
        QFETCH(QString, startFo);
        QFETCH(int, divider);
        MainWindow window;
        auto& c = window.controls();
        c.LockFo->setChecked(lockFo);
        c.Fo->setText(startFo);
        c.Odiv->setValue(divider);
        QTEST(shownStates(window, "Fo Fv ChipType StepLbl"), "shown");
        QCOMPARE(shownStates(window, "ODivlabel OPResLabel"),
                 QString("Output Divider %1|Divided O/P Resolution  Hz").arg(divider));
        QCOMPARE(window.state().variables.fout, kelvane::val(c.Fo->text().toStdString()));
        QCOMPARE(window.state().registers[4] >> 12 & 0x3F, divider);
        QVERIFY(!c.QuickUpdate->isEnabled()); // a new divider needs the full update

        c.Odiv->setValue(1);
        QTEST(c.Fo->text(), "foAtOne");
        QCOMPARE(shownStates(window, "StepLbl OPResLabel"), "|O/P Resolution  Hz");
    }

    // With the doubler on, R is 1; the scroll bar keeps its value for later.
    void doublerHidesAndRestoresR() {
        MainWindow window;
        auto& c = window.controls();
        c.Rscroll->setValue(5);
        c.RefDbl->setChecked(true);
        QCOMPARE(window.state().variables.r, 1);
        QCOMPARE(shownStates(window, "Rlabel Rscroll Fc"),
                 "R divider 5 (hidden)|1..4096 = 5 (hidden)|20000. kHz #0000ff");
        c.RefDbl->setChecked(false);
        QCOMPARE(window.state().variables.r, 5);
        QCOMPARE(shownStates(window, "Rlabel Rscroll Fc"),
                 "R divider 5|1..4096 = 5|2000. kHz #0000ff");
    }

    // Leaving the external VCO clears the polarity through the polarity box's
    // own handler, then recalculates once more.
    void externalVcoClearsPolarity() {
        MainWindow window;
        auto& c = window.controls();
        const auto reg3 = [&] { return window.state().registers[3] & (1 << 4 | 1 << 17); };
        c.ExtVCO->setChecked(true);
        QCOMPARE(reg3(), 1 << 4);
        c.CPP->setChecked(true);
        QCOMPARE(shownStates(window, "CPP"), "+ CPP [x]");
        QCOMPARE(reg3(), 1 << 4 | 1 << 17);

        QSignalSpy recalculations(&window, &MainWindow::recalculated);
        c.ExtVCO->setChecked(false);
        QCOMPARE(shownStates(window, "CPP"), "-- CPP [ ] (hidden)");
        QCOMPARE(recalculations.count(), 2);
        QCOMPARE(window.state().registers[3], 0x00A87303);
    }

    void multiplierZeroKeepsTheLastFactor() {
        MainWindow window;
        auto& c = window.controls();
        c.Fo->setText("4640.5");
        c.RFMultText->setText("2");
        QCOMPARE(window.state().plan.denom, 2000000.0);
        for (const char* text : {"0", "", "-1", "x"}) {
            c.RFMultText->setText(text);
            QCOMPARE(window.state().variables.rfMult, 2.0);
            QCOMPARE(window.state().variables.fvco, 2320.25);
            QCOMPARE(c.Fv->text(), "2320.25 MHz");
        }
    }

    // Setting a control to the value it has runs nothing: the settings'
    // captions keep their start texts. While the window is not ready, a change
    // sets its own caption and variables and nothing else; the next
    // recalculation picks it up.
    void handlersRunOnlyWhenDue_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("changed");
        QTest::addColumn<QString>("captionOf");
        QTest::addColumn<QString>("caption");
        auto row = [](const char* name, const char* current, const char* changed,
                      const char* captionOf, const char* caption) {
            QTest::newRow(name) << name << current << changed << captionOf << caption;
        };
        row("Fo", " 2320.25", "1000", "Fo", "1000");
        row("Fr", " 10", "12.8", "Fc", " 12.8 #0000ff");
        row("Res", " 10", "5", "Res", "5");
        row("RFMultText", "1", "2", "RFMultText", "2");
        row("Rscroll", "1", "3", "Rlabel", "R divider 3");
        row("RefDbl", "0", "1", "Rlabel", "R divider 1 (hidden)");
        row("Odiv", "1", "2", "Fo", "1160.125");
        row("ExtVCO", "0", "1", "CPP", "-Ve CPP [ ]");
        row("CPGscroll", "19", "31", "CPGlabel", " 32");
        row("CPP", "0", "1", "CPP", "+ CPP [x] (hidden)");
        row("Order", "2", "1", "OrderLabel", "Order  1");
        row("Mux", "3", "13", "MuxCaption", "PFD Down");
        row("DivGain", "12", "3", "DivGainLabel", " 3 Div Gain");
    }

    void handlersRunOnlyWhenDue() {
        QFETCH(QString, name);
        QFETCH(QString, current);
        QFETCH(QString, changed);
        QFETCH(QString, captionOf);
        MainWindow window;
        const auto before = snapshot(window);
        const auto registers = window.state().registers;
        QSignalSpy recalculations(&window, &MainWindow::recalculated);
        setControl(control(window, name), current);
        QCOMPARE(recalculations.count(), 0);
        QCOMPARE(snapshot(window), before);

        {
            const auto hold = window.holdRecalculation();
            setControl(control(window, name), changed);
            QTEST(shownStates(window, captionOf), "caption");
            QCOMPARE(recalculations.count(), 0);
            QVERIFY(window.state().registers == registers);
        }
        window.recalculateIfReady();
        QCOMPARE(recalculations.count(), 1);
        QVERIFY(window.state().registers != registers);
    }

    // A refused plan changes nothing but D (red) and the status line, whose
    // reason stays until the next defined plan.
    void refusedPlanKeepsTheLastPlan() {
        MainWindow window;
        auto& c = window.controls();
        auto before = snapshot(window);
        const auto registers = window.state().registers;
        QSignalSpy recalculations(&window, &MainWindow::recalculated);
        c.Res->setText("100000000");
        QCOMPARE(shownStates(window, "Dn"), "D =    0 #ff0000");
        QVERIFY(!shownStates(window, "PlanStatus").isEmpty());
        QCOMPARE(recalculations.count(), 0);
        QVERIFY(window.state().registers == registers);
        QCOMPARE(window.state().plan.denom, 1000000.0);
        auto after = snapshot(window);
        for (const char* changed : {"Dn", "Res", "PlanStatus", "statusbar"}) {
            after.remove(changed);
            before.remove(changed);
        }
        QCOMPARE(after, before);

        c.Order->setValue(1);
        QVERIFY(!shownStates(window, "PlanStatus").isEmpty());
        c.Res->setText(" 10");
        QCOMPARE(shownStates(window, "Dn PlanStatus"), "D =    1000000|");
        QCOMPARE(recalculations.count(), 1);

        // A refusal with no D of its own (R = 0, which no control can set, here
        // through a restore) leaves the D text as it was.
        window.applyRestore({.inputs = window.inputs(),
                             .rField = 0,
                             .variables = window.planVariables(),
                             .divGainLabel = c.DivGainLabel->text().toStdString(),
                             .rlabel = c.Rlabel->text().toStdString()});
        QCOMPARE(shownStates(window, "Dn"), "D =    1000000 #ff0000");
        QVERIFY(!shownStates(window, "PlanStatus").isEmpty());
    }
};

QTEST_MAIN(TestWindowHandlers)
#include "tst_window_handlers.moc"
