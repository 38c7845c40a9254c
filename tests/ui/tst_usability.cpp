// The window for an operator on a small screen and at the keyboard: Tab in
// reading order, bars that take the focus, Enter and the transfer shortcuts,
// the status fields after each transfer against the virtual board, a minimum
// size that fits 1280 x 700, tooltips, and captions that keep their width.

#include <QApplication>
#include <QPushButton>
#include <QScrollArea>
#include <QtTest>

#include "pty_board.h"
#include "ui/main_window_controls.h"
#include "window_support.h"

using kelvane::ui::MainWindow;
using namespace kelvane;
using namespace window_support;

namespace {

QString statusOf(MainWindow& window, const char* field) {
    return window.findChild<QLabel*>(field)->text();
}

// Shows the window and opens the board's port from the keyboard.
void openPort(MainWindow& window, const sim::PtyBoard& board) {
    window.show();
    window.controls().CPNo->setText(QString::fromStdString(board.devicePath()));
    BoxCloser closer;
    QTest::keyClick(window.controls().CPNo, Qt::Key_Return);
    QVERIFY(closer.shown());
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

} // namespace

class TestUsability : public QObject {
    Q_OBJECT
    QTemporaryDir settingsDir_;

private slots:
    void initTestCase() {
        isolateSettings(settingsDir_);
        QApplication::setQuitOnLastWindowClosed(false);
    }

    // Tab visits the controls in reading order; a click also gives a bar the
    // focus for its keys.
    void tabFollowsReadingOrder() {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.controls().Fo->setFocus();
        QStringList visited{"Fo"};
        for (int i = 0; i < 19; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, (QStringList{"Fo",      "Fr",    "Res",    "RFMultText", "Rscroll",
                                       "RefDbl",  "Odiv",  "LockFo", "ExtVCO",     "CPGscroll",
                                       "Mux",     "Order", "Dither", "OutTerm",    "VcoGain",
                                       "DivGain", "Text1", "CPNo",   "SetCP",      "ChgWSJT"}));
        for (const char* bar : {"Rscroll", "Odiv", "CPGscroll", "Mux"})
            QCOMPARE(control(window, bar)->focusPolicy(), Qt::StrongFocus);
    }

    // Each transfer from its key, and what the status bar says afterwards.
    void shortcutsReportEachTransfer_data() {
        QTest::addColumn<bool>("silent");
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("status");
        const QString quick = "Quick Freq Update: 3 lines sent to %1, 3 replies";
        const QString noReply = "No reply from the board: check power, cable and 9600 8N2";
        const QKeySequence update(Qt::Key_F5), init(Qt::CTRL | Qt::SHIFT | Qt::Key_I);
        QTest::newRow("Update all registers")
            << false << update << 12 << "Update all registers: 12 lines sent to %1, 12 replies";
        QTest::newRow("Quick Freq Update") << false << QKeySequence(Qt::Key_F6) << 3 << quick;
        QTest::newRow("step up") << false << QKeySequence(Qt::CTRL | Qt::Key_Up) << 3 << quick;
        QTest::newRow("Store to EE") << false << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E)
                                     << 36 << "Store to EE: 36 lines sent to %1, 36 replies";
        QTest::newRow("Init from EE") << false << init << 1 << "Init from EE: restored 2320.25 MHz";
        QTest::newRow("silent board") << true << update << 12 << noReply;
        QTest::newRow("silent read-back") << true << init << 1 << noReply;
    }
    void shortcutsReportEachTransfer() {
        QFETCH(bool, silent);
        QFETCH(QKeySequence, keys);
        QFETCH(int, lines);
        QFETCH(QString, status);
        sim::BoardOptions options;
        options.faults.noReply = silent;
        sim::PtyBoard board(options);
        MainWindow window;
        QCOMPARE(statusOf(window, "PortStatus"), "No port open");
        openPort(window, board);
        const QString device = QString::fromStdString(board.devicePath());
        QCOMPARE(statusOf(window, "PortStatus"), device + " \u00B7 9600 8N2");
        QTest::keySequence(&window, keys);
        QTRY_COMPARE_WITH_TIMEOUT(statusOf(window, "LinkStatus"), status.arg(device), 5000);
        QCOMPARE(QByteArray::fromStdString(board.received()).count('\n'), lines);
    }

    void enterInFskShiftGenerates() {
        MainWindow window;
        window.controls().Reg2FSK->click();
        auto* results = window.findChild<QPlainTextEdit*>("NewDResults");
        QVERIFY(results->toPlainText().isEmpty());
        QTest::keyClick(window.findChild<QLineEdit*>("FSKShift"), Qt::Key_Return);
        QVERIFY(!results->toPlainText().isEmpty());
    }

    // With the port open the least size fits 1280 x 700; below the content's
    // size it scrolls, so every button stays reachable.
    void fitsASmallScreen() {
        sim::PtyBoard board;
        MainWindow window;
        openPort(window, board);
        const QSize least = window.minimumSizeHint().expandedTo(window.minimumSize());
        QVERIFY2(least.width() <= 1280 && least.height() <= 700,
                 qPrintable(QString("%1 x %2").arg(least.width()).arg(least.height())));
        window.resize(least);
        window.findChild<QScrollArea*>("WindowScroll")
            ->ensureWidgetVisible(window.controls().Export);
        QVERIFY(!window.controls().Export->visibleRegion().isEmpty());
    }

    // Every input, setting, button and display carries a tooltip; a red D and
    // an out-of-range VCO also say so in words.
    void everyControlExplainsItself() {
        MainWindow window;
        for (QWidget* widget : window.findChildren<QWidget*>()) {
            const bool explained = qobject_cast<QLineEdit*>(widget) ||
                                   qobject_cast<QAbstractButton*>(widget) ||
                                   qobject_cast<QScrollBar*>(widget);
            const QString name = widget->objectName();
            if (explained && !name.isEmpty() && !name.startsWith("qt_"))
                QVERIFY2(!widget->toolTip().isEmpty(), qPrintable(name));
        }
        for (const char* display :
             {"Fv", "Fc", "Dn", "Frlabel", "Nlabel", "StepLbl", "OPerr", "ChipType", "Text1"})
            QVERIFY2(!control(window, display)->toolTip().isEmpty(), display);

        auto& c = window.controls();
        c.Res->setText("1");
        QVERIFY(statusOf(window, "PlanStatus").startsWith("D = 10000000 does not fit register 2"));
        QVERIFY(c.Dn->toolTip().startsWith("D = 10000000 does not fit register 2"));
        c.Res->setText(" 10");
        c.Fo->setText("1160,125");
        QCOMPARE(statusOf(window, "PlanStatus"),
                 "VCO 1160.0 MHz is outside the chip's 1900-4000 MHz: output divider 2 brings it "
                 "in range; Output Freq: \"1160,125\" is read as 1160: use a point");
        QVERIFY(c.ChipType->toolTip().startsWith("VCO 1160.0 MHz"));
        c.Odiv->setValue(2);
        QVERIFY(c.QuickUpdate->toolTip().startsWith("Off since the output divider changed"));
    }

    // A new divider or R swaps a caption for another of a different length;
    // the boxes and bars beside it stay where they are.
    void captionsKeepTheirWidth() {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto& c = window.controls();
        const QList<QWidget*> placed{c.Fo, c.Rscroll, c.Odiv, c.VcoGain, c.DivGain};
        const auto lefts = [&] {
            QList<int> xs;
            for (QWidget* widget : placed)
                xs << widget->mapTo(&window, QPoint()).x();
            return xs;
        };
        const QList<int> before = lefts();
        c.Odiv->setValue(2);
        c.Rscroll->setValue(4096);
        c.OutTerm->setValue(5);
        c.CPGscroll->setValue(31);
        QApplication::processEvents();
        QCOMPARE(lefts(), before);
    }
};

QTEST_MAIN(TestUsability)
#include "tst_usability.moc"
