// The Tools menu's calibration: what the dialog shows for a measured output,
// and what OK writes into the reference box.

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QtTest>

#include "ui/main_window_controls.h"
#include "ui/tools_menu.h"
#include "window_support.h"

using kelvane::ui::MainWindow;

class TestToolsMenu : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { window_support::isolateSettings(settingsDir_); }

    void calibrate_data() {
        QTest::addColumn<QString>("measured");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("reference"); // the reference box after OK, if it can be pressed
        QTest::newRow("1 ppm high")
            << "2320.25232025"
            << "Achieved output: 2320.25 MHz\nMeasured output: 2320.25232025 MHz\nReference "
               "error: 1.000 ppm, 10.000 Hz\nCorrected reference: 10.00001 MHz"
            << "10.00001";
        QTest::newRow("counter on the wrong input")
            << "1160.125"
            << "Measured output 1160.125 MHz lies 500000.0 ppm from the achieved output 2320.25 "
               "MHz, more than a reference is off by: check the counter, the RF multiplication "
               "and the output divider"
            << "";
    }
    void calibrate() {
        QFETCH(QString, measured);
        QFETCH(QString, reference);
        MainWindow window;
        kelvane::ui::ToolsMenu tools(window);
        QString result;
        bool okEnabled = false;
        QTimer::singleShot(0, &window, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->findChild<QLabel*>("Achieved")->text(), "2320.25 MHz");
            QVERIFY(!dialog->findChild<QLineEdit*>("Measured")->toolTip().isEmpty());
            dialog->findChild<QLineEdit*>("Measured")->setText(measured);
            result = dialog->findChild<QLabel*>("Result")->text();
            auto* buttons = dialog->findChild<QDialogButtonBox*>("Buttons");
            okEnabled = buttons->button(QDialogButtonBox::Ok)->isEnabled();
            buttons->button(okEnabled ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
        });
        tools.calibrateAction()->trigger();
        QTEST(result, "result");
        QCOMPARE(okEnabled, !reference.isEmpty());
        auto& c = window.controls();
        QCOMPARE(c.Fr->text(), reference.isEmpty() ? " 10" : reference);
        // Typed as a user types it: the plan follows.
        QCOMPARE(c.Fc->text(), reference.isEmpty() ? "10000. kHz" : "10000.01 kHz");
    }

private:
    QTemporaryDir settingsDir_;
};

QTEST_MAIN(TestToolsMenu)
#include "tst_tools_menu.moc"
