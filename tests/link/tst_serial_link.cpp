// The link against the virtual board on a real pseudo-terminal: pauses, a
// transfer inside another's pause, an application that quits.

#include <QtTest>

#include "link/serial_link.h"
#include "link/transfers.h"
#include "model/recalculation.h"
#include "pty_board.h"

using namespace kelvane;
using namespace kelvane::link;

namespace {

RegisterImage imageOf(const Inputs& c) {
    return std::get<Recalculation>(recalculate(c, planVariablesFrom(c))).registers;
}

const RegisterImage startUp = imageOf(Inputs{});

// A virtual board with the link open on its terminal.
struct Connected {
    Connected() {
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
    // Each word's line, the store mark, then that same line; the next word comes
    // from the image as it is when its turn comes. Every register line is followed
    // by a pause, the store mark is not: the n-th line cannot have arrived before
    // n pauses have passed (the board's reading adds delays of its own, so gaps
    // between two arrivals can be shorter than the pause the host kept).
    void storeSendsEachLineTwiceWithPauses() {
        Connected c;
        const double start = sim::monotonicSeconds();
        int asked = 0;
        QVERIFY(storeAllRegisters(c.link, [&asked] {
            RegisterImage image;
            image.word.fill(++asked);
            return image;
        }));
        QByteArray expected;
        for (int turn = 1; turn <= int(transferOrder.size()); ++turn)
            expected += "R0000000" + QByteArray::number(turn, 16).toUpper() + "\r\nW\r\nR0000000" +
                        QByteArray::number(turn, 16).toUpper() + "\r\n";
        QCOMPARE(QByteArray::fromStdString(c.board.received()), expected);
        QList<double> arrivals; // of each register line: "R" begins every one, and is nowhere else
        for (const auto& chunk : c.board.chunks())
            for (char ch : chunk.bytes)
                if (chunk.fromHost && ch == 'R') arrivals << chunk.time;
        QCOMPARE(arrivals.size(), 24);
        for (int n = 0; n < arrivals.size(); ++n)
            QVERIFY2(arrivals[n] - start >= n * 0.050, qPrintable(QString("line %1").arg(n)));
    }

    // A quick update run in the first pause of a full update, after a change of the
    // plan: the rest of the full update sends the new words too.
    void transferInsidePauseLeavesNewestWords() {
        Connected c;
        RegisterImage current = startUp;
        const RegisterSource source = [&] { return current; };
        bool innerCompleted = false;
        QTimer::singleShot(10, [&] {
            Inputs divided;
            divided.fo = "1160.125";
            divided.odiv = 2;
            current = imageOf(divided);
            innerCompleted = sendFrequencyRegisters(c.link, source);
        });
        QVERIFY(sendAllRegisters(c.link, source));
        QVERIFY(innerCompleted);

        // The quick update's three lines, then the rest of the full one with the divided plan.
        const QByteArray expected =
            "R00000017\r\nR047A1202\r\nR00000011\r\nR30D40E80\r\n"
            "R000000CD\r\nR0000001C\r\nR28001409\r\nR0111CE58\r\nR001F3326\r\nRA0040005"
            "\r\nRFF4820A4\r\nR00A87303\r\nR047A1202\r\nR00000011\r\nR30D40E80\r\n";
        QCOMPARE(QByteArray::fromStdString(c.board.received()), expected);
    }

    // Quitting ends every event loop, the pauses' too: the transfer must stop rather
    // than send the rest without pauses. Last: the application stays quitting.
    void quittingDuringAPauseSendsNothingMore() {
        Connected c;
        QTimer::singleShot(120, [] { QCoreApplication::exit(0); });
        QVERIFY(!sendAllRegisters(c.link, [] { return startUp; }));
        QVERIFY(!c.link.pause(linePause));
        c.link.close();
        const QByteArray received = QByteArray::fromStdString(c.board.received());
        QVERIFY(!received.isEmpty() && received.size() < 11 * 4);
        QVERIFY(QByteArray("R00000017\r\nR0000008D\r\nR0000001C\r\nR28001409\r\n")
                    .startsWith(received));

        QTimer::singleShot(0, [] { QCoreApplication::quit(); });
        QCoreApplication::exec(); // ends the quitting state
    }
};

QTEST_GUILESS_MAIN(TestSerialLink)
#include "tst_serial_link.moc"
