// The mode selector, the quick steps, the export and the FSK window as the
// main window runs them.

#include <QSignalSpy>
#include <QtTest>

#include "export/pic_listing.h"
#include "model/conversions.h"
#include "modes/fsk_report.h"
#include "ui/exp_form.h"
#include "ui/fsk_reg2.h"
#include "ui/main_window_controls.h"
#include "ui/modes_controller.h"
#include "window_support.h"

using namespace kelvane;
using kelvane::ui::MainWindow;
using namespace window_support;

namespace {

QString shown(const std::string& generated) {
    return QString::fromStdString(generated).replace("\r\n", "\n");
}

QWidget* exportWindow(MainWindow& window) {
    const auto forms = window.findChildren<ui::ExpForm*>();
    return forms.size() == 1 ? forms.front() : nullptr;
}

QString pasteText(MainWindow& window) {
    return window.findChild<QPlainTextEdit*>("PasteText")->toPlainText();
}

// The start-up texts, as the windows show them.
QString startUpListing() {
    const ControlState c;
    return shown(picListing(exportInputsFrom(c, std::get<Recalculation>(recalculate(
                                                    planInputsFrom(c), loopSettingsFrom(c)))))
                     .text);
}

} // namespace

class TestModesController : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void modeSelection_data();
    void modeSelection();
    void steps_data();
    void steps();
    void stepWhileNotReady();
    void exportShowsAndRecalculationHides();
    void exportListsWordsAsTheyStandWhileNotReady();
    void exportOfARefusedPlan();
    void fskWindowReadsTheMainWindow();

private:
    QTemporaryDir settingsDir_;
};

void TestModesController::initTestCase() {
    isolateSettings(settingsDir_);
}

void TestModesController::modeSelection_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("res");
    QTest::addColumn<double>("fres");
    QTest::addColumn<QString>("dn");
    QTest::newRow("JT65A") << 1 << "JT65A"
                           << "2.69165" << 2.69165 << "D =    3715193";
    QTest::newRow("WSPR * 256") << 12 << "WSPR * 256"
                                << "375." << 375.0 << "D =    26667";
    QTest::newRow("PI4 / 16") << 15 << "PI4 / 16"
                              << "14.648438" << 14.648438 << "D =    682667";
    QTest::newRow("back to 0") << 0 << "MFSK Mode"
                               << "10." << 10.0 << "D =    1000000";
}

void TestModesController::modeSelection() {
    QFETCH(int, value);
    MainWindow window;
    auto& c = window.controls();
    c.ChgWSJT->setValue(5);
    exportWindow(window)->show();
    c.ChgWSJT->setValue(value);
    QTEST(c.WSJT->text(), "caption");
    QTEST(c.Res->text(), "res");
    QTEST(window.state().fres, "fres");
    QTEST(c.Dn->text(), "dn");
    QVERIFY(exportWindow(window)->isHidden());
}

void TestModesController::steps_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("ups");
    QTest::addColumn<int>("downs");
    QTest::addColumn<QString>("fo");
    QTest::newRow("one up") << 0 << 1 << 0 << "2320.25001";
    QTest::newRow("one down") << 0 << 0 << 1 << "2320.24999";
    QTest::newRow("JT65A up") << 1 << 1 << 0 << "2320.25000269165";
    for (int mode : {0, 1, 10, 15})
        QTest::addRow("ten up, ten down, mode %d", mode) << mode << 10 << 10 << "2320.25";
}

void TestModesController::steps() {
    QFETCH(int, mode);
    QFETCH(int, ups);
    QFETCH(int, downs);
    QFETCH(QString, fo);
    MainWindow window;
    auto& c = window.controls();
    c.ChgWSJT->setValue(mode);
    const RegisterImage before = window.state().registers;
    QSignalSpy updates(&window.modes(), &ui::ModesController::quickFreqUpdateRequested);
    for (int i = 0; i < ups; ++i)
        c.QStepUp->click();
    for (int i = 0; i < downs; ++i)
        c.QStepDn->click();
    QCOMPARE(c.Fo->text(), fo);
    QCOMPARE(window.state().fout, val(fo.toStdString()));
    QCOMPARE(updates.count(), ups + downs);
    // Each step's recalculation ran before the update was asked for.
    QCOMPARE(window.state().registers == before, fo == "2320.25");
}

void TestModesController::stepWhileNotReady() {
    MainWindow window;
    auto& c = window.controls();
    const QString listing = c.Text1->toPlainText();
    QSignalSpy updates(&window.modes(), &ui::ModesController::quickFreqUpdateRequested);
    window.state().notInit = 0;
    c.QStepUp->click();
    QCOMPARE(c.Fo->text(), "2320.25001");
    QCOMPARE(window.state().fout, 2320.25001);
    QCOMPARE(c.Text1->toPlainText(), listing);
    QCOMPARE(updates.count(), 0);
}

void TestModesController::exportShowsAndRecalculationHides() {
    MainWindow window;
    auto& c = window.controls();
    QWidget* form = exportWindow(window);
    QVERIFY(form);
    QVERIFY(form->isHidden());

    c.Export->click();
    QVERIFY(form->isVisible());
    QCOMPARE(pasteText(window), startUpListing());

    setControl(c.Fo, "2320.5");
    QVERIFY(form->isHidden());
    c.Export->click();
    c.Export->click();
    QVERIFY(form->isVisible());
    QVERIFY(exportWindow(window));
    QVERIFY(pasteText(window).startsWith("  ;  Fout 2320.5MHz  Resolution  10Hz\n"));
    QVERIFY(pasteText(window).endsWith("   de  0xC3, 0x50, 0x0E, 0x80    ;  Reg0   \n"));
}

void TestModesController::exportListsWordsAsTheyStandWhileNotReady() {
    MainWindow window;
    auto& c = window.controls();
    window.state().notInit = 0;
    setControl(c.Fo, "2320.5");
    c.Export->click();
    QVERIFY(exportWindow(window)->isVisible());
    QStringList lines = startUpListing().split('\n');
    lines[0] = "  ;  Fout 2320.5MHz  Resolution  10Hz";
    QCOMPARE(pasteText(window), lines.join('\n'));
}

void TestModesController::exportOfARefusedPlan() {
    MainWindow window;
    setControl(window.controls().Res, "1e9");
    window.controls().Export->click();
    QVERIFY(exportWindow(window)->isVisible());
    QCOMPARE(pasteText(window),
             "No plan for these inputs (see the status line); correct them to get a PIC listing");
}

void TestModesController::fskWindowReadsTheMainWindow() {
    MainWindow window;
    auto& c = window.controls();
    c.Reg2FSK->click();
    c.Reg2FSK->click();
    const auto windows = window.findChildren<ui::FSKReg2*>();
    QCOMPARE(windows.size(), 1);
    QVERIFY(windows.front()->isVisible());
    auto* generate = windows.front()->findChild<QPushButton*>("GenNewD");
    auto* results = windows.front()->findChild<QPlainTextEdit*>("NewDResults");

    const ui::WindowState before = window.state();
    const QString listing = c.Text1->toPlainText();
    generate->click();
    QCOMPARE(results->toPlainText(),
             shown(fskReport({2320.25, 10, 1000000, 1, 1, 1, 10}, "-400").text));
    QVERIFY(window.state().registers == before.registers);
    QCOMPARE(window.state().denom, before.denom);
    QCOMPARE(c.Text1->toPlainText(), listing);

    // The multiplier is read from its box: the window keeps its factor for a
    // 0, the generator cannot use one.
    setControl(c.RFMultText, "0");
    generate->click();
    QCOMPARE(results->toPlainText(), "RF Mult must be a number other than 0, for example 1");
}

QTEST_MAIN(TestModesController)
#include "tst_modes_controller.moc"
