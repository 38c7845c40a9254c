// The window driving the virtual board: opening the port, the console, the
// transfers, the read-back with its restore, Verify EE, a sweep, a silent and a late board, a
// flooding board, an adapter unplugged in the middle of each transfer and
// closing the window in the middle of a transfer.

#include <memory>

#include "link/port_choice.h"
#include "link/serial_link.h"
#include "model/conversions.h"
#include "model/hex.h"
#include "model/recalculation.h"
#include "pty_board.h"
#include "ui/link_controller.h"
#include "ui/main_window_controls.h"
#include "ui/sweep_dialog.h"
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
void connectTo(MainWindow& window, const sim::PtyBoard& board) {
    window.controls().CPNo->setText(device(board));
    BoxCloser closer;
    window.controls().SetCP->click();
    QVERIFY(closer.shown());
    QVERIFY(window.linkController().serialLink().isOpen());
}

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

    // A port another program holds is refused; once freed, it opens and the
    // board's buttons take the port box's place.
    void busyPortOpensOnceFreed() {
        sim::PtyBoard board;
        auto holder = std::make_unique<link::SerialLink>();
        QCOMPARE(holder->open(device(board)).result, link::OpenOutcome::Result::Opened);
        MainWindow window;
        auto& c = window.controls();
        c.CPNo->setText(device(board));
        {
            BoxCloser closer;
            c.SetCP->click();
            QCOMPARE(closer.text, "Kelvane: Invalid COM port");
            QCOMPARE(closer.icon, QMessageBox::Warning);
            QVERIFY(closer.detail.contains("is in use by another program"));
            QVERIFY(!window.linkController().serialLink().isOpen());
        }
        // The tooltip lists the ports with the numbers the box takes.
        QHelpEvent hover(QEvent::ToolTip, {}, {});
        QApplication::sendEvent(c.CPNo, &hover);
        const QStringList ports = link::systemPortLocations();
        QVERIFY(c.CPNo->toolTip().startsWith(ports.isEmpty()
                                                 ? "No serial ports are listed."
                                                 : "Serial ports by number:\n1  " + ports.first()));
        holder.reset();
        BoxCloser closer;
        c.SetCP->click();
        QCOMPARE(closer.text, "Kelvane: COM Port Open\r\nRS232 Parameters  9600 Baud, N,8,2\r\n"
                              "Use with PIC Firmware  Vantrel \r\n");
        QCOMPARE(closer.icon, QMessageBox::NoIcon);
        QCOMPARE(shownStates(window,
                             "CPNo Label6 SetCP Update QuickUpdate StoreEE Init VerifyEE QStepDn"),
                 device(board) + " (hidden)|Set COM Port (hidden)|COM " + device(board) +
                     " (disabled)|Update all registers|Quick Freq Update|Store to EE|"
                     "Init from EE|Verify EE|\\/");
    }

    void repliesInPiecesKeepTheirLineEnds() {
        MainWindow window;
        auto& link = window.linkController().serialLink();
        window.controls().Text1->clear();
        for (const char* piece : {"OK 0000", "0017\r", "\nOK W\r\n", "0x\0\xff", "\r\n"})
            emit link.received(QByteArray(piece, piece[0] == '0' ? 4 : qsizetype(strlen(piece))));
        QCOMPARE(window.controls().Text1->toPlainText(),
                 QString("OK 00000017\nOK W\n0x") + QChar(0x2400) + QChar(0xFF) + "\n");
    }

    // An undefined plan sends nothing; each step button moves Fo by one
    // resolution step, then sends Reg2, Reg1 and Reg0.
    void transfersSendThePlanOnScreen() {
        sim::PtyBoard board;
        MainWindow window;
        connectTo(window, board);
        act(window, "Res=1e-9;Update");
        QVERIFY(window.controls().Text1->toPlainText().endsWith(
            "Update all registers: the plan is undefined (the status line says why); nothing "
            "sent\n"));
        act(window, "Res= 10;QStepUp;QStepDn");
        QCOMPARE(received(board), "R04F42402\r\nR00000011\r\nR61A90E80\r\n"
                                  "R04F42402\r\nR00000011\r\nR61A80E80\r\n");
    }

    // A set stored from one plan, read back into a window showing another:
    // every control as it was stored, but for the texts the read-back writes
    // in its own form and the quick update it enables.
    void readBackRestoresTheStoredSet() {
        sim::PtyBoard board;
        MainWindow window;
        connectTo(window, board);
        act(window, "Odiv=2;Mux=5;ExtVCO=1;CPP=1;StoreEE");
        const RegisterImage stored = window.state().registers;
        QMap<QString, QString> storedControls = withoutConsole(window);
        act(window, "CPP=0;ExtVCO=0;Odiv=3;DivGain=4;Res=20;Init");

        QCOMPARE(window.state().registers, stored);
        QVERIFY(window.controls().Text1->toPlainText().endsWith("0    30D40E80\n"));
        QMap<QString, QString> restored = withoutConsole(window);
        QCOMPARE(shownStates(window, "Fo Res QuickUpdate DivGainLabel Rlabel OPResLabel"),
                 "1160.125|10.00|Quick Freq Update| 12 Div Gain|R divider 1|"
                 "Divided O/P Resolution  Hz");
        for (const char* own :
             {"Res", "QuickUpdate", "QStepUp", "QStepDn", "DivGainLabel", "Rlabel", "OPResLabel"})
            restored.remove(own), storedControls.remove(own);
        QCOMPARE(restored, storedControls);
        act(window, "Mux=6"); // recalculates again
        QVERIFY(window.state().registers != stored);
    }

    // Verify EE ends the console with its verdict on the plan on screen; no
    // control, word or flag changes.
    void verifyComparesAndChangesNothing() {
        sim::PtyBoard board;
        MainWindow window;
        connectTo(window, board);
        for (const auto& [fo, verdict] :
             {std::pair{" 2320.25", "EEPROM matches the plan: 12 of 12 words"},
              std::pair{"2320.5",
                        "EEPROM differs from the plan: Reg0 stored 61A80E80, plan C3500E80"}}) {
            act(window, QString("Fo=") + fo);
            const auto before = withoutConsole(window);
            const RegisterImage words = window.state().registers;
            act(window, "VerifyEE");
            QVERIFY(window.controls().Text1->toPlainText().endsWith(QString("0x61 A8 0E 80\n") +
                                                                    verdict + "\n"));
            QCOMPARE(withoutConsole(window), before);
            QCOMPARE(window.state().registers, words);
            QVERIFY(!window.recalculationHeld());
        }
        QCOMPARE(received(board), "init\r\ninit\r\n");
    }

    void sweep_data() {
        QTest::addColumn<QStringList>("fields"); // From, To, Step, Dwell
        QTest::addColumn<int>("stopAfterMs");  // Stop (or closing) this long after Start; -1 never
        QTest::addColumn<bool>("closeWindow"); // close the main window instead of Stop
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QString>("status");
        const QByteArray startUp =
            sentBy("Update", std::get<Recalculation>(recalculate({}, {})).registers);
        const QByteArray quick = "R04F42402\r\nR00000011\r\nR";
        const QStringList dwelling{"2320.25", "2321", "0.1", "5000"};
        const QString stopped = "Stopped; the board is at 2320.250000 MHz";
        QTest::newRow("three steps") << QStringList{"2320.25", "2320.45", "0.1", "0"} << -1 << false
                                     << startUp + quick + "88B80E80\r\n" + quick + "AFC80E80\r\n"
                                     << "Done: 3 frequencies sent; the board is at 2320.450000 MHz";
        QTest::newRow("stopped in the dwell") << dwelling << 900 << false << startUp << stopped;
        QTest::newRow("window closed in the dwell")
            << dwelling << 900 << true << startUp << stopped;
        QTest::newRow("VCO outside the chip")
            << QStringList{"1800", "2320", "10", "0"} << -1 << false << QByteArray()
            << "1800.000000 MHz puts the VCO at 1800 MHz, outside the chip's 1900 to 4000 MHz; "
               "nothing was sent";
    }

    // The output box follows each step; the plan inputs stay locked until the
    // sweep ends.
    void sweep() {
        QFETCH(QStringList, fields);
        QFETCH(int, stopAfterMs);
        QFETCH(bool, closeWindow);
        sim::PtyBoard board;
        MainWindow window;
        connectTo(window, board);
        ui::SweepDialog dialog(window);
        const char* names[] = {"From", "To", "Step", "Dwell"};
        for (int i = 0; i < 4; ++i)
            dialog.findChild<QLineEdit*>(names[i])->setText(fields[i]);
        auto& c = window.controls();
        bool lockedWhileRunning = false;
        if (stopAfterMs >= 0)
            QTimer::singleShot(stopAfterMs, &dialog, [&] {
                lockedWhileRunning = !c.PlanInputs->isEnabled() && !c.ModeStepping->isEnabled();
                if (closeWindow)
                    window.close();
                else
                    dialog.findChild<QPushButton*>("Stop")->click();
            });
        dialog.findChild<QPushButton*>("Start")->click();
        QTEST(dialog.findChild<QLabel*>("Status")->text(), "status");
        QTEST(received(board), "sent");
        QCOMPARE(lockedWhileRunning, stopAfterMs >= 0);
        QVERIFY(c.PlanInputs->isEnabled() && c.ModeStepping->isEnabled());
        if (!received(board).isEmpty() && stopAfterMs < 0) QCOMPARE(c.Fo->text(), "2320.45");
    }

    void quickUpdateDuringReadBackSendsNothing() {
        sim::PtyBoard board;
        MainWindow window;
        connectTo(window, board);
        QString consoleDuring;
        QTimer::singleShot(300, &window, [&] {
            consoleDuring = window.controls().Text1->toPlainText();
            window.linkController().quickFreqUpdate();
            QCOMPARE(window.controls().Text1->toPlainText(), consoleDuring);
        });
        window.controls().Init->click();
        QVERIFY(consoleDuring.startsWith("0x00 00 00 17\n"));
        QCOMPARE(received(board), "init\r\n");
    }

    // No answer in time: the window stays as it was, the console says why, and
    // an answer that comes late is shown but not read.
    void readBackWithoutAnswer_data() {
        QTest::addColumn<bool>("late");
        QTest::newRow("silent board") << false;
        QTest::newRow("late answer") << true;
    }

    void readBackWithoutAnswer() {
        QFETCH(bool, late);
        sim::BoardOptions options;
        options.faults.noReply = !late;
        options.faults.slowReplySeconds = late ? 2 : 0;
        sim::PtyBoard board(options);
        MainWindow window;
        connectTo(window, board);
        act(window, "Mux=7");
        const auto before = withoutConsole(window);
        window.controls().Init->click();
        const QString line = "Init from EE: no answer from the board; nothing changed\n";
        QCOMPARE(window.controls().Text1->toPlainText(), line);
        if (late) {
            QTRY_VERIFY_WITH_TIMEOUT(replies(board).contains("0x61 A8 0E 80\n"), 5000);
            QTRY_COMPARE(window.controls().Text1->toPlainText(), line + replies(board));
        }
        QCOMPARE(withoutConsole(window), before);
        const RegisterImage registers = window.state().registers;
        act(window, "Mux=8"); // recalculates again
        QVERIFY(window.state().registers != registers);
    }

    // A board pouring out text: the console ends with the newest 256 KiB
    // exactly as sent, and the window's timers keep firing while it comes in.
    void floodKeepsTheNewestText() {
        constexpr qint64 floodBytes = 10 * 1024 * 1024;
        constexpr qint64 replyBytes = 3 * 13; // "OK 2A44A882\r\n" for each line of the update
        constexpr int kept = 256 * 1024;
        sim::BoardOptions options;
        options.faults.floodBytes = floodBytes;
        sim::PtyBoard board(options);
        MainWindow window;
        connectTo(window, board);
        qint64 arrived = 0;
        connect(&window.linkController().serialLink(), &link::SerialLink::received, &window,
                [&](const QByteArray& bytes) { arrived += bytes.size(); });
        QSet<qint64> seenDuringFlood;
        QTimer tick;
        connect(&tick, &QTimer::timeout, [&] {
            if (arrived > 0 && arrived < floodBytes) seenDuringFlood << arrived;
        });
        tick.start(10);
        window.controls().QuickUpdate->click();
        QTRY_COMPARE_WITH_TIMEOUT(arrived, floodBytes + replyBytes, 50000);
        const QString console = window.controls().Text1->toPlainText();
        QCOMPARE(console.size(), kept);
        QVERIFY(console == replies(board).right(kept));
        QVERIFY(!window.controls().Text1->document()->isUndoAvailable());
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

    // The adapter goes away in the middle of a transfer: nothing more is sent,
    // one message says so, the window is as before but for the port box, which
    // comes back; a new board opened from it gets the window's words, and the
    // console then holds that board's replies only.
    void unplugMidTransfer() {
        QFETCH(QString, button);
        QFETCH(int, hangupAfter);
        QFETCH(bool, dividerFirst);
        sim::BoardOptions options;
        options.faults.hangupAfterLines = hangupAfter;
        sim::PtyBoard board(options);
        MainWindow window;
        connectTo(window, board);
        act(window, dividerFirst ? "Mux=7;Odiv=2" : "Mux=7");
        const RegisterImage image = window.state().registers;
        auto before = withoutConsole(window);

        QElapsedTimer clock;
        clock.start();
        act(window, button);
        QVERIFY(clock.elapsed() < 1000); // at the hang-up, not at the end of the pauses
        QVERIFY(board.hungUp());
        const QByteArray sequence = sentBy(button, image);
        QCOMPARE(received(board), sequence.split('\n').mid(0, hangupAfter).join('\n') + '\n');
        QTest::qWait(100); // no second message comes later
        const QString console = window.controls().Text1->toPlainText();
        QCOMPARE(console.count("The port " + device(board) + " stopped working"), 1);
        QVERIFY(console.endsWith("Check the adapter, then open the port again.\n"));
        QCOMPARE(window.state().registers, image);
        QCOMPARE(shownStates(window, "CPNo Label6 SetCP Update StoreEE Init VerifyEE"),
                 device(board) + "|Set COM Port|COM Port|Update all registers (hidden)|"
                                 "Store to EE (hidden)|Init from EE (hidden)|Verify EE (hidden)");
        const auto& c = window.controls();
        QVERIFY(c.QuickUpdate->isHidden() && c.QStepUp->isHidden() && c.QStepDn->isHidden());
        auto after = withoutConsole(window);
        for (const char* name : {"Update", "QuickUpdate", "StoreEE", "Init", "VerifyEE", "QStepUp",
                                 "QStepDn", "CPNo", "Label6", "SetCP"})
            after.remove(name), before.remove(name);
        QCOMPARE(after, before);

        sim::PtyBoard replacement;
        connectTo(window, replacement);
        act(window, button);
        QCOMPARE(received(replacement), sentBy(button, image));
        if (button != "Init" && button != "VerifyEE")
            QTRY_COMPARE(window.controls().Text1->toPlainText(), replies(replacement));
        QTEST(window.controls().QuickUpdate->isEnabled(), "quickEnabledAfter");
    }

    void closingDuringATransferSendsNothingMore() {
        sim::PtyBoard board;
        auto window = std::make_unique<MainWindow>();
        connectTo(*window, board);
        window->show();
        QTimer::singleShot(130, window.get(), [&] { window->close(); });
        window->controls().StoreEE->click();
        QVERIFY(!window->linkController().serialLink().isOpen());
        window.reset();
        const QByteArray sent = received(board);
        QVERIFY(!sent.isEmpty() && sent.size() < 11 * 8);
        QTest::qWait(150);
        QCOMPARE(received(board), sent);
    }
};

QTEST_MAIN(TestLinkController)
#include "tst_link_controller.moc"
