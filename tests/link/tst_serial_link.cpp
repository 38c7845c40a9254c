// The link against the virtual board on a real pseudo-terminal: the bytes each
// transfer puts on the wire, the pauses, a transfer inside another's pause, a
// board that goes away and an application that quits. The window's tests try
// the replies' way to the console, closing during a transfer and opening again
// after a hang-up; the board's tests what the board makes of the lines.

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>
#include <array>

#include "link/serial_link.h"
#include "link/transfers.h"
#include "model/control_state.h"
#include "model/recalculation.h"
#include "pty_board.h"

using namespace kelvane;
using namespace kelvane::link;

namespace {

RegisterImage imageOf(const ControlState& c) {
    return std::get<Recalculation>(recalculate(planInputsFrom(c), loopSettingsFrom(c))).registers;
}

const RegisterImage startUp = imageOf(ControlState{});

const QByteArray updateAllBytes = "R00000017\r\nR0000008D\r\nR0000001C\r\nR28001409\r\n"
                                  "R0111CE58\r\nR001F3326\r\nRA0040005\r\nRFF4810A4\r\n"
                                  "R00A87303\r\nR04F42402\r\nR00000011\r\nR61A80E80\r\n";

// Each line, the store mark and the line again.
const QByteArray storeBytes = [] {
    QByteArray bytes;
    for (const QByteArray& line : updateAllBytes.split('\n'))
        if (!line.isEmpty()) bytes += line + "\nW\r\n" + line + "\n";
    return bytes;
}();

// A virtual board with the link open on its terminal.
struct Connected {
    explicit Connected(const sim::BoardOptions& options = {}) : board(options) {
        const auto outcome = link.open(QString::fromStdString(board.devicePath()));
        if (outcome.result != OpenOutcome::Result::Opened)
            qFatal("cannot open: %s", qPrintable(outcome.cause));
    }
    sim::PtyBoard board;
    SerialLink link;
};

} // namespace

class TestSerialLink : public QObject {
    Q_OBJECT
private slots:
    void bytesOnTheWire_data();
    void bytesOnTheWire();
    void pauses();
    void transferInsidePauseLeavesNewestWords();
    void openOutcomes();
    void hangUpInTheMiddleOfAStore();
    void quittingDuringAPauseSendsNothingMore();
};

void TestSerialLink::bytesOnTheWire_data() {
    QTest::addColumn<int>("transfer");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("update all") << 0 << updateAllBytes;
    QTest::newRow("quick update") << 1 << updateAllBytes.right(3 * 11);
    QTest::newRow("store") << 2 << storeBytes;
}

void TestSerialLink::bytesOnTheWire() {
    QFETCH(int, transfer);
    Connected c;
    const auto send = std::array{sendAllRegisters, sendFrequencyRegisters, storeAllRegisters};
    QVERIFY(send[transfer](c.link, [] { return startUp; }));
    QTEST(QByteArray::fromStdString(c.board.received()), "expected");
}

void TestSerialLink::pauses() {
    Connected c;
    for (int milliseconds : {1, int(linePause.count())}) {
        QElapsedTimer clock;
        clock.start();
        QVERIFY(c.link.pause(std::chrono::milliseconds(milliseconds)));
        QVERIFY(clock.nsecsElapsed() > qint64(milliseconds) * 1000000);
    }
    // Every register line is followed by a pause, the store mark is not: the
    // n-th line cannot have arrived before n pauses have passed. (The board's
    // reading adds delays of its own, so gaps between two arrivals can come
    // out shorter than the pause the host kept.)
    const double start = sim::monotonicSeconds();
    QVERIFY(storeAllRegisters(c.link, [] { return startUp; }));
    QList<double> arrivals; // of each register line: "R" begins every one, and is nowhere else
    for (const auto& chunk : c.board.chunks())
        for (char ch : chunk.bytes)
            if (chunk.fromHost && ch == 'R') arrivals << chunk.time;
    QCOMPARE(arrivals.size(), 24);
    for (int n = 0; n < arrivals.size(); ++n)
        QVERIFY2(arrivals[n] - start >= n * 0.050, qPrintable(QString("line %1").arg(n)));
}

// "Quick Freq Update" pressed during the first pause of "Update all registers",
// after a change of the plan: the quick update runs inside the pause, and the
// rest of the full update then sends the new words too.
void TestSerialLink::transferInsidePauseLeavesNewestWords() {
    Connected c;
    RegisterImage current = startUp;
    const RegisterSource source = [&] { return current; };
    bool innerCompleted = false;
    QTimer::singleShot(10, [&] {
        ControlState divided;
        divided.fo = "1160.125";
        divided.odiv = 2;
        current = imageOf(divided);
        innerCompleted = sendFrequencyRegisters(c.link, source);
    });
    QVERIFY(sendAllRegisters(c.link, source));
    QVERIFY(innerCompleted);

    QByteArray expected = "R00000017\r\nR047A1202\r\nR00000011\r\nR30D40E80\r\n";
    for (int address : transferOrder)
        if (address != 7) expected += registerLine(current[address]);
    QCOMPARE(QByteArray::fromStdString(c.board.received()), expected);
}

void TestSerialLink::openOutcomes() {
    SerialLink link;
    QCOMPARE(link.open("").result, OpenOutcome::Result::Nothing);
    OpenOutcome outcome = link.open("/dev/pts/999999");
    QCOMPARE(outcome.result, OpenOutcome::Result::Failed);
    QCOMPARE(outcome.cause, "/dev/pts/999999 was not found.");
    QVERIFY(!link.isOpen());
    // Nothing can be written, and no pause runs, while the link is closed.
    QVERIFY(!link.waitResponse("R00000017\r\n"));
}

// The adapter is pulled after the seventh line: one message, the link closed and
// nothing sent after.
void TestSerialLink::hangUpInTheMiddleOfAStore() {
    sim::BoardOptions options;
    options.faults.hangupAfterLines = 7; // R W R, R W R, R
    Connected c(options);
    QSignalSpy failed(&c.link, &SerialLink::failed);
    QSignalSpy closed(&c.link, &SerialLink::closed);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!storeAllRegisters(c.link, [] { return startUp; }));
    QVERIFY(clock.elapsed() < 1000); // it stopped rather than running 24 pauses
    QCOMPARE(failed.size(), 1);
    QVERIFY(failed.first().first().toString().startsWith("The port " + c.link.device() +
                                                         " stopped working"));
    QCOMPARE(closed.size(), 1);
    QVERIFY(!c.link.isOpen());
    QCOMPARE(QByteArray::fromStdString(c.board.received()), storeBytes.left(11 * 5 + 3 * 2));
    QTest::qWait(100);
    QCOMPARE(failed.size(), 1);
}

// Quitting the application ends every event loop, the pauses' included, and
// keeps new ones from running: the transfer must stop rather than send the
// rest without pauses. Last, because it leaves the application quitting until
// exec() runs again.
void TestSerialLink::quittingDuringAPauseSendsNothingMore() {
    Connected c;
    QTimer::singleShot(120, [] { QCoreApplication::exit(0); });
    QVERIFY(!sendAllRegisters(c.link, [] { return startUp; }));
    QVERIFY(!c.link.pause(linePause));
    c.link.close();
    const QByteArray received = QByteArray::fromStdString(c.board.received());
    QVERIFY(updateAllBytes.startsWith(received));
    QVERIFY(received.size() < 11 * 4);

    QTimer::singleShot(0, [] { QCoreApplication::quit(); });
    QCoreApplication::exec(); // ends the quitting state
}

QTEST_GUILESS_MAIN(TestSerialLink)
#include "tst_serial_link.moc"
