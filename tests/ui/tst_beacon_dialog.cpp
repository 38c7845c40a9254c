// Tools > Beacon...: presets and edits planned into the tone table, refusals
// in the status line, and keying the virtual board until Stop.

#include "pty_board.h"
#include "ui/beacon_dialog.h"
#include "ui/link_controller.h"
#include "ui/main_window_controls.h"
#include "ui/tools_menu.h"
#include "window_support.h"

using namespace kelvane;
using namespace window_support;

namespace {

QString column(const QTableWidget* table, int c) {
    QStringList cells;
    for (int r = 0; r < table->rowCount(); ++r)
        cells << (table->item(r, c) ? table->item(r, c)->text() : "");
    return cells.join(',');
}

struct Opened {
    Opened() {
        window.tools().beaconAction()->trigger();
        dialog = window.findChild<ui::BeaconDialog*>();
        QVERIFY(dialog && dialog->isVisible());
        elements = dialog->findChild<QTableWidget*>("Elements");
        tones = dialog->findChild<QTableWidget*>("Tones");
    }
    QString states() { return shownStates(*dialog, "Status Start Export"); }
    ui::MainWindow window;
    ui::BeaconDialog* dialog = nullptr;
    QTableWidget* elements = nullptr;
    QTableWidget* tones = nullptr;
};

} // namespace

class TestBeaconDialog : public QObject {
    Q_OBJECT
    QTemporaryDir settings_;

private slots:
    void initTestCase() { isolateSettings(settings_); }

    // Preset; then a cell set (row, column, text); the tone names, and the
    // status line with Start and Export.
    void planning_data() {
        QTest::addColumn<QString>("preset");
        QTest::addColumn<QStringList>("edit");
        QTest::addColumn<QString>("toneNames");
        QTest::addColumn<QString>("states");
        const QString planned =
            "Carrier 2320.250000 MHz; every tone by Reg2 alone|&Start|&Export...";
        QTest::newRow("mixed") << "Mixed" << QStringList{}
                               << "carrier,PI4 0,PI4 1,PI4 2,PI4 3,CW key-up" << planned;
        QTest::newRow("WSPR") << "WSPR" << QStringList{} << "carrier,WSPR 0,WSPR 1,WSPR 2,WSPR 3"
                              << planned;
        QTest::newRow("JT4 sub-mode G")
            << "JT4" << QStringList{"0", "5", "g"} << "carrier,JT4 0,JT4 1,JT4 2,JT4 3" << planned;
        QTest::newRow("call too long")
            << "Mixed" << QStringList{"0", "1", "OZ7IGYABC"} << ""
            << "Element 1 (PI4): PI4 message: 9 characters; a PI4 call has up to 8 characters "
               "0-9, A-Z, blank and /|&Start (disabled)|&Export... (disabled)";
        QTest::newRow("start no number")
            << "Mixed" << QStringList{"1", "2", "25s"} << ""
            << "Element 2, Start (s): \"25s\" is no number|&Start (disabled)|&Export... (disabled)";
        QTest::newRow("CW too fast")
            << "Mixed" << QStringList{"1", "3", "25"} << ""
            << "Element 2 (CW): 25.000 WPM gives a dot shorter than a line and its pause (0.063 "
               "s); send CW at 19 WPM or slower|&Start (disabled)|&Export... (disabled)";
    }
    void planning() {
        QFETCH(QString, preset);
        QFETCH(QStringList, edit);
        Opened at;
        at.dialog->findChild<QComboBox*>("Preset")->setCurrentText(preset);
        if (!edit.isEmpty()) {
            at.elements->item(edit[0].toInt(), edit[1].toInt())->setText(edit[2]);
            QCOMPARE(at.dialog->findChild<QComboBox*>("Preset")->currentText(), "Custom");
        }
        QTEST(column(at.tones, 0), "toneNames");
        QTEST(at.states(), "states");
    }

    // Keyed from the next period start until Stop, which leaves the carrier;
    // the plan inputs are locked meanwhile.
    void keysTheBoardUntilStop() {
        sim::PtyBoard board;
        Opened at;
        at.window.controls().CPNo->setText(QString::fromStdString(board.devicePath()));
        {
            BoxCloser closer;
            at.window.controls().SetCP->click();
            QVERIFY(closer.shown());
        }
        at.dialog->findChild<QComboBox*>("Preset")->setCurrentText("Custom");
        at.dialog->findChild<QSpinBox*>("Period")->setValue(2);
        at.elements->setRowCount(1);
        at.elements->item(0, 0)->setText("cw");
        at.elements->item(0, 1)->setText("E");
        at.elements->item(0, 2)->setText("0.5");
        QCOMPARE(at.states(),
                 "Carrier 2320.250000 MHz; every tone by Reg2 alone|&Start|&Export...");
        bool locked = false;
        QString current;
        QTimer::singleShot(4500, at.dialog, [&] {
            locked = !at.window.controls().PlanInputs->isEnabled();
            current = at.dialog->findChild<QLabel*>("Current")->text();
            at.dialog->findChild<QPushButton*>("Stop")->click();
        });
        at.dialog->findChild<QPushButton*>("Start")->click();
        QVERIFY(locked);
        QCOMPARE(current, "CW E key down");
        QCOMPARE(at.states(), "Stopped; the board is on the carrier|&Start|&Export...");
        QVERIFY(at.window.controls().PlanInputs->isEnabled());
        // The Update, then one key-down line a period (at least one), all on the carrier.
        const QStringList lines =
            QString::fromStdString(board.received()).split("\r\n", Qt::SkipEmptyParts);
        QVERIFY2(lines.size() >= 13 && lines.size() <= 16, qPrintable(lines.join(' ')));
        for (int i = 12; i < lines.size(); ++i)
            QCOMPARE(lines[i], lines[9]);
    }
};

QTEST_MAIN(TestBeaconDialog)
#include "tst_beacon_dialog.moc"
