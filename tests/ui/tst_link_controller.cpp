// The window driving the virtual board: port, transfers, read-back, sweep, setups,
// and a board that is silent, late, flooding, unplugged or closed mid-transfer.

#include "link/serial_link.h"
#include "link/transfers.h"
#include "model/hex.h"
#include "model/recalculation.h"
#include "pty_board.h"
#include "ui/link_controller.h"
#include "ui/main_window_controls.h"
#include "ui/setup_controller.h"
#include "ui/setups_window.h"
#include "ui/sweep_dialog.h"
#include "ui/tools_menu.h"
#include "window_support.h"

using kelvane::ui::MainWindow;
using namespace kelvane;
using namespace window_support;

namespace {

QString device(const sim::PtyBoard& board) {
    return QString::fromStdString(board.devicePath());
}

QByteArray received(const sim::PtyBoard& board) {
    return QByteArray::fromStdString(board.received());
}

// Opens the board's port through the port box, as a user does.
void connectTo(MainWindow& window, const sim::PtyBoard& board, bool byEnter = false) {
    window.controls().CPNo->setText(device(board));
    BoxCloser closer;
    if (byEnter)
        QTest::keyClick(window.controls().CPNo, Qt::Key_Return);
    else
        window.controls().SetCP->click();
    QVERIFY(closer.shown());
    QVERIFY(window.boardSession().isOpen());
}

// A window with its port open on a virtual board.
struct Connected {
    explicit Connected(const sim::BoardOptions& options = {}) : board(options) {
        connectTo(window, board);
    }
    sim::PtyBoard board;
    MainWindow window;
    const Ui::LMX2541& c = window.controls();
};

QString replies(const sim::PtyBoard& board) {
    QByteArray bytes;
    for (const auto& chunk : board.chunks())
        if (!chunk.fromHost) bytes += QByteArray::fromStdString(chunk.bytes);
    return QString::fromLatin1(bytes).replace("\r\n", "\n");
}

// Every byte a transfer button sends for this image, in the board's order.
QByteArray sentBy(const QString& button, const RegisterImage& image) {
    if (button == "Init" || button == "VerifyEE") return "init\r\n";
    const QList<int> order =
        button == "QuickUpdate" ? QList{2, 1, 0} : QList{7, 13, 12, 9, 8, 6, 5, 4, 3, 2, 1, 0};
    QByteArray bytes;
    for (int address : order) {
        const QByteArray line = "R" + QByteArray::fromStdString(hexWord(image[address])) + "\r\n";
        bytes += button == "StoreEE" ? line + "W\r\n" + line : line;
    }
    return bytes;
}

// The register image of the start-up plan at another output.
RegisterImage imageOf(const char* fo) {
    const Inputs inputs{.fo = fo};
    return std::get<Recalculation>(recalculate(inputs, planVariablesFrom(inputs))).registers;
}

// The window's controls but the console.
QMap<QString, QString> withoutConsole(MainWindow& window) {
    auto states = snapshot(window);
    states.remove("Text1");
    return states;
}

} // namespace

class TestLinkController : public QObject {
    Q_OBJECT
    QTemporaryDir settingsDir_;

private slots:
    void initTestCase() {
        isolateSettings(settingsDir_);
        QApplication::setQuitOnLastWindowClosed(false);
    }

    // A port another program holds is refused; once freed, it opens.
    void busyPortOpensOnceFreed() {
        sim::PtyBoard board;
        auto holder = std::make_unique<link::SerialLink>();
        QCOMPARE(holder->open(device(board)).result, link::OpenOutcome::Result::Opened);
        MainWindow window;
        act(window, "CPNo=" + device(board));
        for (const bool busy : {true, false}) {
            BoxCloser closer;
            act(window, "SetCP");
            QCOMPARE(closer.icon, busy ? QMessageBox::Warning : QMessageBox::NoIcon);
            QCOMPARE(closer.text, busy ? "Kelvane: Invalid COM port"
                                       : "Kelvane: COM Port Open\r\nRS232 Parameters  9600 Baud, "
                                         "N,8,2\r\nUse with PIC Firmware  Vantrel \r\n");
            QCOMPARE(closer.detail.contains("is in use by another program"), busy);
            QCOMPARE(window.boardSession().isOpen(), !busy);
            holder.reset();
        }
        QCOMPARE(shownStates(window,
                             "CPNo Label6 SetCP Update QuickUpdate StoreEE Init VerifyEE QStepDn"),
                 device(board) + " (hidden)|Set COM Port (hidden)|Close Port|Update all "
                                 "registers|Quick Freq Update|Store to EE|Init from EE|Verify "
                                 "EE|\\/");
    }

    void repliesInPiecesKeepTheirLineEnds() {
        MainWindow window;
        auto& board = window.boardSession();
        window.controls().Text1->clear();
        for (const char* piece : {"OK 0000", "0017\r", "\nOK W\r\n", "0x\0\xff", "\r\n"})
            emit board.received(QByteArray(piece, piece[0] == '0' ? 4 : qsizetype(strlen(piece))));
        QCOMPARE(window.controls().Text1->toPlainText(),
                 QString("OK 00000017\nOK W\n0x") + QChar(0x2400) + QChar(0xFF) + "\n");
    }

    // An empty resolution box reads as 0.01 Hz: D = 10^9 gives a nine-digit Reg2,
    // which nothing sends. The steps wait with Quick Freq Update after a new divider.
    void transfersSendThePlanOnScreen() {
        Connected at;
        act(at.window, "Res=1e-9;Update");
        QVERIFY(at.c.Text1->toPlainText().endsWith(
            "Update all registers: the plan is undefined (the status line says why); nothing "
            "sent\n"));
        act(at.window, "Res=");
        QVERIFY(at.c.Text1->toPlainText().contains("         2    3BDACA002\n"));
        // The step moves F by one before its transfer refuses the word: Reg0 shows it.
        const std::tuple<const char*, QString, const char*> refusals[]{
            {"Update", "Update all registers", "78400E80"},
            {"QuickUpdate", "Quick Freq Update", "78400E80"},
            {"StoreEE", "Store to EE", "78400E80"},
            {"QStepUp", "Quick Freq Update", "78410E80"}};
        for (const auto& [button, command, reg0] : refusals) {
            act(at.window, button);
            const QString line =
                command +
                ": Reg2 = 3BDACA002 does not fit in 32 bits; correct the plan; nothing sent";
            QCOMPARE(at.c.Text1->toPlainText(), "          7    00000017        13   0000008D\n"
                                                "         12   0000001C         9    28001409\n"
                                                "          8    0111CE58         6    001F3326\n"
                                                "          5    A0040005         4    FF4810A4\n"
                                                "          3    00A87303         2    3BDACA002\n"
                                                "          1    5F400011         0    " +
                                                    QString(reg0) + "\n" + line + "\n");
            QCOMPARE(shownStates(at.window, "LinkStatus"), line);
        }
        QTest::qWait(60);
        QCOMPARE(received(at.board), "");

        act(at.window, "Res= 10;QStepUp;QStepDn");
        QCOMPARE(received(at.board), "R04F42402\r\nR00000011\r\nR61A90E80\r\n"
                                     "R04F42402\r\nR00000011\r\nR61A80E80\r\n");
        const QString off = "Quick Freq Update (disabled)|/\\ (disabled)|\\/ (disabled)";
        const QString on = "Quick Freq Update|/\\|\\/";
        const std::pair<const char*, QString> turns[]{
            {"Odiv=2", off}, {"Update", on}, {"Odiv=1", off}, {"Init", on}};
        for (const auto& [actions, shown] : turns) {
            act(at.window, actions);
            QCOMPARE(shownStates(at.window, "QuickUpdate QStepUp QStepDn"), shown);
        }
    }

    // Each transfer from its key, with the port opened by Enter.
    void shortcutsReportEachTransfer() {
        const QString noReply = "No reply from the board: check power, cable and 9600 8N2";
        for (const bool silent : {false, true}) {
            sim::BoardOptions options;
            options.faults.noReply = silent;
            sim::PtyBoard board(options);
            MainWindow window;
            QCOMPARE(shownStates(window, "PortStatus"), "No port open");
            window.show();
            connectTo(window, board, true);
            QApplication::setActiveWindow(&window);
            QVERIFY(QTest::qWaitForWindowActive(&window));
            QCOMPARE(shownStates(window, "PortStatus"), device(board) + " \u00B7 9600 8N2");
            const QString sent = " lines sent to " + device(board) + ", ";
            const std::tuple<QKeySequence, int, QString> keys[]{
                {Qt::Key_F5, 12, "Update all registers: 12" + sent + "12 replies"},
                {Qt::CTRL | Qt::SHIFT | Qt::Key_I, 1, "Init from EE: restored 2320.25 MHz"},
                {Qt::Key_F6, 3, "Quick Freq Update: 3" + sent + "3 replies"},
                {Qt::CTRL | Qt::Key_Up, 3,
                 "Quick Freq Update: 3 lines sent to " + device(board) + ", now 2320.25001 MHz"},
                {Qt::CTRL | Qt::SHIFT | Qt::Key_E, 36, "Store to EE: 36" + sent + "36 replies"}};
            for (int i = 0; i < (silent ? 2 : 5); ++i) { // a silent board: Update and Init
                const auto& [key, lines, status] = keys[i];
                window.findChild<QLabel*>("LinkStatus")->clear();
                const qsizetype before = received(board).count('\n');
                QTest::keySequence(&window, key);
                QTRY_COMPARE_WITH_TIMEOUT(shownStates(window, "LinkStatus"),
                                          silent ? noReply : status, 5000);
                QCOMPARE(received(board).count('\n') - before, lines);
            }
        }
    }

    // Every control as stored, but for the texts the read-back writes in its own form.
    void readBackRestoresTheStoredSet() {
        Connected at;
        act(at.window, "Odiv=2;Mux=5;ExtVCO=1;CPP=1;StoreEE");
        const RegisterImage stored = at.window.state().registers;
        QMap<QString, QString> storedControls = withoutConsole(at.window);
        act(at.window, "CPP=0;ExtVCO=0;Odiv=3;DivGain=4;Res=20;Rscroll=3;Init");

        QCOMPARE(at.window.state().registers, stored);
        QVERIFY(at.c.Text1->toPlainText().endsWith("0    30D40E80\n"));
        QMap<QString, QString> restored = withoutConsole(at.window);
        QCOMPARE(shownStates(at.window, "Fo Res QuickUpdate DivGainLabel Rlabel OPResLabel"),
                 "1160.125|10.00|Quick Freq Update| 12 Div Gain|R divider 1|"
                 "Divided O/P Resolution  Hz");
        for (const char* own :
             {"Res", "QuickUpdate", "QStepUp", "QStepDn", "DivGainLabel", "Rlabel", "OPResLabel"})
            restored.remove(own), storedControls.remove(own);
        QCOMPARE(restored, storedControls);
        act(at.window, "Mux=6"); // recalculates again
        QVERIFY(at.window.state().registers != stored);
    }

    // Restoring nothing leaves the window and says why; a late answer is shown,
    // not read; an input changed during the wait recalculates at the end.
    void readBackRestoringNothing_data() {
        QTest::addColumn<QString>("board");
        QTest::addColumn<QString>("changed");
        QTest::addColumn<QString>("reason");
        const QString silent = "no answer from the board";
        QTest::newRow("late answer") << "late"
                                     << "" << silent;
        QTest::newRow("silent board, Res changed") << "silent"
                                                   << "Res=20" << silent;
        QTest::newRow("refused answer, Res changed") << "refusing"
                                                     << "Res=20"
                                                     << "output divider 0 (1 to 63 allowed)";
    }
    void readBackRestoringNothing() {
        QFETCH(QString, board);
        QFETCH(QString, changed);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        sim::BoardOptions options;
        options.faults.noReply = board == "silent";
        options.faults.slowReplySeconds = board == "late" ? 2 : 0;
        if (board == "refusing") {
            options.eepromPath = dir.filePath("ee.txt").toStdString();
            QFile file(QString::fromStdString(options.eepromPath));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("FF4800A4\n") == 9);
        }
        Connected at(options);
        act(at.window, "Mux=7");
        const auto before = withoutConsole(at.window);
        if (!changed.isEmpty())
            QTimer::singleShot(300, &at.window, [&] { act(at.window, changed); });
        act(at.window, "Init");
        const QString line = "Init from EE: " + reason + "; nothing changed\n";
        if (changed.isEmpty()) {
            QCOMPARE(at.c.Text1->toPlainText(), line);
            QCOMPARE(withoutConsole(at.window), before);
        } else {
            QCOMPARE(shownStates(at.window, "Dn"), "D =    500000");
            QCOMPARE(at.c.Text1->toPlainText(), "          7    00000017        13   0000008D\n"
                                                "         12   0000001C         9    28001409\n"
                                                "          8    0111CE58         6    001F3326\n"
                                                "          5    A0040005         4    FF4810A4\n"
                                                "          3    00A8F303         2    047A1202\n"
                                                "          1    00000011         0    30D40E80\n" +
                                                    line);
        }
        if (board == "late") {
            QTRY_VERIFY_WITH_TIMEOUT(replies(at.board).contains("0x61 A8 0E 80\n"), 5000);
            QTRY_COMPARE(at.c.Text1->toPlainText(), line + replies(at.board));
            QCOMPARE(withoutConsole(at.window), before);
        }
        const RegisterImage registers = at.window.state().registers;
        act(at.window, "Mux=8"); // recalculates again
        QVERIFY(at.window.state().registers != registers);
    }

    void quickUpdateDuringReadBackSendsNothing() {
        Connected at;
        QString consoleDuring;
        QTimer::singleShot(300, &at.window, [&] {
            consoleDuring = at.c.Text1->toPlainText();
            at.window.linkController().quickFreqUpdate();
            QCOMPARE(at.c.Text1->toPlainText(), consoleDuring);
        });
        act(at.window, "Init");
        QVERIFY(consoleDuring.startsWith("0x00 00 00 17\n"));
        QCOMPARE(received(at.board), "init\r\n");
    }

    // No control, word or flag changes.
    void verifyComparesAndChangesNothing() {
        Connected at;
        act(at.window, "Fo=2320.5");
        const auto before = withoutConsole(at.window);
        const RegisterImage words = at.window.state().registers;
        act(at.window, "VerifyEE");
        const QString verdict = "EEPROM differs from the plan: Reg0 stored 61A80E80, plan C3500E80";
        QVERIFY(at.c.Text1->toPlainText().endsWith("0x61 A8 0E 80\n" + verdict + "\n"));
        QCOMPARE(shownStates(at.window, "LinkStatus"), verdict);
        QCOMPARE(withoutConsole(at.window), before);
        QCOMPARE(at.window.state().registers, words);
        QVERIFY(!at.window.recalculationHeld());
        QCOMPARE(received(at.board), "init\r\n");
    }

    void sweep_data() {
        QTest::addColumn<QStringList>("fields"); // From, To, Step, Dwell
        QTest::addColumn<int>("stopAfterMs");  // Stop (or closing) this long after Start; -1 never
        QTest::addColumn<bool>("closeWindow"); // close the main window instead of Stop
        QTest::addColumn<int>("hangupAfter");  // lines the board takes before it goes; 0 never
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QString>("status"); // PORT for the board's device
        const QByteArray startUp = sentBy("Update", imageOf("2320.25"));
        const QByteArray quick = "R04F42402\r\nR00000011\r\nR";
        const QStringList dwelling{"2320.25", "2321", "0.1", "5000"};
        const QString stopped = "Stopped; the board is at 2320.250000 MHz";
        QTest::newRow("three steps")
            << QStringList{"2320.25", "2320.45", "0.1", "0"} << -1 << false << 0
            << startUp + quick + "88B80E80\r\n" + quick + "AFC80E80\r\n"
            << "Done: 3 frequencies sent; the board is at 2320.450000 MHz";
        QTest::newRow("to a whole number")
            << QStringList{"2320.8", "2321", "0.2", "0"} << -1 << false << 0
            << sentBy("Update", imageOf("2320.8")) + sentBy("QuickUpdate", imageOf("2321"))
            << "Done: 2 frequencies sent; the board is at 2321.000000 MHz";
        QTest::newRow("stopped in the dwell")
            << dwelling << 900 << false << 0 << startUp << stopped;
        QTest::newRow("window closed in the dwell")
            << dwelling << 900 << true << 0 << startUp << stopped;
        QTest::newRow("unplugged in the second step")
            << dwelling.mid(0, 3) + QStringList{"0"} << -1 << false << 14 << QByteArray()
            << "The port PORT stopped working (...); what was not sent yet was not sent. Check the "
               "adapter, then open the port again. The board was last set to 2320.250000 MHz.";
    }

    // The output box follows each step as the step buttons write it; the plan
    // inputs stay locked until the end; the outcome line shows whole.
    void sweep() {
        QFETCH(QStringList, fields);
        QFETCH(int, stopAfterMs);
        QFETCH(bool, closeWindow);
        QFETCH(int, hangupAfter);
        QFETCH(QByteArray, sent);
        QFETCH(QString, status);
        sim::BoardOptions options;
        options.faults.hangupAfterLines = hangupAfter;
        Connected at(options);
        at.window.tools().sweepAction()->trigger();
        auto* dialog = at.window.findChild<ui::SweepDialog*>();
        QVERIFY(dialog && dialog->isVisible());
        const char* names[] = {"From", "To", "Step", "Dwell"};
        for (int i = 0; i < 4; ++i)
            dialog->findChild<QLineEdit*>(names[i])->setText(fields[i]);
        bool lockedWhileRunning = false;
        if (stopAfterMs >= 0)
            QTimer::singleShot(stopAfterMs, dialog, [&] {
                lockedWhileRunning =
                    !at.c.PlanInputs->isEnabled() && !at.c.ModeStepping->isEnabled();
                if (closeWindow)
                    at.window.close();
                else
                    dialog->findChild<QPushButton*>("Stop")->click();
            });
        dialog->findChild<QPushButton*>("Start")->click();
        // "..." stands for what the system says about a failed port.
        auto* shown = dialog->findChild<QLabel*>("Status");
        const QStringList ends = QString(status).replace("PORT", device(at.board)).split("...");
        QVERIFY2(shown->text().startsWith(ends.first()) && shown->text().endsWith(ends.last()),
                 qPrintable(shown->text()));
        QTRY_VERIFY(shown->height() >= shown->heightForWidth(shown->width()));
        if (!sent.isEmpty()) QCOMPARE(received(at.board), sent);
        QCOMPARE(lockedWhileRunning, stopAfterMs >= 0);
        QVERIFY(at.c.PlanInputs->isEnabled() && at.c.ModeStepping->isEnabled());
        if (stopAfterMs < 0 && !hangupAfter) QCOMPARE(at.c.Fo->text(), fields[1]);
        // The console names where the board was left.
        if (!hangupAfter) QVERIFY(at.c.Text1->toPlainText().endsWith(status + "\n"));
        QTRY_COMPARE(at.window.findChild<QWidget*>("CPNo")->isHidden(),
                     !closeWindow && !hangupAfter);
    }

    // While a run or Init from EE's wait has the board, what would change the
    // plan or talk to the board is refused (or disabled) with one status line,
    // and the board gets nothing more; closing and Close Port stop a run first.
    void actionsWhileBusy_data() {
        QTest::addColumn<QString>("busy"); // "run": a sweep in its dwell; "read": Init's wait
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("shownName"); // the control read right after the action
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("finalStatus");
        const QString running = "Sweep is running on the board: press Stop first";
        const QString reading = "Init from EE is reading the board: wait for it";
        const QString stopped = "Stopped; the board is at 2320.250000 MHz";
        const QString restored = "Init from EE: restored 2320.25 MHz";
        QTest::newRow("run, Init") << "run"
                                   << "Init"
                                   << "Init"
                                   << "Init from EE (disabled)" << stopped;
        QTest::newRow("run, Open Setup") << "run"
                                         << "Open"
                                         << "LinkStatus" << running << stopped;
        QTest::newRow("run, New") << "run"
                                  << "New"
                                  << "LinkStatus" << running << stopped;
        QTest::newRow("run, a drop") << "run"
                                     << "Drop"
                                     << "LinkStatus" << running << stopped;
        QTest::newRow("run, Update") << "run"
                                     << "Update"
                                     << "LinkStatus" << running << stopped;
        QTest::newRow("run, Start") << "run"
                                    << "Start"
                                    << "Start"
                                    << "Start (disabled)" << stopped;
        QTest::newRow("run, Close Port")
            << "run"
            << "ClosePort"
            << "LinkStatus"
            << "Stopping the run; the port closes after its step" << stopped;
        QTest::newRow("run, closing the window") << "run"
                                                 << "Close"
                                                 << "Fo"
                                                 << "2320.25 (disabled)" << stopped;
        QTest::newRow("read, Open Setup") << "read"
                                          << "Open"
                                          << "LinkStatus" << reading << restored;
        QTest::newRow("read, New") << "read"
                                   << "New"
                                   << "LinkStatus" << reading << restored;
        QTest::newRow("read, a drop") << "read"
                                      << "Drop"
                                      << "LinkStatus" << reading << restored;
        QTest::newRow("read, Start") << "read"
                                     << "Start"
                                     << "Status" << reading << restored;
        QTest::newRow("read, Verify") << "read"
                                      << "VerifyEE"
                                      << "LinkStatus" << reading << restored;
    }
    void actionsWhileBusy() {
        QFETCH(QString, busy);
        QFETCH(QString, action);
        QFETCH(QString, shownName);
        QTemporaryDir folder;
        const QString setup = writeSetup(folder, "b.kelvane", R"("inputs": {"fo": "1160.125"})");
        Connected at;
        MainWindow& window = at.window;
        ui::SweepDialog& dialog = window.tools().sweepDialog();
        const char* fields[][2] = {
            {"From", "2320.25"}, {"To", "2321"}, {"Step", "0.1"}, {"Dwell", "60000"}};
        for (const auto& [name, text] : fields)
            dialog.findChild<QLineEdit*>(name)->setText(text);
        QString shown;
        QTimer::singleShot(busy == "run" ? 1500 : 300, &window, [&] {
            if (action == "Open")
                window.setups().open(setup);
            else if (action == "New")
                window.findChild<QMenu*>("FileMenu")->actions().first()->trigger();
            else if (action == "Drop") {
                QMimeData data;
                data.setUrls({QUrl::fromLocalFile(setup)});
                QDragEnterEvent enter({1, 1}, Qt::CopyAction, &data, Qt::LeftButton, {});
                QApplication::sendEvent(&window, &enter);
                QDropEvent drop({1, 1}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(&window, &drop);
                QTest::qWait(50); // the drop opens once it is over
            } else if (action == "Update")
                window.linkController().updateAll();
            else if (action == "ClosePort")
                window.findChild<QAction*>("ClosePort")->trigger();
            else if (action == "Close")
                window.close();
            else
                act(window, action);
            shown = shownStates(window, shownName);
            if (busy == "run" && action != "Close" && action != "ClosePort")
                dialog.findChild<QPushButton*>("Stop")->click();
        });
        if (busy == "run")
            dialog.findChild<QPushButton*>("Start")->click();
        else
            act(window, "Init");
        QTEST(shown, "shown");
        QTEST(shownStates(window, "LinkStatus"), "finalStatus");
        QCOMPARE(received(at.board),
                 busy == "run" ? sentBy("Update", imageOf("2320.25")) : QByteArray("init\r\n"));
        QVERIFY(!at.c.Fo->text().contains("1160"));
        QTRY_COMPARE(window.boardSession().isOpen(), action != "ClosePort" && action != "Close");
    }

    // A double click opens a setup; Open and Send, offered once the port is open, also sends it.
    void setupsWindowOpensAndSends() {
        QTemporaryDir folder;
        const QString path = writeSetup(folder, "a.kelvane", R"("name": "Beacon",
            "note": "24048 MHz\nsecond line", "inputs": {"fo": " 2004", "rfmult": "12"})");
        sim::PtyBoard board;
        MainWindow window;
        ui::SetupController& setups = window.setups();
        auto& setupsWindow = setups.setupsWindow();
        setupsWindow.setFolder(folder.path());
        setupsWindow.show();
        auto* send = setupsWindow.findChild<QPushButton*>("OpenAndSend");
        QVERIFY(!send->isEnabled());
        connectTo(window, board);
        setupsWindow.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&setupsWindow));
        QVERIFY(send->isEnabled());

        auto* list = setupsWindow.findChild<QTreeWidget*>("SetupList");
        QCOMPARE(list->topLevelItemCount(), 1);
        const QTreeWidgetItem* good = list->topLevelItem(0);
        QCOMPARE(good->text(0) + "|" + good->text(1) + "|" + good->text(2),
                 "Beacon|2004 MHz|24048 MHz");
        emit list->itemDoubleClicked(list->topLevelItem(0), 0);
        QCOMPARE(window.controls().Fo->text(), " 2004");
        QCOMPARE(setups.path(), path);
        QTest::qWait(60);
        QCOMPARE(received(board), "");
        list->setCurrentItem(list->topLevelItem(0));
        send->click();
        QCOMPARE(received(board), sentBy("Update", window.state().registers));
    }

    // The console keeps the newest 256 KiB as sent; timers keep firing meanwhile.
    void floodKeepsTheNewestText() {
        constexpr qint64 floodBytes = 10 * 1024 * 1024;
        constexpr qint64 replyBytes = 3 * 13; // "OK 2A44A882\r\n" for each line of the update
        constexpr int kept = 256 * 1024;
        sim::BoardOptions options;
        options.faults.floodBytes = floodBytes;
        Connected at(options);
        qint64 arrived = 0;
        connect(&at.window.boardSession(), &session::BoardSession::received, &at.window,
                [&](const QByteArray& bytes) { arrived += bytes.size(); });
        QSet<qint64> seenDuringFlood;
        QTimer tick;
        connect(&tick, &QTimer::timeout, [&] {
            if (arrived > 0 && arrived < floodBytes) seenDuringFlood << arrived;
        });
        tick.start(10);
        act(at.window, "QuickUpdate");
        QTRY_COMPARE_WITH_TIMEOUT(arrived, floodBytes + replyBytes, 50000);
        const QString console = at.c.Text1->toPlainText();
        QCOMPARE(console.size(), kept);
        QVERIFY(console == replies(at.board).right(kept));
        QVERIFY(!at.c.Text1->document()->isUndoAvailable());
        QVERIFY(seenDuringFlood.size() >= 3);
    }

    void unplugMidTransfer_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("hangupAfter");   // lines the board takes before it goes
        QTest::addColumn<bool>("dividerFirst"); // Odiv to 2, which disables QuickUpdate
        QTest::addColumn<bool>("quickEnabledAfter");
        QTest::newRow("Update all registers") << "Update" << 5 << true << true;
        QTest::newRow("Quick Freq Update") << "QuickUpdate" << 2 << false << true;
        QTest::newRow("Store to EE") << "StoreEE" << 7 << true << false;
        QTest::newRow("Init from EE") << "Init" << 1 << false << true;
        QTest::newRow("Verify EE") << "VerifyEE" << 1 << false << true;
    }
    // Nothing more is sent and one message says so; the port box comes back, and
    // a new board opened from it gets the window's words.
    void unplugMidTransfer() {
        QFETCH(QString, button);
        QFETCH(int, hangupAfter);
        QFETCH(bool, dividerFirst);
        sim::BoardOptions options;
        options.faults.hangupAfterLines = hangupAfter;
        Connected at(options);
        act(at.window, dividerFirst ? "Mux=7;Odiv=2" : "Mux=7");
        const RegisterImage image = at.window.state().registers;
        auto before = withoutConsole(at.window);
        const bool quickEnabled = at.c.QuickUpdate->isEnabled();

        act(at.window, button);
        QVERIFY(at.board.hungUp());
        const QByteArray sequence = sentBy(button, image);
        QCOMPARE(received(at.board), sequence.split('\n').mid(0, hangupAfter).join('\n') + '\n');
        QTest::qWait(100); // no second message comes later
        const QString console = at.c.Text1->toPlainText();
        QCOMPARE(console.count("The port " + device(at.board) + " stopped working"), 1);
        QVERIFY(console.endsWith("Check the adapter, then open the port again.\n"));
        QCOMPARE(at.window.state().registers, image);
        QCOMPARE(shownStates(at.window, "CPNo Label6 SetCP Update StoreEE Init VerifyEE"),
                 device(at.board) +
                     "|Set COM Port|COM Port|Update all registers (hidden)|"
                     "Store to EE (hidden)|Init from EE (hidden)|Verify EE (hidden)");
        QCOMPARE(at.c.QuickUpdate->isEnabled(), quickEnabled); // a broken transfer enables nothing
        QVERIFY(at.c.QuickUpdate->isHidden() && at.c.QStepUp->isHidden() &&
                at.c.QStepDn->isHidden());
        auto after = withoutConsole(at.window);
        for (const char* name : {"Update", "QuickUpdate", "StoreEE", "Init", "VerifyEE", "QStepUp",
                                 "QStepDn", "CPNo", "Label6", "SetCP"})
            after.remove(name), before.remove(name);
        QCOMPARE(after, before);

        sim::PtyBoard replacement;
        connectTo(at.window, replacement);
        act(at.window, button);
        QCOMPARE(received(replacement), sentBy(button, image));
        if (button != "Init" && button != "VerifyEE")
            QTRY_COMPARE(at.c.Text1->toPlainText(), replies(replacement));
        QTEST(at.c.QuickUpdate->isEnabled(), "quickEnabledAfter");
    }

    // The port button, or Board > Close Port, releases the port and brings the
    // port box back; the port opens again as the first time.
    void closePortThenReopen() {
        Connected at;
        for (const bool byMenu : {false, true}) {
            if (byMenu)
                at.window.findChild<QAction*>("ClosePort")->trigger();
            else
                act(at.window, "SetCP");
            QVERIFY(!at.window.boardSession().isOpen());
            QCOMPARE(shownStates(at.window, "CPNo SetCP Update QStepUp PortStatus LinkStatus"),
                     device(at.board) +
                         "|COM Port|Update all registers (hidden)|/\\ (hidden)|"
                         "No port open|Port " +
                         device(at.board) + " closed");
            QVERIFY(!at.window.findChild<QAction*>("ClosePort")->isEnabled());
            connectTo(at.window, at.board);
            QCOMPARE(shownStates(at.window, "SetCP"), "Close Port");
        }
        act(at.window, "Update");
        QCOMPARE(received(at.board), sentBy("Update", imageOf("2320.25")));
    }

    // Update pressed again during its own first pause: each reports its own lines,
    // and the outer one says that the other's replies are among its count.
    void nestedTransfersCountApart() {
        Connected at;
        QString inner;
        QTimer::singleShot(20, &at.window, [&] {
            act(at.window, "Update");
            inner = shownStates(at.window, "LinkStatus");
        });
        act(at.window, "Update");
        const QString sent = "Update all registers: 12 lines sent to " + device(at.board) + ", ";
        QVERIFY2(inner.startsWith(sent) && !inner.contains("inside"), qPrintable(inner));
        const QString outer = shownStates(at.window, "LinkStatus");
        QVERIFY2(
            outer.startsWith(sent) &&
                outer.endsWith(" replies, with 12 lines of another transfer inside its pauses"),
            qPrintable(outer));
    }

    void closingDuringATransferSendsNothingMore() {
        sim::PtyBoard board;
        auto window = std::make_unique<MainWindow>();
        connectTo(*window, board);
        window->show();
        QTimer::singleShot(130, window.get(), [&] { window->close(); });
        window->controls().StoreEE->click();
        QVERIFY(!window->boardSession().isOpen());
        window.reset();
        const QByteArray sent = received(board);
        QVERIFY(!sent.isEmpty() && sent.size() < 11 * 8);
        QTest::qWait(150);
        QCOMPARE(received(board), sent);
    }

    // The least size with the port open fits 1280 x 700; below it the content scrolls.
    void fitsASmallScreen() {
        Connected at;
        at.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&at.window));
        const QSize least = at.window.minimumSizeHint().expandedTo(at.window.minimumSize());
        QVERIFY2(least.width() <= 1280 && least.height() <= 700,
                 qPrintable(QString("%1 x %2").arg(least.width()).arg(least.height())));
        at.window.resize(least);
        at.window.findChild<QScrollArea*>("WindowScroll")->ensureWidgetVisible(at.c.Export);
        QVERIFY(!at.c.Export->visibleRegion().isEmpty());
    }
};

QTEST_MAIN(TestLinkController)
#include "tst_link_controller.moc"
