// The main window as it opens and closes: every control with its kind, text,
// visibility and colour, the names an outside tool finds, and the stored
// position.

#include <QFontInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QtTest>

#include "model/window_position.h"
#include "shown_state.h"
#include "ui/main_window_controls.h"

using kelvane::ui::MainWindow;
using namespace window_support;

namespace {

const QString startUpListing = "          7    00000017        13   0000008D\n"
                               "         12   0000001C         9    28001409\n"
                               "          8    0111CE58         6    001F3326\n"
                               "          5    A0040005         4    FF4810A4\n"
                               "          3    00A87303         2    04F42402\n"
                               "          1    00000011         0    61A80E80\n";

// Pixels from twips down the screen, and the stored texts of a position.
int pixelsDown(float twips) {
    return kelvane::pixelsFromTwips(twips, QGuiApplication::primaryScreen()->logicalDotsPerInchY());
}
QString storedText(QPoint at) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const auto text = [](int pixels, double dpi) {
        return QString::fromStdString(kelvane::twipsText(kelvane::twipsFromPixels(pixels, dpi)));
    };
    return text(at.x(), screen->logicalDotsPerInchX()) + "|" +
           text(at.y(), screen->logicalDotsPerInchY());
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
    QTemporaryDir settingsDir_;

private slots:
    void initTestCase() { isolateSettings(settingsDir_); }
    void init() { windowSettings()->clear(); }

    // Controls by kind, in groups; see shownState for what a state holds.
    void startUpState_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("names");
        QTest::addColumn<QString>("state");
        auto row = [](const char* kind, const char* names, const QString& state) {
            QTest::newRow(names) << kind << names << state;
        };
        row("QLineEdit", "Fo Fr Res RFMultText CPNo", " 2320.25| 10| 10|1|1");
        row("QCheckBox", "RefDbl LockFo ExtVCO CPP",
            "Ref Doubler [ ]|Fix Fout with divider [ ]|Ext VCO [ ]|-Ve CPP [ ] (hidden)");
        // A scroll bar reads "top..bottom = value".
        row("QScrollBar", "Rscroll Odiv ChgWSJT", "1..4096 = 1|1..63 = 1|0..15 = 0");
        row("QScrollBar", "CPGscroll Dither Order Mux", "31..0 = 19|0..3 = 1|0..4 = 2|13..0 = 3");
        row("QScrollBar", "OutTerm VcoGain DivGain", "15..0 = 12|15..0 = 12|15..0 = 12");
        // The settings' captions keep their start texts.
        row("QLabel", "CPGlabel DitherLabel OrderLabel MuxCaption",
            " 20 | Medium Dither|Order 2|Dig Lock Det High");
        row("QLabel", "OutTermLabel VcoGainLabel DivGainLabel",
            " 12 Out Term| 12 VCO Gain| 12 Div Gain");
        // The plan's displays show the start-up recalculation.
        row("QLabel", "Fv Fc Dn", "2320.25 MHz|10000. kHz #0000ff|D =    1000000");
        row("QLabel", "Frlabel Nlabel StepLbl OPerr", "F =      25000|N =       232|| #ff0000");
        row("QLabel", "ChipType Rlabel ODivlabel OPResLabel",
            "LMX2541-2380E  #408001|R divider 1|Output Divider 1|O/P Resolution  Hz, (set denom)");
        row("QLabel", "Label1 Label2 Label3 Label4",
            " Output Freq   MHz|Fvco|Chip Version(s) allowed|Reference Input  MHz");
        row("QLabel", "Label5 Label6 Label7 Label9 Label10 WSJT",
            "Final RF Multiplication|Set COM Port|Fcomp|S-D Modulator|Charge Pump Gain|"
            "WSJT Mode Step");
        row("QPushButton", "SetCP Reg2FSK Export", "COM Port|Reg2 FSK|PIC Register Export");
        row("QPushButton", "Update QuickUpdate StoreEE Init QStepUp QStepDn",
            "Update all registers (hidden)|Quick Freq Update (hidden)|Store to EE (hidden)|"
            "Init from EE (hidden)|/\\ (hidden)|\\/ (hidden)");
        row("QPlainTextEdit", "Text1", startUpListing);
    }

    void startUpState() {
        QFETCH(QString, kind);
        QFETCH(QString, names);
        MainWindow window;
        for (const QString& name : names.split(' ')) {
            const QWidget* widget = control(window, name);
            QVERIFY2(widget && widget->inherits(qPrintable(kind)), qPrintable(name));
        }
        QTEST(shownStates(window, names), "state");
    }

    // Outside tools find the window and each control, the export and FSK
    // windows' included, by its name in the accessible description; only
    // controls without a caption of their own carry an accessible name, so
    // that a screen reader reads a label's or button's live caption.
    void everyControlNamesItself() {
        MainWindow window;
        QCOMPARE(window.objectName(), "LMX2541");
        QCOMPARE(window.windowTitle(), QStringLiteral("Kelvane " KELVANE_VERSION));
        window.controls().Reg2FSK->click();
        int named = 0;
        for (const QWidget* widget : window.findChildren<QWidget*>()) {
            const QString name = widget->objectName();
            if (name.isEmpty() || name.startsWith("qt_")) continue;
            ++named;
            QCOMPARE(widget->accessibleDescription(), name);
            const bool captionless = qobject_cast<const QLineEdit*>(widget) ||
                                     qobject_cast<const QPlainTextEdit*>(widget) ||
                                     qobject_cast<const QScrollBar*>(widget) ||
                                     name == "VcoCoverage";
            if (captionless)
                QVERIFY2(!widget->accessibleName().isEmpty(), qPrintable(name));
            else if (qobject_cast<const QLabel*>(widget) ||
                     qobject_cast<const QAbstractButton*>(widget))
                QVERIFY2(widget->accessibleName().isEmpty(), qPrintable(name));
        }
        QVERIFY(named >= 75);
        QCOMPARE(window.controls().Fo->accessibleName(), "Output frequency, MHz");
        // The listing's columns line up; the VCO coverage shows the start-up VCO.
        QVERIFY(QFontInfo(window.controls().Text1->font()).fixedPitch());
        QCOMPARE(window.controls().VcoCoverage->frequency(), 2320.25);
    }

    // Stored positions in twips, off the pixel grid; none off every screen.
    // Closing writes back what was read unless the window moved.
    void position_data() {
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("top");
        QTest::addColumn<QPoint>("opensAt");
        QTest::addColumn<QPoint>("movedTo"); // (0, 0): not moved
        QTest::addColumn<QString>("storedOnClose");
        auto row = [](const char* name, const char* left, const char* top, QPoint opensAt,
                      QPoint movedTo, const QString& stored) {
            QTest::newRow(name) << left << top << opensAt << movedTo << stored;
        };
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QPoint fallback = screen->availableGeometry().topLeft() + QPoint(0, pixelsDown(100));
        const QPoint leftHand(kelvane::pixelsFromTwips(-1000, screen->logicalDotsPerInchX()),
                              pixelsDown(1000));
        row("nothing stored", nullptr, nullptr, QPoint(0, pixelsDown(100)), {}, " 0| 100");
        row("left-hand monitor", "-1000", " 1000", leftHand, {}, "-1000| 1000");
        row("off every screen", " 1000000", "-1000000", fallback, {}, storedText(fallback));
        row("moved", nullptr, nullptr, QPoint(0, pixelsDown(100)), {150, 200},
            storedText({150, 200}));
    }

    void position() {
        QFETCH(QString, left);
        QFETCH(QString, top);
        QFETCH(QPoint, movedTo);
        if (!left.isNull()) windowSettings()->setValue("FormPLace/Left", left);
        if (!top.isNull()) windowSettings()->setValue("FormPLace/Top", top);
        {
            MainWindow window;
            QTEST(window.pos(), "opensAt");
            if (!movedTo.isNull()) window.move(movedTo);
            window.close();
        }
        const auto settings = windowSettings();
        QTEST(settings->value("FormPLace/Left").toString() + "|" +
                  settings->value("FormPLace/Top").toString(),
              "storedOnClose");
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
