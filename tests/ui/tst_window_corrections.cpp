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
#include "ui/export_window.h"
#include "ui/fsk_window.h"
#include "ui/link_controller.h"
#include "ui/main_window_controls.h"

using kelvane::ui::MainWindow;
using namespace kelvane;
using namespace window_support;

namespace {

QString device(const sim::PtyBoard& board) {
    return QString::fromStdString(board.devicePath());
}

void connectTo(MainWindow& window, const sim::PtyBoard& board) {
    auto& c = window.controls();
    c.CPNo->setText(device(board));
    BoxCloser closer;
    c.SetCP->click();
    QVERIFY(window.linkController().serialLink().isOpen());
}

QString listingOf(const RegisterImage& image) {
    return QString::fromStdString(registerListing(image)).replace("\r\n", "\n");
}

// "1 1 0": whether each of the named controls is enabled.
QString enabledStates(MainWindow& window, const QString& names) {
    QStringList states;
    for (const QString& name : names.split(' '))
        states << (control(window, name)->isEnabled() ? "1" : "0");
    return states.join(' ');
}

} // namespace

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
        auto* form = window.findChild<ui::ExportWindow*>();
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
        auto* fsk = window.findChild<ui::FskWindow*>();
        c.Res->setText("1e12");
        fsk->findChild<QPushButton*>("GenNewD")->click();
        QCOMPARE(shownStates(*fsk, "NewDResults"),
                 "No plan for these inputs (see the status line); correct them to get FSK data");
    }

    // Dragging the thumb runs the bar's handler once, at the end: the output
    // divider dragged from 1 to 7 rounds Fo from the VCO once.
    void thumbDragNotifiesAtItsEnd_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("fo");
        const QString startFo = " 2320.25";
        QTest::newRow("Rscroll") << "Rscroll" << 4 << startFo;
        QTest::newRow("Odiv") << "Odiv" << 7 << "331.46429";
        QTest::newRow("CPGscroll") << "CPGscroll" << 15 << startFo;
        QTest::newRow("Dither") << "Dither" << 3 << startFo;
        QTest::newRow("Order") << "Order" << 0 << startFo;
        QTest::newRow("Mux") << "Mux" << 7 << startFo;
        QTest::newRow("OutTerm") << "OutTerm" << 8 << startFo;
        QTest::newRow("VcoGain") << "VcoGain" << 15 << startFo;
        QTest::newRow("DivGain") << "DivGain" << 9 << startFo;
        QTest::newRow("ChgWSJT") << "ChgWSJT" << 4 << startFo;
    }
    void thumbDragNotifiesAtItsEnd() {
        QFETCH(QString, name);
        QFETCH(int, to);
        MainWindow window;
        auto* bar = window.findChild<QScrollBar*>(name);
        QSignalSpy changes(bar, &QScrollBar::valueChanged);
        const int step = to > bar->value() ? 1 : -1;
        bar->setSliderDown(true);
        for (int position = bar->value() + step; position != to + step; position += step)
            bar->setSliderPosition(position);
        QCOMPARE(changes.count(), 0);
        bar->setSliderDown(false);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(bar->value(), to);
        QTEST(window.controls().Fo->text(), "fo");
    }

    // Store to EE sends each word's line, the store mark and that same line;
    // the next word is taken from the register image when its turn comes.
    void storeSendsTheSameLineTwice() {
        sim::PtyBoard board;
        link::SerialLink link;
        QCOMPARE(link.open(device(board)).result, link::OpenOutcome::Result::Opened);
        int asked = 0;
        const link::RegisterSource changing = [&asked] {
            ++asked;
            RegisterImage image;
            for (int address : transferOrder)
                image[address] = asked * 16 + address;
            return image;
        };
        QVERIFY(link::storeAllRegisters(link, changing));
        QByteArray expected;
        int turn = 0;
        for (int address : transferOrder) {
            const QByteArray line = link::registerLine(++turn * 16 + address);
            expected += line + link::storeMark + line;
        }
        QCOMPARE(QByteArray::fromStdString(board.received()), expected);
    }

    // An empty resolution box reads as 0.01 Hz and puts D = 10^9 into Reg2,
    // nine hexadecimal digits: the listing shows it, and no transfer sends it.
    void wordBeyond32BitsIsNotSent_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("command");
        QTest::newRow("Update all registers") << "Update"
                                              << "Update all registers";
        QTest::newRow("Quick Freq Update") << "QuickUpdate"
                                           << "Quick Freq Update";
        QTest::newRow("Store to EE") << "StoreEE"
                                     << "Store to EE";
        QTest::newRow("step up") << "QStepUp"
                                 << "Quick Freq Update";
    }
    void wordBeyond32BitsIsNotSent() {
        QFETCH(QString, button);
        QFETCH(QString, command);
        sim::PtyBoard board;
        MainWindow window;
        connectTo(window, board);
        auto& c = window.controls();
        c.Res->setText("");
        QVERIFY(c.Text1->toPlainText().contains("         2    3BDACA002\n"));
        qobject_cast<QPushButton*>(control(window, button))->click();
        QCOMPARE(
            c.Text1->toPlainText(),
            listingOf(window.state().registers) + command +
                ": Reg2 = 3BDACA002 does not fit in 32 bits; correct the plan; nothing sent\n");
        QTest::qWait(60);
        QCOMPARE(board.received(), "");
    }

    // The console takes typing like any text box; only a left click into the
    // resolution box means an MFSK spacing typed by hand.
    void consoleTakesTypingResTakesLeftClicks() {
        MainWindow window;
        auto& c = window.controls();
        QTest::keyClicks(c.Text1, "typed");
        QVERIFY(c.Text1->toPlainText().contains("typed"));
        for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
            QTest::mouseClick(c.Res, button);
            QCOMPARE(c.WSJT->text(), "WSJT Mode Step");
        }
        QTest::mouseClick(c.Res, Qt::LeftButton);
        QCOMPARE(c.WSJT->text(), "MFSK Mode");
    }

    // The step buttons end with Quick Freq Update, so they wait with it for
    // the full update of a new output divider, or for a read-back.
    void stepButtonsFollowQuickUpdate() {
        sim::PtyBoard board;
        MainWindow window;
        connectTo(window, board);
        auto& c = window.controls();
        const QString buttons = "QuickUpdate QStepUp QStepDn";
        c.Odiv->setValue(2);
        QCOMPARE(enabledStates(window, buttons), "0 0 0");
        c.Update->click();
        QCOMPARE(enabledStates(window, buttons), "1 1 1");
        c.Odiv->setValue(1);
        QCOMPARE(enabledStates(window, buttons), "0 0 0");
        c.Init->click();
        QCOMPARE(enabledStates(window, buttons), "1 1 1");
    }

    // The R divider read back stands in Rscroll as well, whatever the
    // window's doubler was; a stored doubler leaves Rscroll where it is.
    void readBackSetsTheRDivider_data() {
        QTest::addColumn<bool>("storedDoubler");
        QTest::addColumn<bool>("windowDoubler");
        QTest::addColumn<QString>("shown");
        const QString rFive = "Ref Doubler [ ]|R divider 5|1..4096 = 5";
        QTest::newRow("no doubler") << false << false << rFive;
        QTest::newRow("doubler in the window only") << false << true << rFive;
        QTest::newRow("doubler stored")
            << true << false << "Ref Doubler [x]|R divider 1 (hidden)|1..4096 = 3 (hidden)";
    }
    void readBackSetsTheRDivider() {
        QFETCH(bool, storedDoubler);
        QFETCH(bool, windowDoubler);
        sim::PtyBoard board;
        MainWindow window;
        connectTo(window, board);
        auto& c = window.controls();
        c.Rscroll->setValue(5);
        c.RefDbl->setChecked(storedDoubler);
        c.StoreEE->click();
        const RegisterImage stored = window.state().registers;
        c.RefDbl->setChecked(windowDoubler);
        c.Rscroll->setValue(3);
        c.Init->click();
        QTEST(shownStates(window, "RefDbl Rlabel Rscroll"), "shown");
        QCOMPARE(window.state().registers, stored);
    }

    // An input changed during the wait recalculates at the end when the answer
    // restores nothing: the listing replaces what arrived, the refusal follows.
    void readBackRestoringNothingCatchesUp_data() {
        QTest::addColumn<bool>("silent");
        QTest::addColumn<QString>("line");
        QTest::newRow("silent board") << true << "no answer from the board";
        QTest::newRow("refused answer") << false << "output divider 0 (1 to 63 allowed)";
    }
    void readBackRestoringNothingCatchesUp() {
        QFETCH(bool, silent);
        QFETCH(QString, line);
        QTemporaryDir dir;
        sim::BoardOptions options;
        options.faults.noReply = silent;
        if (!silent) {
            options.eepromPath = dir.filePath("ee.txt").toStdString();
            QFile file(QString::fromStdString(options.eepromPath));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("FF4800A4\n") == 9);
        }
        sim::PtyBoard board(options);
        MainWindow window;
        connectTo(window, board);
        auto& c = window.controls();
        QTimer::singleShot(300, &window, [&c] { c.Res->setText("20"); });
        c.Init->click();
        QCOMPARE(shownStates(window, "Dn"), "D =    500000");
        QCOMPARE(c.Text1->toPlainText(), listingOf(window.state().registers) +
                                             "Init from EE: " + line + "; nothing changed\n");
    }
};

QTEST_MAIN(TestWindowCorrections)
#include "tst_window_corrections.moc"
