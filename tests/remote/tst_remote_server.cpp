// The remote-control server: requests from raw clients against a board whose
// state a row sets, the limits on clients, and the rig-control program's own
// network client driving the virtual board directly and through kelvanectl
// serve.

#include <QtNetwork>
#include <QtTest>
#include <csignal>

#include "pty_board.h"
#include "remote/remote_server.h"
#include "remote/session_remote_board.h"

using namespace kelvane;
using namespace kelvane::remote;

namespace {

// The words of 1296.5 and 1296.6 MHz with the output divider at 2, the other
// inputs at start-up, as the board receives them.
const QByteArray all12965 = "R00000017\r\nR000000CD\r\nR0000001C\r\nR28001409\r\nR0111CE58\r\n"
                            "R001F3326\r\nRA0040005\r\nRFF4820A4\r\nR00A87303\r\nR047A1202\r\n"
                            "R00800011\r\nR49F01030\r\n";
const QByteArray quick12966 = "R047A1202\r\nR00800011\r\nR71001030\r\n";

Inputs atOdiv(int odiv) {
    Inputs inputs;
    inputs.odiv = odiv;
    return inputs;
}

// A board whose state the test sets; it notes what it is asked to send.
struct FakeBoard : RemoteBoard {
    bool busy() const override { return isBusy; }
    bool inputsLocked() const override { return locked; }
    bool isOpen() const override { return open; }
    Inputs inputs() const override { return in; }
    PlanVariables planVariables() const override { return planVariablesFrom(in); }
    bool retune(const RunStep& step, bool allRegisters, const QString& from) override {
        sent
            << QString("%1 %2 from %3").arg(allRegisters ? "all" : "quick").arg(step.mhz).arg(from);
        in.fo = step.foText;
        return true;
    }
    bool isBusy = false, locked = false, open = true;
    Inputs in = atOdiv(2);
    QStringList sent;
};

struct Served {
    Served() { server.listen({QHostAddress(QHostAddress::LocalHost), 0}); }
    FakeBoard board;
    RemoteServer server{board};
};

struct Client {
    explicit Client(const Served& served) {
        socket.connectToHost(QHostAddress::LocalHost, served.server.listeningOn().port);
        if (!socket.waitForConnected(5000)) qFatal("no connection");
    }
    QByteArray answer() {
        QTest::qWait(300);
        return socket.readAll();
    }
    bool dropped() {
        for (int waited = 0; waited < 5000 && socket.state() != QTcpSocket::UnconnectedState;
             waited += 10)
            QTest::qWait(10);
        return socket.state() == QTcpSocket::UnconnectedState;
    }
    QTcpSocket socket;
};

// rigctl -m 2 against the port: its stdout. The server answers from this
// thread's events meanwhile.
QByteArray rigctl(quint16 port, const QStringList& commands) {
    QProcess process;
    process.start("rigctl",
                  QStringList{"-m", "2", "-r", QString("127.0.0.1:%1").arg(port)} + commands);
    for (int waited = 0; process.state() != QProcess::NotRunning && waited < 20000; waited += 10)
        QTest::qWait(10);
    return process.readAllStandardOutput();
}

} // namespace

class TestRemoteServer : public QObject {
    Q_OBJECT
private slots:
    void listenAddress() {
        const QStringList texts{"4533",       " 0.0.0.0:0 ",   "[::1]:65535", "127.0.0.1:65536",
                                "127.0.0.1:", "localhost:4532"};
        QStringList read;
        for (const QString& text : texts) {
            const auto address = readListenAddress(text);
            read << (address ? listenAddressText(*address) : "-");
        }
        QCOMPARE(read, QStringList({"127.0.0.1:4533", "0.0.0.0:0", "[::1]:65535", "-", "-", "-"}));
    }

    void requests_data() {
        QTest::addColumn<QString>("board"); // idle, locked, closed
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<QStringList>("sent");
        const QString from = " from 127.0.0.1";
        QTest::newRow("whole, then the frequency words")
            << "idle" << QByteArray("F 1296500000\n+F 1296600000.4\nf\n")
            << QByteArray("RPRT 0\nset_freq: 1296600000.4\nRPRT 0\n1296600000\n")
            << QStringList{"all 1296.5" + from, "quick 1296.6" + from};
        QTest::newRow("VCO outside the chip")
            << "idle" << QByteArray("F 100\nf\n") << QByteArray("RPRT -1\n2320250000\n")
            << QStringList{};
        QTest::newRow("malformed")
            << "idle" << QByteArray("F -1296500000\n") << QByteArray("RPRT -1\n") << QStringList{};
        QTest::newRow("inputs locked")
            << "locked" << QByteArray("F 1296500000\n") << QByteArray("RPRT -9\n") << QStringList{};
        QTest::newRow("port closed")
            << "closed" << QByteArray("F 1296500000\n") << QByteArray("RPRT -6\n") << QStringList{};
        QTest::newRow("quit ends the connection")
            << "idle" << QByteArray("q\nF 1296500000\n") << QByteArray("RPRT 0\n") << QStringList{};
    }
    void requests() {
        QFETCH(QString, board);
        QFETCH(QByteArray, lines);
        QFETCH(QByteArray, expected);
        QFETCH(QStringList, sent);
        Served served;
        served.board.locked = board == "locked";
        served.board.open = board != "closed";
        Client client(served);
        client.socket.write(lines);
        QCOMPARE(client.answer(), expected);
        QCOMPARE(served.board.sent, sent);
    }

    // A frequency request waits for a busy board, holding up its own client's
    // later lines but no other client's questions.
    void waitsWhileBusy() {
        Served served;
        served.board.isBusy = true;
        Client waiting(served), asking(served);
        waiting.socket.write("F 1296500000\nv\n");
        asking.socket.write("f\n");
        QCOMPARE(asking.answer(), QByteArray("2320250000\n"));
        QCOMPARE(waiting.socket.bytesAvailable(), 0);
        served.board.isBusy = false;
        QCOMPARE(waiting.answer(), QByteArray("RPRT 0\nVFOA\n"));
        QCOMPARE(served.board.sent.size(), 1);
    }

    void clientLimits_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("expected"); // "closed": the connection ends
        QTest::newRow("1024 bytes") << "v" + QByteArray(1023, ' ') + "\n" << QByteArray("VFOA\n");
        QTest::newRow("1025 bytes") << "v" + QByteArray(1024, ' ') + "\n" << QByteArray("closed");
        QTest::newRow("endless line") << QByteArray(4096, 'f') << QByteArray("closed");
    }
    void clientLimits() {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, expected);
        Served served;
        Client silent(served), client(served);
        silent.socket.write("F 1296"); // half a line holds nothing up
        client.socket.write(bytes);
        QCOMPARE(expected == "closed" ? client.dropped() : client.answer() == expected, true);
        QCOMPARE(silent.socket.state(), QAbstractSocket::ConnectedState);
    }

    void fourClientsAtOnce() {
        Served served;
        std::vector<std::unique_ptr<Client>> clients;
        for (int i = 0; i <= mostClients; ++i)
            clients.push_back(std::make_unique<Client>(served));
        QVERIFY(clients.back()->dropped());
        QCOMPARE(served.server.statusText(), QString("Remote: listening on 127.0.0.1:%1, 4 clients")
                                                 .arg(served.server.listeningOn().port));
        clients.front()->socket.disconnectFromHost();
        QTRY_COMPARE(served.server.clientCount(), mostClients - 1);
        Client late(served);
        late.socket.write("f\n");
        QCOMPARE(late.answer(), QByteArray("2320250000\n"));
    }

    // rigctl -m 2 opening the server, setting and reading the frequency, with
    // the virtual board on the session's port.
    void rigctlDrivesTheBoard_data() {
        QTest::addColumn<int>("odiv");
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<QByteArray>("out"); // what stdout ends with
        QTest::addColumn<QByteArray>("received");
        QTest::newRow("set and read")
            << 2 << QStringList{"F", "1296500000", "f"} << QByteArray("1296500000\n") << all12965;
        QTest::newRow("second as a quick update")
            << 2 << QStringList{"F", "1296500000", "F", "1296600000"} << QByteArray()
            << all12965 + quick12966;
        // rigctl writes the refusal with its trace on stdout.
        QTest::newRow("refused: the VCO below the chip")
            << 1 << QStringList{"F", "1296500000", "f"}
            << QByteArray("Invalid parameter\n\n2320250000\n") << QByteArray();
        QTest::newRow("what the client asks on opening")
            << 2 << QStringList{"v", "s", "m"} << QByteArray("VFOA\n0\nVFOA\nCW\n0\n")
            << QByteArray();
    }
    void rigctlDrivesTheBoard() {
        QFETCH(int, odiv);
        QFETCH(QStringList, commands);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, received);
        if (QStandardPaths::findExecutable("rigctl").isEmpty())
            QSKIP("rigctl is not installed (scripts/install-deps installs it)");
        sim::PtyBoard pty;
        session::BoardSession session;
        session.open(QString::fromStdString(pty.devicePath()));
        SessionRemoteBoard board(session, atOdiv(odiv));
        RemoteServer server(board);
        QVERIFY(server.listen({QHostAddress(QHostAddress::LocalHost), 0}));
        const QByteArray said = rigctl(server.listeningOn().port, commands);
        QVERIFY2(said.endsWith(out) && (out.contains("Invalid") || said.size() == out.size()),
                 said.constData());
        QCOMPARE(QByteArray::fromStdString(pty.received()), received);
    }

    void kelvanectlServe() {
        if (QStandardPaths::findExecutable("rigctl").isEmpty())
            QSKIP("rigctl is not installed (scripts/install-deps installs it)");
        sim::PtyBoard pty;
        QProcess serve;
        serve.start(KELVANECTL_PATH, {"serve", "--port", QString::fromStdString(pty.devicePath()),
                                      "--listen", "127.0.0.1:0", "--odiv", "2"});
        QVERIFY(serve.waitForReadyRead(5000));
        const QByteArray listening = serve.readLine();
        QVERIFY2(listening.startsWith("listening on 127.0.0.1:"), listening.constData());
        QCOMPARE(rigctl(listening.trimmed().split(':').last().toUShort(), {"F", "1296500000"}),
                 QByteArray());
        QCOMPARE(QByteArray::fromStdString(pty.received()), all12965);
        QByteArray said;
        QTRY_VERIFY((said += serve.readAll()).endsWith('\n'));
        QCOMPARE(said, QByteArray("1296.500000 MHz from 127.0.0.1\n"));
        ::kill(pid_t(serve.processId()), SIGTERM);
        QVERIFY(serve.waitForFinished(5000));
        QCOMPARE(serve.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TestRemoteServer)
#include "tst_remote_server.moc"
