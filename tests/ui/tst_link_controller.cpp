// The window driving the virtual board: opening the port, the bytes and the
// console of each transfer (tried on a new board after a hang-up in each), the read-back with its
// refusals and a late answer, a flooding board, an adapter unplugged in the middle of each transfer
// and closing the window in the middle of a transfer. What the port box makes of text that names no
// port is tried with the other boxes in tst_bad_input.

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "box_closer.h"
#include "link/port_choice.h"
#include "link/serial_link.h"
#include "model/hex.h"
#include "model/recalculation.h"
#include "pty_board.h"
#include "ui/link_controller.h"
#include "ui/main_window_controls.h"
#include "ui/setup_controller.h"
#include "ui/setups_window.h"
#include "ui/sweep_dialog.h"
#include "window_support.h"

using kelvane::ui::MainWindow;
using namespace kelvane;
using namespace window_support;

namespace {

QString device(const sim::PtyBoard& board) {
    return QString::fromStdString(board.devicePath());
}

// Opens the board's port through the port box, as a user does.
void connectTo(MainWindow& window, const sim::PtyBoard& board) {
    auto& c = window.controls();
    c.CPNo->setText(device(board));
    BoxCloser closer;
    c.SetCP->click();
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

QByteArray firstLines(const QByteArray& bytes, int count) {
    qsizetype end = 0;
    for (int i = 0; i < count; ++i)
        end = bytes.indexOf("\r\n", end) + 2;
    return bytes.left(end);
}

void click(MainWindow& window, const QString& button) {
    qobject_cast<QPushButton*>(control(window, button))->click();
}

QMap<QString, QString> withoutConsole(MainWindow& window) {
    auto states = snapshot(window);
    states.remove("Text1");
    return states;
}

} // namespace

class TestLinkController : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void busyPortOpensOnceFreed();
    void repliesInPiecesKeepTheirLineEnds();
    void undefinedPlanSendsNothing();
    void stepsSendTheThreeFrequencyWords();
    void readBackRestoresTheStoredSet();
    void openAndSendSendsTheSetup();
    void quickUpdateDuringReadBackSendsNothing();
    void verifyComparesAndChangesNothing();
    void sweep_data();
    void sweep();
    void readBackRefusals_data();
    void readBackRefusals();
    void floodKeepsTheNewestText();
    void unplugMidTransfer_data();
    void unplugMidTransfer();
    void closingDuringATransferSendsNothingMore();

private:
    QTemporaryDir settingsDir_;
};

void TestLinkController::initTestCase() {
    isolateSettings(settingsDir_);
    QApplication::setQuitOnLastWindowClosed(false);
}

// A port another program holds is refused; once freed, it opens and the board's
// buttons take the port box's place.
void TestLinkController::busyPortOpensOnceFreed() {
    sim::PtyBoard board;
    auto holder = std::make_unique<link::SerialLink>();
    QCOMPARE(holder->open(device(board)).result, link::OpenOutcome::Result::Opened);
    MainWindow window;
    auto& c = window.controls();
    c.CPNo->setText(device(board));
    QCOMPARE(c.SetCP->text(), "Set");
    {
        BoxCloser closer;
        c.SetCP->click();
        QCOMPARE(closer.text, "Invalid COM port");
        QVERIFY(closer.detail.contains("is in use by another program"));
    }
    // The tooltip lists the ports with the numbers the box takes.
    QHelpEvent hover(QEvent::ToolTip, {}, {});
    QApplication::sendEvent(c.CPNo, &hover);
    const QStringList ports = link::systemPortLocations();
    QVERIFY2(c.CPNo->toolTip().startsWith(ports.isEmpty()
                                              ? "No serial ports are listed."
                                              : "Serial ports by number:\n1  " + ports.first()),
             qPrintable(c.CPNo->toolTip()));

    holder.reset();
    BoxCloser closer;
    c.SetCP->click();
    QCOMPARE(closer.title, "Kelvane");
    QCOMPARE(closer.text, "COM Port Open\r\nRS232 Parameters  9600 Baud, N,8,2\r\n"
                          "Use with PIC Firmware  Vantrel \r\n");
    QCOMPARE(closer.icon, QMessageBox::NoIcon);
    for (QWidget* shown :
         {c.Update, c.QuickUpdate, c.StoreEE, c.Init, c.VerifyEE, c.QStepUp, c.QStepDn})
        QVERIFY2(!shown->isHidden(), qPrintable(shown->objectName()));
    QVERIFY(c.CPNo->isHidden() && c.Label6->isHidden() && !c.SetCP->isEnabled());
    QCOMPARE(c.SetCP->text(), "COM " + device(board));
}

void TestLinkController::repliesInPiecesKeepTheirLineEnds() {
    MainWindow window;
    auto& link = window.linkController().serialLink();
    window.controls().Text1->clear();
    for (const char* piece : {"OK 0000", "0017\r", "\nOK W\r\n", "0x\0\xff", "\r\n"})
        emit link.received(QByteArray(piece, piece[0] == '0' ? 4 : qsizetype(strlen(piece))));
    QCOMPARE(window.controls().Text1->toPlainText(),
             QString("OK 00000017\nOK W\n0x") + QChar(0x2400) + QChar(0xFF) + "\n");
}

void TestLinkController::undefinedPlanSendsNothing() {
    sim::PtyBoard board;
    MainWindow window;
    connectTo(window, board);
    window.controls().Res->setText("1e-9");
    window.controls().Update->click();
    QVERIFY(window.controls().Text1->toPlainText().endsWith(
        "Update all registers: the plan is undefined (the status line says why); nothing sent\n"));
    QTest::qWait(50);
    QCOMPARE(board.received(), "");
}

// Each step button moves Fo by one resolution step, then sends Reg2, Reg1, Reg0.
void TestLinkController::stepsSendTheThreeFrequencyWords() {
    sim::PtyBoard board;
    MainWindow window;
    connectTo(window, board);
    auto& c = window.controls();
    c.QStepUp->click();
    QCOMPARE(c.Fo->text(), "2320.25001");
    const QByteArray up = sentBy("QuickUpdate", window.state().registers);
    c.QStepDn->click();
    QCOMPARE(c.Fo->text(), "2320.25");
    QCOMPARE(QByteArray::fromStdString(board.received()),
             up + sentBy("QuickUpdate", window.state().registers));
    QVERIFY(up.startsWith("R04F42402\r\nR00000011\r\nR61A90E80\r\n"));
}

// "Open and Send" in the Setups window: the setup's plan, all its words.
void TestLinkController::openAndSendSendsTheSetup() {
    sim::PtyBoard board;
    MainWindow window;
    ui::SetupController setups(window, window);
    connectTo(window, board);
    const QString path = settingsDir_.filePath("divided.kelvane");
    Inputs divided;
    divided.fo = "1160.125";
    divided.odiv = 2;
    QVERIFY(!setup::writeSetup(path, {"", "", divided}, std::nullopt));
    emit setups.setupsWindow().openRequested(path, true);
    QCOMPARE(window.controls().Fo->text(), "1160.125");
    QCOMPARE(QByteArray::fromStdString(board.received()),
             sentBy("Update", window.state().registers));
}

// A set stored from one plan, read back into a window showing another.
void TestLinkController::readBackRestoresTheStoredSet() {
    sim::PtyBoard board;
    MainWindow window;
    connectTo(window, board);
    auto& c = window.controls();
    c.Odiv->setValue(2);
    c.Mux->setValue(5);
    c.ExtVCO->setChecked(true);
    c.CPP->setChecked(true);
    c.StoreEE->click();
    const RegisterImage stored = window.state().registers;
    const QMap<QString, QString> storedControls = withoutConsole(window);

    c.CPP->setChecked(false);
    c.ExtVCO->setChecked(false);
    c.Odiv->setValue(3);
    c.DivGain->setValue(4);
    c.Res->setText("20");
    c.Init->click();

    QVERIFY(!window.recalculationHeld());
    QCOMPARE(window.state().registers, stored);
    QCOMPARE(c.Text1->toPlainText(),
             QString::fromStdString(registerListing(stored)).replace("\r\n", "\n"));
    QVERIFY(c.QuickUpdate->isEnabled());
    QCOMPARE(c.Fo->text(), "1160.125");
    QCOMPARE(c.Res->text(), "10.00");
    // Every control as it was when the set was stored, but for the texts the
    // read-back writes in its own form and the quick update it enables.
    const auto restored = withoutConsole(window);
    for (const QString& name : storedControls.keys()) {
        if (QStringList{"Res", "DivGainLabel", "Rlabel", "ODivlabel", "OPResLabel", "QuickUpdate",
                        "QStepUp", "QStepDn"}
                .contains(name))
            continue;
        QVERIFY2(restored.value(name) == storedControls.value(name),
                 qPrintable(name + ": " + restored.value(name) + " instead of " +
                            storedControls.value(name)));
    }
}

// The verdict against the plan on screen ends the console; no control, word
// or flag changes.
void TestLinkController::verifyComparesAndChangesNothing() {
    sim::PtyBoard board;
    MainWindow window;
    connectTo(window, board);
    auto& c = window.controls();
    for (const auto& [fo, verdict] :
         {std::pair{" 2320.25", "EEPROM matches the plan: 12 of 12 words"},
          std::pair{"2320.5",
                    "EEPROM differs from the plan: Reg0 stored 61A80E80, plan C3500E80"}}) {
        c.Fo->setText(fo);
        const auto before = withoutConsole(window);
        const RegisterImage words = window.state().registers;
        c.VerifyEE->click();
        QVERIFY2(c.Text1->toPlainText().endsWith(QString("0x61 A8 0E 80\n") + verdict + "\n"),
                 qPrintable(c.Text1->toPlainText()));
        QCOMPARE(withoutConsole(window), before);
        QCOMPARE(window.state().registers, words);
        QVERIFY(!window.recalculationHeld());
    }
    QCOMPARE(board.received(), "init\r\ninit\r\n");
}

void TestLinkController::sweep_data() {
    QTest::addColumn<QStringList>("fields"); // From, To, Step, Dwell
    QTest::addColumn<int>("stopAfterMs");    // press Stop this long after Start; -1 never
    QTest::addColumn<bool>("closeWindow");   // close the main window instead
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QString>("status");
    const QByteArray startUp =
        sentBy("Update", std::get<Recalculation>(recalculate({}, {})).registers);
    const QByteArray quick = "R04F42402\r\nR00000011\r\nR";
    QTest::newRow("three steps") << QStringList{"2320.25", "2320.45", "0.1", "0"} << -1 << false
                                 << startUp + quick + "88B80E80\r\n" + quick + "AFC80E80\r\n"
                                 << "Done: 3 frequencies sent; the board is at 2320.450000 MHz";
    QTest::newRow("stopped in the dwell")
        << QStringList{"2320.25", "2321", "0.1", "5000"} << 900 << false << startUp
        << "Stopped; the board is at 2320.250000 MHz";
    QTest::newRow("window closed in the dwell")
        << QStringList{"2320.25", "2321", "0.1", "5000"} << 900 << true << startUp
        << "Stopped; the board is at 2320.250000 MHz";
    QTest::newRow("VCO outside the chip")
        << QStringList{"1800", "2320", "10", "0"} << -1 << false << QByteArray()
        << "1800.000000 MHz puts the VCO at 1800 MHz, outside the chip's 1900 to 4000 MHz; "
           "nothing was sent";
    QTest::newRow("step 0") << QStringList{"2320", "2321", "0", "0"} << -1 << false << QByteArray()
                            << "Step must be a number other than 0, for example 0.1";
}

// The output box follows each step and the plan inputs stay locked until the
// sweep ends.
void TestLinkController::sweep() {
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
    bool lockedWhileRunning = false;
    if (stopAfterMs >= 0)
        QTimer::singleShot(stopAfterMs, &dialog, [&] {
            lockedWhileRunning = !window.controls().PlanInputs->isEnabled() &&
                                 !window.controls().ModeStepping->isEnabled();
            if (closeWindow)
                window.close();
            else
                dialog.findChild<QPushButton*>("Stop")->click();
        });
    dialog.findChild<QPushButton*>("Start")->click();
    QTEST(dialog.findChild<QLabel*>("Status")->text(), "status");
    QTEST(QByteArray::fromStdString(board.received()), "sent");
    QCOMPARE(lockedWhileRunning, stopAfterMs >= 0);
    QVERIFY(window.controls().PlanInputs->isEnabled() &&
            window.controls().ModeStepping->isEnabled());
    if (board.received().size() > 0 && stopAfterMs < 0)
        QCOMPARE(window.controls().Fo->text(), "2320.45");
}

void TestLinkController::quickUpdateDuringReadBackSendsNothing() {
    sim::PtyBoard board;
    MainWindow window;
    connectTo(window, board);
    QString consoleDuring;
    std::size_t receivedDuring = 0;
    QTimer::singleShot(300, &window, [&] {
        consoleDuring = window.controls().Text1->toPlainText();
        window.linkController().quickFreqUpdate();
        receivedDuring = board.received().size();
        QCOMPARE(window.controls().Text1->toPlainText(), consoleDuring);
    });
    window.controls().Init->click();
    QVERIFY(consoleDuring.startsWith("0x00 00 00 17\n"));
    QCOMPARE(receivedDuring, 6u);
    QCOMPARE(board.received(), "init\r\n");
}

void TestLinkController::readBackRefusals_data() {
    QTest::addColumn<QByteArray>("eeprom"); // the board's EEPROM file; empty: the start-up set
    QTest::addColumn<int>("fault");         // 1: a silent board, 2: answers after the wait
    QTest::addColumn<QString>("line");
    const QString noAnswer = "Init from EE: no answer from the board; nothing changed";
    QTest::newRow("silent board") << QByteArray() << 1 << noAnswer;
    QTest::newRow("late answer, shown and not read") << QByteArray() << 2 << noAnswer;
    QTest::newRow("output divider 0")
        << QByteArray("FF4800A4\n") << 0
        << "Init from EE: output divider 0 (1 to 63 allowed); nothing changed";
    QTest::newRow("mux 14") << QByteArray("00A9D303\n") << 0
                            << "Init from EE: mux selection 14 (0 to 13 allowed); nothing changed";
}

// The window stays as it was, the console says why, and recalculation works again.
void TestLinkController::readBackRefusals() {
    QFETCH(QByteArray, eeprom);
    QFETCH(int, fault);
    QFETCH(QString, line);
    QTemporaryDir dir;
    sim::BoardOptions options;
    options.faults.noReply = fault == 1;
    if (fault == 2) options.faults.slowReplySeconds = 2;
    if (!eeprom.isEmpty()) {
        options.eepromPath = dir.filePath("ee.txt").toStdString();
        QFile file(QString::fromStdString(options.eepromPath));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(eeprom) == eeprom.size());
    }
    sim::PtyBoard board(options);
    MainWindow window;
    connectTo(window, board);
    auto& c = window.controls();
    c.Mux->setValue(7);
    const auto before = withoutConsole(window);
    const RegisterImage registers = window.state().registers;

    c.Init->click();
    QCOMPARE(c.Text1->toPlainText(), replies(board) + line + "\n");
    if (fault == 2) {
        QCOMPARE(replies(board), "");
        QTRY_VERIFY_WITH_TIMEOUT(c.Text1->toPlainText().contains("0x61 A8 0E 80"), 5000);
        QCOMPARE(c.Text1->toPlainText(), line + "\n" + replies(board));
    }
    QCOMPARE(withoutConsole(window), before);
    QCOMPARE(window.state().registers, registers);
    QVERIFY(!window.recalculationHeld());
    c.Mux->setValue(8);
    QVERIFY(window.state().registers != registers);
}

// A board pouring out text: the console ends with the newest 256 KiB exactly
// as sent, and the window's timers keep firing while the text comes in.
void TestLinkController::floodKeepsTheNewestText() {
    constexpr qint64 floodBytes = 10 * 1024 * 1024;
    constexpr qint64 replyBytes = 3 * 13; // "OK 2A44A882\r\n" for each line of the update
    constexpr int kept = 256 * 1024;
    sim::BoardOptions options;
    options.faults.floodBytes = floodBytes;
    sim::PtyBoard board(options);
    MainWindow window;
    connectTo(window, board);
    auto& c = window.controls();

    qint64 arrived = 0;
    connect(&window.linkController().serialLink(), &link::SerialLink::received, &window,
            [&](const QByteArray& bytes) { arrived += bytes.size(); });
    QSet<qint64> seenDuringFlood;
    QTimer tick;
    connect(&tick, &QTimer::timeout, [&] {
        if (arrived > 0 && arrived < floodBytes) seenDuringFlood << arrived;
    });
    tick.start(10);
    c.QuickUpdate->click();
    QTRY_COMPARE_WITH_TIMEOUT(arrived, floodBytes + replyBytes, 50000);

    const QString console = c.Text1->toPlainText();
    QCOMPARE(console.size(), kept);
    QVERIFY2(console == replies(board).right(kept), qPrintable("ends with: " + console.right(80)));
    QVERIFY(!c.Text1->document()->isUndoAvailable());
    QVERIFY2(seenDuringFlood.size() >= 3, qPrintable(QString::number(seenDuringFlood.size())));
}

void TestLinkController::unplugMidTransfer_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("hangupAfter");   // lines the board takes before it goes
    QTest::addColumn<int>("linesAtMost");   // the line behind a store mark may go with it
    QTest::addColumn<bool>("dividerFirst"); // move Odiv to 2: QuickUpdate is disabled
    QTest::addColumn<bool>("quickEnabledAfter");
    QTest::newRow("Update all registers") << "Update" << 5 << 5 << true << true;
    QTest::newRow("Quick Freq Update") << "QuickUpdate" << 2 << 2 << false << true;
    QTest::newRow("Store to EE, after a register line") << "StoreEE" << 7 << 7 << true << false;
    QTest::newRow("Store to EE, after a store mark") << "StoreEE" << 5 << 6 << false << true;
    QTest::newRow("Init from EE") << "Init" << 1 << 1 << false << true;
    QTest::newRow("Verify EE") << "VerifyEE" << 1 << 1 << true << false;
}

// The adapter goes away in the middle of a transfer: nothing more is sent, one
// message says so, the window is as before but for the port box, which comes
// back, and a new board can be opened from it and used: the transfer sends the
// window's words, and the console then holds the board's replies only.
void TestLinkController::unplugMidTransfer() {
    QFETCH(QString, button);
    QFETCH(int, hangupAfter);
    QFETCH(int, linesAtMost);
    QFETCH(bool, dividerFirst);
    sim::BoardOptions options;
    options.faults.hangupAfterLines = hangupAfter;
    sim::PtyBoard board(options);
    MainWindow window;
    connectTo(window, board);
    auto& c = window.controls();
    c.Mux->setValue(7);
    if (dividerFirst) c.Odiv->setValue(2);
    const RegisterImage image = window.state().registers;
    auto before = withoutConsole(window);

    QElapsedTimer clock;
    clock.start();
    click(window, button);
    // Stopped at the hang-up, not at the end of its pauses (the read-back alone waits 1.5 s).
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(board.hungUp());
    const QByteArray received = QByteArray::fromStdString(board.received());
    const QByteArray sequence = sentBy(button, image);
    QVERIFY2(received == firstLines(sequence, hangupAfter) ||
                 received == firstLines(sequence, linesAtMost),
             received.constData());

    QTest::qWait(100); // no second message comes later
    const QString console = c.Text1->toPlainText();
    QCOMPARE(console.count("The port " + device(board) + " stopped working"), 1);
    QVERIFY2(console.endsWith("Check the adapter, then open the port again.\n"),
             qPrintable(console));
    QVERIFY(!window.recalculationHeld());
    QCOMPARE(window.state().registers, image);
    auto after = withoutConsole(window);
    for (QWidget* linkControl :
         {c.Update, c.QuickUpdate, c.StoreEE, c.Init, c.VerifyEE, c.QStepUp, c.QStepDn})
        QVERIFY2(linkControl->isHidden(), qPrintable(linkControl->objectName()));
    for (QWidget* portBox : std::initializer_list<QWidget*>{c.CPNo, c.Label6, c.SetCP})
        QVERIFY2(!portBox->isHidden() && portBox->isEnabled(), qPrintable(portBox->objectName()));
    QCOMPARE(c.SetCP->text(), "COM Port");
    for (const char* name : {"Update", "QuickUpdate", "StoreEE", "Init", "VerifyEE", "QStepUp",
                             "QStepDn", "CPNo", "Label6", "SetCP"}) {
        after.remove(name);
        before.remove(name);
    }
    QCOMPARE(after, before);

    sim::PtyBoard replacement;
    connectTo(window, replacement);
    click(window, button);
    QCOMPARE(QByteArray::fromStdString(replacement.received()), sentBy(button, image));
    if (button != "Init" && button != "VerifyEE") {
        QTRY_COMPARE(c.Text1->toPlainText(), replies(replacement));
        QVERIFY(c.Text1->toPlainText().startsWith("OK "));
    }
    QTEST(c.QuickUpdate->isEnabled(), "quickEnabledAfter");
}

void TestLinkController::closingDuringATransferSendsNothingMore() {
    sim::PtyBoard board;
    auto window = std::make_unique<MainWindow>();
    connectTo(*window, board);
    window->show();
    QTimer::singleShot(130, window.get(), [&] { window->close(); });
    window->controls().StoreEE->click();
    QVERIFY(!window->linkController().serialLink().isOpen());
    window.reset();
    const std::string received = board.received();
    QVERIFY(!received.empty());
    QVERIFY(received.size() < 11 * 8);
    QTest::qWait(150);
    QCOMPARE(board.received(), received);
}

QTEST_MAIN(TestLinkController)
#include "tst_link_controller.moc"
