// The handler chains of the main window: one control's change setting
// another's, the recalculation guard, changes that are no changes, and plans
// the model refuses.

#include <QSignalSpy>
#include <QtTest>

#include "model/conversions.h"
#include "ui/main_window_controls.h"
#include "window_support.h"

using kelvane::ui::MainWindow;
using namespace window_support;

namespace {

QString plain(double value) {
    return QString::fromStdString(kelvane::plainNumberText(value));
}

QString textColour(const QWidget* widget) {
    return widget->palette().color(QPalette::WindowText).name();
}

// Fields of the register words, as the chip reads them.
int rField(MainWindow& w) {
    return static_cast<int>((w.state().registers[1] >> 4) & 0xFFF);
}
bool reg3Bit(MainWindow& w, int bit) {
    return (w.state().registers[3] >> bit) & 1;
}

} // namespace

class TestWindowHandlers : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void outputDivider_data();
    void outputDivider();
    void outputDividerBackToOne();
    void doublerHidesAndRestoresR();
    void externalVcoClearsPolarity();
    void multiplierZeroKeepsTheLastFactor();
    void clickIntoResolutionNamesTheMode();
    void changesWhileNotReady_data();
    void changesWhileNotReady();
    void sameValueRunsNothing_data();
    void sameValueRunsNothing();
    void refusedPlanKeepsTheLastPlan_data();
    void refusedPlanKeepsTheLastPlan();
    void zeroReferenceDividerIsRefused();

private:
    QTemporaryDir settingsDir_;
};

void TestWindowHandlers::initTestCase() {
    isolateSettings(settingsDir_);
}

void TestWindowHandlers::outputDivider_data() {
    QTest::addColumn<bool>("lockFo");
    QTest::addColumn<QString>("startFo");
    QTest::addColumn<int>("divider");
    QTest::addColumn<QString>("fo");
    QTest::addColumn<QString>("fvco");
    QTest::addColumn<QString>("chipType");
    QTest::addColumn<QString>("step");
    QTest::newRow("VCO stays, output follows") << false << " 2320.25" << 2 << "1160.125"
                                               << "2320.25"
                                               << "LMX2541-2380E "
                                               << "Step =  20.";
    QTest::newRow("output fixed, VCO moves out of range") << true << " 2320.25" << 2 << " 2320.25"
                                                          << "4640.5"
                                                          << "Invalid Frequency Range"
                                                          << "Step =  20.";
    QTest::newRow("rounded output moves the VCO") << false << " 2320.25" << 3 << "773.41667"
                                                  << "2320.25001"
                                                  << "LMX2541-2380E "
                                                  << "Step =  30.00003";
    QTest::newRow("whole output keeps two decimals") << false << "2320" << 2 << "1160.00"
                                                     << "2320"
                                                     << "LMX2541-2380E "
                                                     << "Step =  20.";
}

void TestWindowHandlers::outputDivider() {
    QFETCH(bool, lockFo);
    QFETCH(QString, startFo);
    QFETCH(int, divider);
    MainWindow window;
    auto& c = window.controls();
    c.LockFo->setChecked(lockFo);
    c.Fo->setText(startFo);
    c.Odiv->setValue(divider);
    QTEST(c.Fo->text(), "fo");
    QTEST(plain(window.state().fvco), "fvco");
    QTEST(c.ChipType->text(), "chipType");
    QTEST(c.StepLbl->text(), "step");
    QCOMPARE(c.ODivlabel->text(), QString("Output Divider %1").arg(divider));
    QCOMPARE(c.OPResLabel->text(), "Divided O/P Resolution  Hz");
    QCOMPARE(window.state().fout, kelvane::val(c.Fo->text().toStdString()));
    QCOMPARE(window.state().registers[13], 0xCD);
    QCOMPARE(window.state().registers[4] >> 12 & 0x3F, divider);
    QVERIFY(!c.QuickUpdate->isEnabled());
}

void TestWindowHandlers::outputDividerBackToOne() {
    MainWindow window;
    auto& c = window.controls();
    c.Odiv->setValue(2);
    c.Odiv->setValue(1);
    QCOMPARE(c.Fo->text(), "2320.25");
    QCOMPARE(c.OPResLabel->text(), "O/P Resolution  Hz");
    QCOMPARE(c.StepLbl->text(), "");
    QCOMPARE(window.state().registers[13], 0x8D);
}

void TestWindowHandlers::doublerHidesAndRestoresR() {
    MainWindow window;
    auto& c = window.controls();
    c.Rscroll->setValue(5);
    QCOMPARE(c.Rlabel->text(), "R divider 5");
    QCOMPARE(c.Fc->text(), "2000. kHz");

    c.RefDbl->setChecked(true);
    QCOMPARE(window.state().r, 1);
    QVERIFY(c.Rlabel->isHidden());
    QVERIFY(c.Rscroll->isHidden());
    QCOMPARE(c.Rscroll->value(), 5);
    QCOMPARE(c.Fc->text(), "20000. kHz");
    QCOMPARE(rField(window), 1);
    QVERIFY(reg3Bit(window, 18));

    c.RefDbl->setChecked(false);
    QCOMPARE(window.state().r, 5);
    QVERIFY(!c.Rlabel->isHidden());
    QVERIFY(!c.Rscroll->isHidden());
    QCOMPARE(c.Rlabel->text(), "R divider 5");
    QCOMPARE(c.Fc->text(), "2000. kHz");
    QCOMPARE(rField(window), 5);
    QVERIFY(!reg3Bit(window, 18));
}

void TestWindowHandlers::externalVcoClearsPolarity() {
    MainWindow window;
    auto& c = window.controls();
    c.ExtVCO->setChecked(true);
    QVERIFY(!c.CPP->isHidden());
    QCOMPARE(c.CPP->text(), "-Ve CPP");
    QVERIFY(reg3Bit(window, 4));

    c.CPP->setChecked(true);
    QCOMPARE(c.CPP->text(), "+ CPP");
    QVERIFY(reg3Bit(window, 17));

    QSignalSpy recalculations(&window, &MainWindow::recalculated);
    c.ExtVCO->setChecked(false);
    QVERIFY(!c.CPP->isChecked());
    QVERIFY(c.CPP->isHidden());
    QCOMPARE(c.CPP->text(), "-- CPP");
    QVERIFY(!reg3Bit(window, 4));
    QVERIFY(!reg3Bit(window, 17));
    QCOMPARE(recalculations.count(), 2); // the polarity box's own, then the external VCO's
    QCOMPARE(window.state().registers[3], 0x00A87303);
}

void TestWindowHandlers::multiplierZeroKeepsTheLastFactor() {
    MainWindow window;
    auto& c = window.controls();
    c.Fo->setText("4640.5");
    c.RFMultText->setText("2");
    QCOMPARE(window.state().rfMult, 2.0);
    QCOMPARE(window.state().fvco, 2320.25);
    QCOMPARE(window.state().denom, 2000000.0);
    for (const char* text : {"0", "", "-1", "x"}) {
        c.RFMultText->setText(text);
        QCOMPARE(window.state().rfMult, 2.0);
        QCOMPARE(window.state().fvco, 2320.25);
        QCOMPARE(c.Fv->text(), "2320.25 MHz");
    }
}

void TestWindowHandlers::clickIntoResolutionNamesTheMode() {
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy recalculations(&window, &MainWindow::recalculated);
    QTest::mouseClick(window.controls().Res, Qt::LeftButton);
    QCOMPARE(window.controls().WSJT->text(), "MFSK Mode");
    QCOMPARE(window.controls().Res->text(), " 10");
    QCOMPARE(recalculations.count(), 0);
}

void TestWindowHandlers::changesWhileNotReady_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("captionOf");
    QTest::addColumn<QString>("caption");
    QTest::newRow("order") << "Order"
                           << "1"
                           << "OrderLabel"
                           << "Order  1";
    QTest::newRow("mux") << "Mux"
                         << "13"
                         << "MuxCaption"
                         << "PFD Down";
    QTest::newRow("gain") << "CPGscroll"
                          << "31"
                          << "CPGlabel"
                          << " 32";
    QTest::newRow("divider gain") << "DivGain"
                                  << "3"
                                  << "DivGainLabel"
                                  << " 3 Div Gain";
    QTest::newRow("R divider") << "Rscroll"
                               << "3"
                               << "Rlabel"
                               << "R divider 3";
    QTest::newRow("reference") << "Fr"
                               << "12.8"
                               << "Fc"
                               << " 12.8";
    QTest::newRow("output divider") << "Odiv"
                                    << "2"
                                    << "Fo"
                                    << "1160.125";
    QTest::newRow("output frequency") << "Fo"
                                      << "1000"
                                      << "Fo"
                                      << "1000";
    QTest::newRow("polarity") << "CPP"
                              << "1"
                              << "CPP"
                              << "+ CPP";
}

// While the window is not ready, a change sets its own captions and variables
// and nothing else; the next recalculation picks it up.
void TestWindowHandlers::changesWhileNotReady() {
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(QString, captionOf);
    MainWindow window;
    const auto registers = window.state().registers;
    const QString listing = window.controls().Text1->toPlainText();
    const QString dn = window.controls().Dn->text();
    QSignalSpy recalculations(&window, &MainWindow::recalculated);

    window.state().notInit = 0;
    setControl(control(window, name), value);
    QTEST(controlState(control(window, captionOf)).remove(" [x]"), "caption");
    QCOMPARE(recalculations.count(), 0);
    QVERIFY(window.state().registers == registers);
    QCOMPARE(window.controls().Text1->toPlainText(), listing);
    QCOMPARE(window.controls().Dn->text(), dn);

    window.state().notInit = 1;
    window.recalculateIfReady();
    QCOMPARE(recalculations.count(), 1);
    QVERIFY(window.state().registers != registers);
}

void TestWindowHandlers::sameValueRunsNothing_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::newRow("output frequency") << "Fo"
                                      << " 2320.25";
    QTest::newRow("resolution") << "Res"
                                << " 10";
    QTest::newRow("multiplier") << "RFMultText"
                                << "1";
    QTest::newRow("output divider") << "Odiv"
                                    << "1";
    QTest::newRow("R divider") << "Rscroll"
                               << "1";
    QTest::newRow("doubler") << "RefDbl"
                             << "0";
    QTest::newRow("external VCO") << "ExtVCO"
                                  << "0";
    QTest::newRow("gain keeps its start text") << "CPGscroll"
                                               << "19";
    QTest::newRow("order keeps its start text") << "Order"
                                                << "2";
    QTest::newRow("mux keeps its start text") << "Mux"
                                              << "3";
    QTest::newRow("polarity keeps its start text") << "CPP"
                                                   << "0";
}

void TestWindowHandlers::sameValueRunsNothing() {
    QFETCH(QString, name);
    QFETCH(QString, value);
    MainWindow window;
    const auto before = snapshot(window);
    QSignalSpy recalculations(&window, &MainWindow::recalculated);
    setControl(control(window, name), value);
    QCOMPARE(recalculations.count(), 0);
    QCOMPARE(snapshot(window), before);
}

void TestWindowHandlers::refusedPlanKeepsTheLastPlan_data() {
    QTest::addColumn<QString>("reference");
    QTest::addColumn<QString>("resolution");
    QTest::addColumn<QString>("dn");
    QTest::newRow("D rounds to 0") << " 10"
                                   << "100000000"
                                   << "D =    0";
    QTest::newRow("D beyond 32 bits") << "100"
                                      << ".0001"
                                      << "D =    1000000000000";
}

void TestWindowHandlers::refusedPlanKeepsTheLastPlan() {
    QFETCH(QString, reference);
    QFETCH(QString, resolution);
    MainWindow window;
    auto& c = window.controls();
    auto* status = window.findChild<QLabel*>("PlanStatus");
    QVERIFY(status);
    c.Fr->setText(reference);
    auto before = snapshot(window);
    const auto registers = window.state().registers;
    const double denom = window.state().denom;
    QSignalSpy recalculations(&window, &MainWindow::recalculated);

    c.Res->setText(resolution);
    QTEST(c.Dn->text(), "dn");
    QCOMPARE(textColour(c.Dn), "#ff0000");
    QVERIFY(!status->text().isEmpty());
    QCOMPARE(recalculations.count(), 0);
    QVERIFY(window.state().registers == registers);
    QCOMPARE(window.state().denom, denom);
    auto after = snapshot(window);
    for (const char* changed : {"Dn", "Res", "PlanStatus", "statusbar"}) {
        after.remove(changed);
        before.remove(changed);
    }
    QCOMPARE(after, before);

    // The reason stays until the next defined plan.
    c.Order->setValue(1);
    QVERIFY(!status->text().isEmpty());
    c.Res->setText(" 10");
    QVERIFY(status->text().isEmpty());
    QCOMPARE(recalculations.count(), 1);
    QCOMPARE(textColour(c.Dn), reference == " 10" ? "#000000" : "#ff0000");
}

void TestWindowHandlers::zeroReferenceDividerIsRefused() {
    MainWindow window;
    const QString dn = window.controls().Dn->text();
    const auto registers = window.state().registers;
    window.state().r = 0;
    window.recalculate();
    QCOMPARE(window.controls().Dn->text(), dn);
    QCOMPARE(textColour(window.controls().Dn), "#ff0000");
    QVERIFY(window.state().registers == registers);
    QVERIFY(!window.findChild<QLabel*>("PlanStatus")->text().isEmpty());
}

QTEST_MAIN(TestWindowHandlers)
#include "tst_window_handlers.moc"
