// The link against the virtual board on a real pseudo-terminal: the bytes each
// transfer puts on the wire, the pauses, port errors and a board that goes away.

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

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

RegisterImage dividedByTwo() {
    ControlState c;
    c.fo = "1160.125";
    c.odiv = 2;
    return imageOf(c);
}

const QByteArray updateAllBytes = "R00000017\r\nR0000008D\r\nR0000001C\r\nR28001409\r\n"
                                  "R0111CE58\r\nR001F3326\r\nRA0040005\r\nRFF4810A4\r\n"
                                  "R00A87303\r\nR04F42402\r\nR00000011\r\nR61A80E80\r\n";

QByteArray storeBytes(const QByteArray& lines) {
    QByteArray bytes;
    for (const QByteArray& line : lines.split('\n')) {
        if (line.isEmpty()) continue;
        bytes += line + "\nW\r\n" + line + "\n";
    }
    return bytes;
}

// When the board received the first byte of each register line.
QList<double> registerLineArrivals(const std::vector<sim::Chunk>& chunks) {
    QList<double> arrivals;
    bool atLineStart = true;
    for (const auto& chunk : chunks) {
        if (!chunk.fromHost) continue;
        for (char c : chunk.bytes) {
            if (atLineStart && c == 'R') arrivals << chunk.time;
            atLineStart = c == '\n';
        }
    }
    return arrivals;
}

struct Connected {
    std::unique_ptr<sim::PtyBoard> board;
    std::unique_ptr<SerialLink> link;
    QByteArray replies;
};

std::unique_ptr<Connected> connectedBoard(sim::BoardOptions options = {}) {
    auto c = std::make_unique<Connected>();
    c->board = std::make_unique<sim::PtyBoard>(options);
    c->link = std::make_unique<SerialLink>();
    QObject::connect(c->link.get(), &SerialLink::received,
                     [raw = c.get()](const QByteArray& bytes) { raw->replies += bytes; });
    const auto outcome = c->link->open(QString::fromStdString(c->board->devicePath()));
    if (outcome.result != OpenOutcome::Result::Opened)
        qFatal("cannot open: %s", qPrintable(outcome.cause));
    return c;
}

} // namespace

class TestSerialLink : public QObject {
    Q_OBJECT
private slots:
    void bytesOnTheWire_data();
    void bytesOnTheWire();
    void pauseLastsLongerThanItsLength_data();
    void pauseLastsLongerThanItsLength();
    void everyLineIsFollowedByAPause();
    void transferInsidePauseLeavesNewestWords();
    void openOutcomes();
    void hangUpInTheMiddleOfAStore();
    void closingDuringAPauseSendsNothingMore();
    void quittingDuringAPauseSendsNothingMore();
};

void TestSerialLink::bytesOnTheWire_data() {
    QTest::addColumn<QString>("transfer");
    QTest::addColumn<RegisterImage>("image");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("update all, start-up set") << "all" << startUp << updateAllBytes;
    QTest::newRow("quick update") << "quick" << startUp
                                  << QByteArray("R04F42402\r\nR00000011\r\nR61A80E80\r\n");
    QTest::newRow("quick update, divider 2")
        << "quick" << dividedByTwo() << QByteArray("R047A1202\r\nR00000011\r\nR30D40E80\r\n");
    QTest::newRow("store") << "store" << startUp << storeBytes(updateAllBytes);
}

void TestSerialLink::bytesOnTheWire() {
    QFETCH(QString, transfer);
    QFETCH(RegisterImage, image);
    QFETCH(QByteArray, expected);
    auto c = connectedBoard();
    const RegisterSource source = [&] { return image; };
    bool completed = false;
    if (transfer == "all") completed = sendAllRegisters(*c->link, source);
    if (transfer == "quick") completed = sendFrequencyRegisters(*c->link, source);
    if (transfer == "store") completed = storeAllRegisters(*c->link, source);
    QVERIFY(completed);
    QCOMPARE(QByteArray::fromStdString(c->board->received()), expected);

    // Every reply the board sent arrived, in its order.
    QByteArray sent;
    for (const auto& chunk : c->board->chunks())
        if (!chunk.fromHost) sent += QByteArray::fromStdString(chunk.bytes);
    QTRY_COMPARE(c->replies, sent);
    QVERIFY(c->replies.startsWith("OK "));
    if (transfer == "store") {
        QVERIFY(c->replies.contains("OK W\r\nOK 00000017 stored\r\n"));
        const auto eeprom = c->board->eeprom();
        for (int address : transferOrder)
            QCOMPARE(qint64(eeprom[address]), image[address]);
    }
}

void TestSerialLink::pauseLastsLongerThanItsLength_data() {
    QTest::addColumn<int>("milliseconds");
    QTest::newRow("line pause") << int(linePause.count());
    QTest::newRow("read-back pause") << int(readBackPause.count());
    QTest::newRow("1 ms") << 1;
}

void TestSerialLink::pauseLastsLongerThanItsLength() {
    QFETCH(int, milliseconds);
    auto c = connectedBoard();
    QElapsedTimer clock;
    clock.start();
    QVERIFY(c->link->pause(std::chrono::milliseconds(milliseconds)));
    QVERIFY(clock.nsecsElapsed() > qint64(milliseconds) * 1000000);
}

void TestSerialLink::everyLineIsFollowedByAPause() {
    auto c = connectedBoard();
    const double start = sim::monotonicSeconds();
    QVERIFY(storeAllRegisters(*c->link, [] { return startUp; }));
    // Every register line is followed by a pause, the store mark is not: the
    // n-th line cannot have arrived before n pauses have passed. (The board's
    // reading adds delays of its own, so gaps between two arrivals can come
    // out shorter than the pause the host kept.)
    const auto arrivals = registerLineArrivals(c->board->chunks());
    QCOMPARE(arrivals.size(), 24);
    for (int n = 0; n < arrivals.size(); ++n)
        QVERIFY2(arrivals[n] - start >= n * 0.050, qPrintable(QString("line %1").arg(n)));
}

// "Quick Freq Update" pressed during the first pause of "Update all registers",
// after a change of the plan: the quick update runs inside the pause, and the
// rest of the full update then sends the new words too.
void TestSerialLink::transferInsidePauseLeavesNewestWords() {
    auto c = connectedBoard();
    RegisterImage current = startUp;
    const RegisterSource source = [&] { return current; };
    bool innerCompleted = false;
    QTimer::singleShot(10, [&] {
        current = dividedByTwo();
        innerCompleted = sendFrequencyRegisters(*c->link, source);
    });
    QVERIFY(sendAllRegisters(*c->link, source));
    QVERIFY(innerCompleted);

    QByteArray expected = "R00000017\r\nR047A1202\r\nR00000011\r\nR30D40E80\r\n";
    for (int address : transferOrder)
        if (address != 7) expected += registerLine(current[address]);
    QCOMPARE(QByteArray::fromStdString(c->board->received()), expected);
    const auto registers = c->board->registers();
    for (int address : transferOrder)
        QCOMPARE(qint64(registers[address]), current[address]);
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

// The adapter is pulled after the seventh line: one message, the link closed,
// nothing sent after, and a fresh board can be opened with the same link.
void TestSerialLink::hangUpInTheMiddleOfAStore() {
    sim::BoardOptions options;
    options.faults.hangupAfterLines = 7; // R W R, R W R, R
    auto c = connectedBoard(options);
    QSignalSpy failed(c->link.get(), &SerialLink::failed);
    QSignalSpy closed(c->link.get(), &SerialLink::closed);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!storeAllRegisters(*c->link, [] { return startUp; }));
    QVERIFY(clock.elapsed() < 1000); // it stopped rather than running 24 pauses
    QCOMPARE(failed.size(), 1);
    QVERIFY(failed.first().first().toString().startsWith("The port " + c->link->device() +
                                                         " stopped working"));
    QCOMPARE(closed.size(), 1);
    QVERIFY(!c->link->isOpen());
    QVERIFY(c->board->hungUp());
    QCOMPARE(QByteArray::fromStdString(c->board->received()),
             storeBytes(updateAllBytes).left(11 * 5 + 3 * 2));
    QTest::qWait(100);
    QCOMPARE(failed.size(), 1);

    sim::PtyBoard replacement;
    QCOMPARE(c->link->open(QString::fromStdString(replacement.devicePath())).result,
             OpenOutcome::Result::Opened);
    QVERIFY(sendFrequencyRegisters(*c->link, [] { return startUp; }));
    QCOMPARE(replacement.received().size(), 33u);
}

void TestSerialLink::closingDuringAPauseSendsNothingMore() {
    auto c = connectedBoard();
    QTimer::singleShot(120, c->link.get(), [&] { c->link->close(); });
    QVERIFY(!storeAllRegisters(*c->link, [] { return startUp; }));
    QVERIFY(!c->link->isOpen());
    QTest::qWait(150);
    const QByteArray received = QByteArray::fromStdString(c->board->received());
    QVERIFY(!received.isEmpty());
    QVERIFY(storeBytes(updateAllBytes).startsWith(received));
    QVERIFY(received.size() < 11 * 8);
}

// Quitting the application ends every event loop, the pauses' included, and
// keeps new ones from running: the transfer must stop rather than send the
// rest without pauses. Last, because it leaves the application quitting until
// exec() runs again.
void TestSerialLink::quittingDuringAPauseSendsNothingMore() {
    auto c = connectedBoard();
    QTimer::singleShot(120, [] { QCoreApplication::exit(0); });
    QVERIFY(!sendAllRegisters(*c->link, [] { return startUp; }));
    QVERIFY(!c->link->pause(linePause));
    c->link->close();
    const QByteArray received = QByteArray::fromStdString(c->board->received());
    QVERIFY(updateAllBytes.startsWith(received));
    QVERIFY(received.size() < 11 * 4);

    QTimer::singleShot(0, [] { QCoreApplication::quit(); });
    QCoreApplication::exec(); // ends the quitting state
}

QTEST_GUILESS_MAIN(TestSerialLink)
#include "tst_serial_link.moc"
