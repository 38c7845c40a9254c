// The window where it must not show or send anything stale or malformed: a
// refused plan, a thumb drag, Store to EE's two copies of a line, a word
// beyond 32 bits, the console and the resolution box under the mouse, the
// step buttons after a new output divider, and the read-back's R divider and
// its catching up when it restores nothing.

#include <QApplication>
#include <QPushButton>
#include <QtTest>

#include "link/transfers.h"
#include "pty_board.h"
#include "ui/export_window.h"
#include "ui/fsk_window.h"
#include "ui/link_controller.h"
#include "ui/main_window_controls.h"
#include "window_support.h"

using kelvane::ui::MainWindow;
using namespace kelvane;
using namespace window_support;

namespace {

// A window with its port open on a virtual board.
struct Connected {
    explicit Connected(const sim::BoardOptions& options = {}) : board(options) {
        c.CPNo->setText(QString::fromStdString(board.devicePath()));
        BoxCloser closer;
        c.SetCP->click();
    }
    QString listing() {
        return QString::fromStdString(registerListing(window.state().registers))
            .replace("\r\n", "\n");
    }
    sim::PtyBoard board;
    MainWindow window;
    const Ui::LMX2541& c = window.controls();
};

} // namespace

class TestWindowCorrections : public QObject {
    Q_OBJECT
    QTemporaryDir settingsDir_;

private slots:
    void initTestCase() {
        isolateSettings(settingsDir_);
        QApplication::setQuitOnLastWindowClosed(false);
    }

    // A refused plan hides the export, keeping its text, puts Fc back from the
    // reference's MHz preview, and the FSK generator says why it has no data.
    void refusedPlanHidesTheExport() {
        MainWindow window;
        auto& c = window.controls();
        auto* form = window.findChild<ui::ExportWindow*>();
        c.Export->click();
        const QString listing = shownStates(*form, "PasteText");
        c.Reg2FSK->click();
        c.Fr->setText("1e9");
        QVERIFY(form->isHidden());
        QCOMPARE(shownStates(*form, "PasteText"), listing);
        QCOMPARE(shownStates(window, "Fc"), "10000. kHz #0000ff");
        auto* fsk = window.findChild<ui::FskWindow*>();
        fsk->findChild<QPushButton*>("GenNewD")->click();
        QCOMPARE(shownStates(*fsk, "NewDResults"),
                 "No plan for these inputs (see the status line); correct them to get FSK data");
    }

    // Dragging a thumb runs the bar's handler once, at the end: the output
    // divider dragged from 1 to 7 rounds Fo from the VCO once.
    void thumbDragNotifiesAtItsEnd() {
        const QList<QPair<QString, int>> drags{
            {"Rscroll", 4}, {"Odiv", 7},    {"CPGscroll", 15}, {"Dither", 3},  {"Order", 0},
            {"Mux", 7},     {"OutTerm", 8}, {"VcoGain", 15},   {"DivGain", 9}, {"ChgWSJT", 4}};
        for (const auto& [name, to] : drags) {
            MainWindow window;
            auto* bar = window.findChild<QScrollBar*>(name);
            QSignalSpy changes(bar, &QScrollBar::valueChanged);
            const int step = to > bar->value() ? 1 : -1;
            bar->setSliderDown(true);
            for (int position = bar->value() + step; position != to + step; position += step)
                bar->setSliderPosition(position);
            QVERIFY2(changes.isEmpty(), qPrintable(name));
            bar->setSliderDown(false);
            QVERIFY2(changes.count() == 1 && bar->value() == to, qPrintable(name));
            QCOMPARE(window.controls().Fo->text(), name == "Odiv" ? "331.46429" : " 2320.25");
        }
    }

    // Store to EE sends each word's line, the store mark and that same line;
    // the next word is taken from the register image when its turn comes.
    void storeSendsTheSameLineTwice() {
        sim::PtyBoard board;
        link::SerialLink link;
        QCOMPARE(link.open(QString::fromStdString(board.devicePath())).result,
                 link::OpenOutcome::Result::Opened);
        int asked = 0;
        QVERIFY(link::storeAllRegisters(link, [&asked] {
            RegisterImage image;
            ++asked;
            for (int address : transferOrder)
                image[address] = asked * 16 + address;
            return image;
        }));
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
        QTest::addColumn<QString>("command");
        QTest::newRow("Update") << "Update all registers";
        QTest::newRow("QuickUpdate") << "Quick Freq Update";
        QTest::newRow("StoreEE") << "Store to EE";
        QTest::newRow("QStepUp") << "Quick Freq Update";
    }
    void wordBeyond32BitsIsNotSent() {
        QFETCH(QString, command);
        Connected at;
        at.c.Res->setText("");
        QVERIFY(at.c.Text1->toPlainText().contains("         2    3BDACA002\n"));
        qobject_cast<QPushButton*>(control(at.window, QTest::currentDataTag()))->click();
        QCOMPARE(
            at.c.Text1->toPlainText(),
            at.listing() + command +
                ": Reg2 = 3BDACA002 does not fit in 32 bits; correct the plan; nothing sent\n");
        QTest::qWait(60);
        QCOMPARE(at.board.received(), "");
    }

    // The console takes typing like any text box; only a left click into the
    // resolution box means an MFSK spacing typed by hand.
    void consoleTakesTypingResTakesLeftClicks() {
        MainWindow window;
        auto& c = window.controls();
        QTest::keyClicks(c.Text1, "typed");
        QVERIFY(c.Text1->toPlainText().contains("typed"));
        QTest::mouseClick(c.Res, Qt::RightButton);
        QTest::mouseClick(c.Res, Qt::MiddleButton);
        QCOMPARE(c.WSJT->text(), "WSJT Mode Step");
        QTest::mouseClick(c.Res, Qt::LeftButton);
        QCOMPARE(c.WSJT->text(), "MFSK Mode");
    }

    // The step buttons end with Quick Freq Update, so they wait with it for
    // the full update of a new output divider, or for a read-back.
    void stepButtonsFollowQuickUpdate() {
        Connected at;
        const auto enabled = [&at] {
            return QList<bool>{at.c.QuickUpdate->isEnabled(), at.c.QStepUp->isEnabled(),
                               at.c.QStepDn->isEnabled()};
        };
        at.c.Odiv->setValue(2);
        QCOMPARE(enabled(), QList<bool>(3, false));
        at.c.Update->click();
        QCOMPARE(enabled(), QList<bool>(3, true));
        at.c.Odiv->setValue(1);
        QCOMPARE(enabled(), QList<bool>(3, false));
        at.c.Init->click();
        QCOMPARE(enabled(), QList<bool>(3, true));
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
        Connected at;
        at.c.Rscroll->setValue(5);
        at.c.RefDbl->setChecked(storedDoubler);
        at.c.StoreEE->click();
        const RegisterImage stored = at.window.state().registers;
        at.c.RefDbl->setChecked(windowDoubler);
        at.c.Rscroll->setValue(3);
        at.c.Init->click();
        QTEST(shownStates(at.window, "RefDbl Rlabel Rscroll"), "shown");
        QCOMPARE(at.window.state().registers, stored);
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
        Connected at(options);
        QTimer::singleShot(300, &at.window, [&at] { at.c.Res->setText("20"); });
        at.c.Init->click();
        QCOMPARE(shownStates(at.window, "Dn"), "D =    500000");
        QCOMPARE(at.c.Text1->toPlainText(),
                 at.listing() + "Init from EE: " + line + "; nothing changed\n");
    }
};

QTEST_MAIN(TestWindowCorrections)
#include "tst_window_corrections.moc"
