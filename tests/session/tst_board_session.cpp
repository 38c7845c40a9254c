// The board session against the virtual board on a real pseudo-terminal: runs
// and how each ends, and the transfers' own reply counts.

#include <QtTest>

#include "model/recalculation.h"
#include "pty_board.h"
#include "session/board_session.h"
#include "session/frequency_runs.h"

using namespace kelvane;
using namespace kelvane::session;
using namespace std::chrono_literals;

namespace {

const QByteArray startUpLines = "R00000017\r\nR0000008D\r\nR0000001C\r\nR28001409\r\nR0111CE58\r\n"
                                "R001F3326\r\nRA0040005\r\nRFF4810A4\r\nR00A87303\r\n"
                                "R04F42402\r\nR00000011\r\nR61A80E80\r\n";

// Quick Freq Update of a start-up plan whose Reg0 is given.
QByteArray quick(const char* reg0) {
    return QByteArray("R04F42402\r\nR00000011\r\nR") + reg0 + "\r\n";
}

// What is done to the session while the run goes.
enum class Meddle {
    Nothing,
    StopDuringLines, // 30 ms in: during the first step's lines
    CloseDuringLines,
    StopLater, // 300 ms in
    RunInsideTransfer
};

Run plannedRun(const QList<double>& frequencies, long long passes,
               std::chrono::milliseconds dwell) {
    const auto planned =
        planRun({frequencies.begin(), frequencies.end()}, Inputs{}, planVariablesFrom(Inputs{}));
    return frequencyRun("Sweep", std::get<std::vector<kelvane::RunStep>>(planned), dwell, passes);
}

// A session with the port open on a virtual board.
struct Connected {
    explicit Connected(sim::Faults faults = {}) : board({{}, {}, faults}) {
        const auto outcome = session.open(QString::fromStdString(board.devicePath()));
        if (outcome.result != link::OpenOutcome::Result::Opened)
            qFatal("cannot open: %s", qPrintable(outcome.cause));
    }
    sim::PtyBoard board;
    BoardSession session;
};

} // namespace

Q_DECLARE_METATYPE(sim::Faults)
Q_DECLARE_METATYPE(Meddle)

class TestBoardSession : public QObject {
    Q_OBJECT
private slots:
    void runs_data() {
        QTest::addColumn<QList<double>>("frequencies");
        QTest::addColumn<long long>("passes");
        QTest::addColumn<int>("dwellMs");
        QTest::addColumn<sim::Faults>("faults");
        QTest::addColumn<Meddle>("meddle");
        QTest::addColumn<RunEnd>("end");
        QTest::addColumn<long long>("stepsSent");
        QTest::addColumn<QString>("line"); // "start..." where timing decides the rest
        QTest::addColumn<QByteArray>("received");

        const QList<double> two{2320.25, 2320.35};
        QTest::newRow("two passes: the set-up words once")
            << two << 2LL << 0 << sim::Faults{} << Meddle::Nothing << RunEnd::Completed << 4LL
            << "Done: 4 frequencies sent; the board is at 2320.350000 MHz"
            << startUpLines + quick("88B80E80") + quick("61A80E80") + quick("88B80E80");
        QTest::newRow("one frequency")
            << QList<double>{2320.35} << 1LL << 0 << sim::Faults{} << Meddle::Nothing
            << RunEnd::Completed << 1LL << "Done: 1 frequency sent; the board is at 2320.350000 MHz"
            << QByteArray(startUpLines).replace("R61A80E80", "R88B80E80");
        QTest::newRow("stop during the lines: the step finishes")
            << two << 1LL << 0 << sim::Faults{} << Meddle::StopDuringLines << RunEnd::Stopped << 1LL
            << "Stopped; the board is at 2320.250000 MHz" << startUpLines;
        QTest::newRow("close during the lines: the step finishes")
            << two << 1LL << 0 << sim::Faults{} << Meddle::CloseDuringLines << RunEnd::Stopped
            << 1LL << "Stopped; the board is at 2320.250000 MHz" << startUpLines;
        QTest::newRow("stop ends an hour's dwell")
            << two << 1LL << 3600000 << sim::Faults{} << Meddle::StopLater << RunEnd::Stopped << 1LL
            << "Stopped; the board is at 2320.250000 MHz" << startUpLines;
        QTest::newRow("unplugged in the second step")
            << two << 1LL << 0 << sim::Faults{.hangupAfterLines = 14} << Meddle::Nothing
            << RunEnd::PortFailed << 1LL << "The port ..." << QByteArray();
        QTest::newRow("unplugged in the first step")
            << two << 1LL << 0 << sim::Faults{.hangupAfterLines = 5} << Meddle::Nothing
            << RunEnd::PortFailed << 0LL << "The port ..." << QByteArray();
        QTest::newRow("board falls silent")
            << two << 0LL << 0 << sim::Faults{.silentAfterLines = 12} << Meddle::Nothing
            << RunEnd::BoardSilent << -1LL << "The board stopped answering after 2320..."
            << QByteArray();
        QTest::newRow("refused inside a transfer's pause")
            << two << 1LL << 0 << sim::Faults{} << Meddle::RunInsideTransfer << RunEnd::Refused
            << 0LL << "Update all registers is sending to the board: wait for it; nothing was sent"
            << startUpLines;
    }

    void runs() {
        QFETCH(QList<double>, frequencies);
        QFETCH(long long, passes);
        QFETCH(int, dwellMs);
        QFETCH(sim::Faults, faults);
        QFETCH(Meddle, meddle);
        QFETCH(QString, line);
        QFETCH(QByteArray, received);
        Connected c(faults);
        const Run run = plannedRun(frequencies, passes, std::chrono::milliseconds(dwellMs));

        QList<long long> announced;
        connect(&c.session, &BoardSession::stepSent, this,
                [&](long long index, const session::RunStep&) { announced << index; });
        std::optional<RunOutcome> reported;
        connect(&c.session, &BoardSession::runEnded, this,
                [&](const RunOutcome& outcome) { reported = outcome; });
        if (meddle == Meddle::StopDuringLines)
            QTimer::singleShot(30, &c.session, &BoardSession::stop);
        if (meddle == Meddle::CloseDuringLines)
            QTimer::singleShot(30, &c.session, &BoardSession::close);
        if (meddle == Meddle::StopLater) QTimer::singleShot(300, &c.session, &BoardSession::stop);
        RunOutcome outcome;
        if (meddle == Meddle::RunInsideTransfer) {
            QTimer::singleShot(10, &c.session, [&] { outcome = c.session.run(run); });
            QVERIFY(c.session.sendAll([] { return RegisterImage(startUpImage()); }));
        } else {
            outcome = c.session.run(run);
        }

        QTEST(outcome.end, "end");
        QFETCH(long long, stepsSent);
        if (stepsSent >= 0) QCOMPARE(outcome.stepsSent, stepsSent);
        QCOMPARE(announced.size(), outcome.stepsSent);
        QVERIFY(reported && reported->line() == outcome.line());
        const QString shown = QString::fromStdString(outcome.line());
        QVERIFY2(line.endsWith("...") ? shown.startsWith(line.chopped(3)) : shown == line,
                 qPrintable(shown));
        if (outcome.end == RunEnd::PortFailed)
            QVERIFY2(shown.endsWith(outcome.stepsSent ? " The board was last set to "
                                                        "2320.250000 MHz."
                                                      : " Nothing was sent."),
                     qPrintable(shown));
        QCOMPARE(c.session.busy(), false);
        QCOMPARE(c.session.isOpen(),
                 outcome.end != RunEnd::PortFailed && meddle != Meddle::CloseDuringLines);
        if (!received.isEmpty()) QCOMPARE(QByteArray::fromStdString(c.board.received()), received);
    }

    // A step's time is kept on the system clock: its first line leaves no earlier.
    void stepWaitsForItsTime() {
        Connected c;
        Run run = plannedRun({2320.25}, 1, 0ms);
        const double start = sim::monotonicSeconds();
        run.steps.front().notBefore = std::chrono::system_clock::now() + 300ms;
        QCOMPARE(c.session.run(run).end, RunEnd::Completed);
        const auto chunks = c.board.chunks();
        QVERIFY(!chunks.empty());
        QVERIFY(chunks.front().time - start >= 0.299);
    }

    // A board that hangs up after the first line stops every transfer there,
    // and none of them says it went out whole.
    void transfersStopOnAHangUp_data() {
        QTest::addColumn<QString>("transfer");
        QTest::newRow("Update all registers") << "all";
        QTest::newRow("Quick Freq Update") << "quick";
        QTest::newRow("Store to EE") << "store";
    }
    void transfersStopOnAHangUp() {
        QFETCH(QString, transfer);
        Connected c(sim::Faults{.hangupAfterLines = 1});
        const link::RegisterSource image = [] { return startUpImage(); };
        const TransferOutcome outcome = transfer == "all"     ? c.session.sendAll(image)
                                        : transfer == "quick" ? c.session.sendFrequency(image)
                                                              : c.session.store(image);
        QVERIFY(!outcome.completed && !outcome.refused);
        QVERIFY(!c.session.isOpen());
    }

    // Each transfer counts the replies from its own start; one that ran inside
    // another's pauses is named in the outer one's count of lines, and a run
    // keeps every transfer out.
    void transfersCountTheirOwn() {
        Connected c;
        const link::RegisterSource image = [] { return startUpImage(); };
        TransferOutcome inner;
        QList<BoardSession::Activity> seen;
        int idle = 0;
        connect(&c.session, &BoardSession::idle, this, [&] { ++idle; });
        QTimer::singleShot(10, &c.session, [&] {
            seen << c.session.activity();
            inner = c.session.sendFrequency(image);
        });
        const TransferOutcome outer = c.session.sendAll(image);
        QVERIFY(outer.completed && inner.completed);
        QCOMPARE(seen, QList{BoardSession::Activity::Transfer});
        QCOMPARE(inner.linesSent, 3);
        QCOMPARE(inner.linesInside, 0);
        QCOMPARE(outer.linesSent, 12);
        QCOMPARE(outer.linesInside, 3);
        QVERIFY(outer.replies >= inner.replies);
        QCOMPARE(idle, 1); // once the outer one ended
        QCOMPARE(c.session.activity(), BoardSession::Activity::Idle);

        std::optional<TransferOutcome> duringRun;
        std::optional<std::string> readDuringRun = "unset";
        QTimer::singleShot(10, &c.session, [&] {
            duringRun = c.session.store(image);
            readDuringRun = c.session.readStoredSet();
        });
        c.session.run(plannedRun({2320.25}, 1, 0ms));
        QVERIFY(duringRun && duringRun->refused && !duringRun->completed);
        QCOMPARE(readDuringRun, std::nullopt);
    }

private:
    static RegisterImage startUpImage() {
        return std::get<Recalculation>(recalculate(Inputs{}, planVariablesFrom(Inputs{})))
            .registers;
    }
};

QTEST_GUILESS_MAIN(TestBoardSession)
#include "tst_board_session.moc"
