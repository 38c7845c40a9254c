// The main window as it opens and closes: every control with its kind, text,
// visibility and colour, the plan and listing of the start-up inputs, the
// names an outside tool finds, and the stored position.

#include <QFontInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QtTest>

#include "model/window_position.h"
#include "ui/main_window_controls.h"
#include "window_support.h"

using kelvane::ui::MainWindow;
using namespace window_support;

namespace {

const QString startUpListing = "          7    00000017        13   0000008D\n"
                               "         12   0000001C         9    28001409\n"
                               "          8    0111CE58         6    001F3326\n"
                               "          5    A0040005         4    FF4810A4\n"
                               "          3    00A87303         2    04F42402\n"
                               "          1    00000011         0    61A80E80\n";

double dpiX() {
    return QGuiApplication::primaryScreen()->logicalDotsPerInchX();
}
double dpiY() {
    return QGuiApplication::primaryScreen()->logicalDotsPerInchY();
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void startUpState_data();
    void startUpState();
    void startUpColours_data();
    void startUpColours();
    void startUpVariablesAndWords();
    void listingIsFixedPitch();
    void everyControlNamesItself();
    void openingPosition_data();
    void openingPosition();
    void closingStoresTheNewPosition();

private:
    QTemporaryDir settingsDir_;
};

void TestMainWindow::initTestCase() {
    isolateSettings(settingsDir_);
}

void TestMainWindow::init() {
    windowSettings()->clear();
}

void TestMainWindow::startUpState_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("hidden");
    auto row = [](const char* name, const char* kind, const QString& state, bool hidden = false) {
        QTest::newRow(name) << name << kind << state << hidden;
    };
    // Plan inputs.
    row("Fo", "QLineEdit", " 2320.25");
    row("Fr", "QLineEdit", " 10");
    row("Res", "QLineEdit", " 10");
    row("RFMultText", "QLineEdit", "1");
    row("Rscroll", "QScrollBar", "1..4096 = 1");
    row("RefDbl", "QCheckBox", "Ref Doubler [ ]");
    row("Odiv", "QScrollBar", "1..63 = 1");
    row("LockFo", "QCheckBox", "Fix Fout with divider [ ]");
    row("ExtVCO", "QCheckBox", "Ext VCO [ ]");
    // Loop and output settings; the captions keep their start texts.
    row("CPGscroll", "QScrollBar", "31..0 = 19");
    row("CPP", "QCheckBox", "-Ve CPP [ ]", true);
    row("Dither", "QScrollBar", "0..3 = 1");
    row("Order", "QScrollBar", "0..4 = 2");
    row("Mux", "QScrollBar", "13..0 = 3");
    row("OutTerm", "QScrollBar", "15..0 = 12");
    row("VcoGain", "QScrollBar", "15..0 = 12");
    row("DivGain", "QScrollBar", "15..0 = 12");
    row("CPGlabel", "QLabel", " 20 ");
    row("DitherLabel", "QLabel", " Medium Dither");
    row("OrderLabel", "QLabel", "Order 2");
    row("MuxCaption", "QLabel", "Dig Lock Det High");
    row("OutTermLabel", "QLabel", " 12 Out Term");
    row("VcoGainLabel", "QLabel", " 12 VCO Gain");
    row("DivGainLabel", "QLabel", " 12 Div Gain");
    // Plan displays after the start-up recalculation.
    row("Fv", "QLabel", "2320.25 MHz");
    row("Fc", "QLabel", "10000. kHz");
    row("Dn", "QLabel", "D =    1000000");
    row("Frlabel", "QLabel", "F =      25000");
    row("Nlabel", "QLabel", "N =       232");
    row("StepLbl", "QLabel", "");
    row("OPerr", "QLabel", "");
    row("ChipType", "QLabel", "LMX2541-2380E ");
    row("Rlabel", "QLabel", "R divider 1");
    row("ODivlabel", "QLabel", "Output Divider 1");
    row("OPResLabel", "QLabel", "O/P Resolution  Hz, (set denom)");
    // Fixed captions.
    row("Label1", "QLabel", " Output Freq   MHz");
    row("Label2", "QLabel", "Fvco");
    row("Label3", "QLabel", "Chip Version(s) allowed");
    row("Label4", "QLabel", "Reference Input  MHz");
    row("Label5", "QLabel", "Final RF Multiplication");
    row("Label7", "QLabel", "Fcomp");
    row("Label9", "QLabel", "S-D Modulator");
    row("Label10", "QLabel", "Charge Pump Gain");
    // Register listing, device link, stepping, FSK and export.
    row("Text1", "QPlainTextEdit", startUpListing);
    row("CPNo", "QLineEdit", "1");
    row("SetCP", "QPushButton", "COM Port");
    row("Label6", "QLabel", "Set COM Port");
    row("Update", "QPushButton", "Update all registers", true);
    row("QuickUpdate", "QPushButton", "Quick Freq Update", true);
    row("StoreEE", "QPushButton", "Store to EE", true);
    row("Init", "QPushButton", "Init from EE", true);
    row("ChgWSJT", "QScrollBar", "0..15 = 0");
    row("WSJT", "QLabel", "WSJT Mode Step");
    row("QStepUp", "QPushButton", "/\\", true);
    row("QStepDn", "QPushButton", "\\/", true);
    row("Reg2FSK", "QPushButton", "Reg2 FSK");
    row("Export", "QPushButton", "PIC Register Export");
}

void TestMainWindow::startUpState() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    MainWindow window;
    QCOMPARE(window.objectName(), "LMX2541");
    QCOMPARE(window.windowTitle(), QStringLiteral("Kelvane " KELVANE_VERSION));
    QWidget* widget = control(window, name);
    QVERIFY(widget);
    QVERIFY2(widget->inherits(qPrintable(kind)), widget->metaObject()->className());
    QTEST(controlState(widget), "state");
    QTEST(widget->isHidden(), "hidden");
}

void TestMainWindow::startUpColours_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("colour");
    QTest::newRow("comparison frequency blue") << "Fc"
                                               << "#0000ff";
    QTest::newRow("error red before any error") << "OPerr"
                                                << "#ff0000";
    QTest::newRow("D fits the chip") << "Dn"
                                     << "#000000";
    QTest::newRow("variant dark green") << "ChipType"
                                        << "#408001";
}

void TestMainWindow::startUpColours() {
    QFETCH(QString, name);
    MainWindow window;
    QWidget* widget = control(window, name);
    QVERIFY(widget);
    for (auto group : {QPalette::Active, QPalette::Inactive})
        QTEST(widget->palette().color(group, QPalette::WindowText).name(), "colour");
}

// Start-up takes Fout and Fvco from the initial texts and leaves the window
// ready, with the words of the start-up plan in its state.
void TestMainWindow::startUpVariablesAndWords() {
    MainWindow window;
    const auto& s = window.state();
    QCOMPARE(s.notInit, 1);
    QCOMPARE(s.cp, 0.0);
    QCOMPARE(s.fout, 2320.25);
    QCOMPARE(s.fvco, 2320.25);
    QCOMPARE(s.r, 1);
    QCOMPARE(s.fres, 10.0);
    QCOMPARE(s.rfMult, 1.0);
    QCOMPARE(s.denom, 1000000.0);
    QCOMPARE(s.registers[0], 0x61A80E80);
    QCOMPARE(s.registers[7], 0x17);
    QCOMPARE(window.controls().VcoCoverage->frequency(), 2320.25);
}

void TestMainWindow::listingIsFixedPitch() {
    MainWindow window;
    QVERIFY(QFontInfo(window.controls().Text1->font()).fixedPitch());
    QVERIFY(window.controls().Text1->isReadOnly());
}

// Outside tools find each control by its name in the accessible description;
// only controls without a caption of their own carry an accessible name, so
// that a screen reader reads a label's or button's live caption.
void TestMainWindow::everyControlNamesItself() {
    MainWindow window;
    int named = 0;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        const QString name = widget->objectName();
        if (name.isEmpty() || name.startsWith("qt_")) continue;
        ++named;
        QCOMPARE(widget->accessibleDescription(), name);
        const bool captionless = qobject_cast<const QLineEdit*>(widget) ||
                                 qobject_cast<const QPlainTextEdit*>(widget) ||
                                 qobject_cast<const QScrollBar*>(widget) || name == "VcoCoverage";
        if (captionless)
            QVERIFY2(!widget->accessibleName().isEmpty(), qPrintable(name));
        else if (qobject_cast<const QLabel*>(widget) ||
                 qobject_cast<const QAbstractButton*>(widget))
            QVERIFY2(widget->accessibleName().isEmpty(), qPrintable(name));
    }
    QVERIFY(named >= 56);
    QCOMPARE(window.controls().Fo->accessibleName(), "Output frequency, MHz");
}

void TestMainWindow::openingPosition_data() {
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("top");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<QString>("storedOnClose");
    const auto px = [](float twips, double dpi) { return kelvane::pixelsFromTwips(twips, dpi); };
    QTest::newRow("nothing stored")
        << QString() << QString() << QPoint(0, px(100, dpiY())) << " 0| 100";
    QTest::newRow("leading blanks")
        << " 1500"
        << " 3000" << QPoint(px(1500, dpiX()), px(3000, dpiY())) << " 1500| 3000";
    QTest::newRow("left-hand monitor, still on screen")
        << "-1500"
        << " 1500" << QPoint(px(-1500, dpiX()), px(1500, dpiY())) << "-1500| 1500";
    QTest::newRow("no number") << "left"
                               << "" << QPoint(0, 0) << " 0| 0";
    const QPoint primary = QGuiApplication::primaryScreen()->availableGeometry().topLeft();
    const QPoint moved = primary + QPoint(0, px(100, dpiY()));
    QTest::newRow("off every screen")
        << " 1000000"
        << "-1000000" << moved
        << QString::fromStdString(kelvane::twipsText(kelvane::twipsFromPixels(moved.x(), dpiX())) +
                                  "|" +
                                  kelvane::twipsText(kelvane::twipsFromPixels(moved.y(), dpiY())));
}

void TestMainWindow::openingPosition() {
    QFETCH(QString, left);
    QFETCH(QString, top);
    if (!left.isNull()) windowSettings()->setValue("FormPLace/Left", left);
    if (!top.isNull()) windowSettings()->setValue("FormPLace/Top", top);
    {
        MainWindow window;
        QTEST(window.pos(), "position");
        window.close();
    }
    const auto settings = windowSettings();
    QTEST(settings->value("FormPLace/Left").toString() + "|" +
              settings->value("FormPLace/Top").toString(),
          "storedOnClose");
}

void TestMainWindow::closingStoresTheNewPosition() {
    MainWindow window;
    window.move(150, 200);
    window.close();
    const auto settings = windowSettings();
    QCOMPARE(settings->value("FormPLace/Left").toString(),
             QString::fromStdString(kelvane::twipsText(kelvane::twipsFromPixels(150, dpiX()))));
    QCOMPARE(settings->value("FormPLace/Top").toString(),
             QString::fromStdString(kelvane::twipsText(kelvane::twipsFromPixels(200, dpiY()))));
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
