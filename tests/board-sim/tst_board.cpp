// The virtual board: its answers to each kind of line, its EEPROM file, and the
// faults it can put on, seen by a plain client on its pseudo-terminal.

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "board.h"
#include "eeprom_file.h"
#include "pty_board.h"

using namespace kelvane::sim;

namespace {

// A host end of the board's terminal, in raw mode.
class Client {
public:
    explicit Client(const std::string& device) : fd_(::open(device.c_str(), O_RDWR | O_NOCTTY)) {
        if (fd_ < 0) qFatal("cannot open %s", device.c_str());
        termios settings{};
        ::tcgetattr(fd_, &settings);
        ::cfmakeraw(&settings);
        ::tcsetattr(fd_, TCSANOW, &settings);
    }
    ~Client() { ::close(fd_); }
    void send(const QByteArray& bytes) {
        QCOMPARE(::write(fd_, bytes.data(), bytes.size()), bytes.size());
    }
    // What arrives until `quiet` ms pass without a byte, or until the terminal
    // hangs up (then hungUp() is true).
    QByteArray read(int quiet = 150, qsizetype atMost = 1 << 26) {
        QByteArray bytes;
        pollfd pfd{fd_, POLLIN, 0};
        while (bytes.size() < atMost && ::poll(&pfd, 1, quiet) > 0) {
            char buffer[65536];
            const ssize_t count = ::read(fd_, buffer, sizeof buffer);
            if (count <= 0) {
                hungUp_ = true;
                break;
            }
            bytes.append(buffer, count);
        }
        return bytes;
    }
    bool hungUp() const { return hungUp_; }

private:
    int fd_;
    bool hungUp_ = false;
};

const QByteArray startUpAnswer = "0x00 00 00 17\r\n0x00 00 00 8D\r\n0x00 00 00 1C\r\n"
                                 "0x28 00 14 09\r\n0x01 11 CE 58\r\n0x00 1F 33 26\r\n"
                                 "0xA0 04 00 05\r\n0xFF 48 10 A4\r\n0x00 A8 73 03\r\n"
                                 "0x04 F4 24 02\r\n0x00 00 00 11\r\n0x61 A8 0E 80\r\n";

} // namespace

class TestBoard : public QObject {
    Q_OBJECT
private slots:
    void answers_data();
    void answers();
    void piecesOfAnyLength();
    void storeChangesOnlyTheMarkedLine();
    void eepromFile();
    void eepromFileRefusals_data();
    void eepromFileRefusals();
    void faults_data();
    void faults();
    void floodKeepsItsLinesWhole();
};

void TestBoard::answers_data() {
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QByteArray>("answer");
    QTest::newRow("register line") << QByteArray("R00A87303\r\n") << QByteArray("OK 00A87303\r\n");
    QTest::newRow("lower-case digits")
        << QByteArray("R61a80e80\r\n") << QByteArray("OK 61A80E80\r\n");
    QTest::newRow("store") << QByteArray("W\r\nR00000017\r\n")
                           << QByteArray("OK W\r\nOK 00000017 stored\r\n");
    QTest::newRow("line ends CR, LF or both")
        << QByteArray("R00000011\rR00000011\nR00000011\r\n")
        << QByteArray("OK 00000011\r\nOK 00000011\r\nOK 00000011\r\n");
    QTest::newRow("empty lines are no lines") << QByteArray("\r\n\r\n") << QByteArray();
    QTest::newRow("read request") << QByteArray("init\r\n") << startUpAnswer;
    QTest::newRow("a mark before the read request is dropped")
        << QByteArray("W\r\ninit\r\nR00000017\r\n")
        << "OK W\r\n" + startUpAnswer + "OK 00000017\r\n";
    QTest::newRow("seven digits") << QByteArray("R1234567\r\n") << QByteArray("ERR bad line\r\n");
    QTest::newRow("nine digits") << QByteArray("R123456789\r\n") << QByteArray("ERR bad line\r\n");
    QTest::newRow("not hexadecimal")
        << QByteArray("R0000001G\r\n") << QByteArray("ERR bad line\r\n");
    QTest::newRow("prefixed") << QByteArray("R0x000017\r\n") << QByteArray("ERR bad line\r\n");
    QTest::newRow("upper-case request") << QByteArray("INIT\r\n") << QByteArray("ERR bad line\r\n");
    QTest::newRow("overlong line, once") << QByteArray(200, 'R') + "\r\nR00000017\r\n"
                                         << QByteArray("ERR bad line\r\nOK 00000017\r\n");
    QTest::newRow("no EEPROM slot for register 10")
        << QByteArray("W\r\nR0000000A\r\n") << QByteArray("OK W\r\nERR no EE slot\r\n");
}

void TestBoard::answers() {
    QFETCH(QByteArray, sent);
    Board board;
    QTEST(QByteArray::fromStdString(board.receive(sent.toStdString())), "answer");
}

void TestBoard::piecesOfAnyLength() {
    const std::string sent = "R00000017\r\nW\r\nR0000008D\r\ninit\r\n";
    Board whole;
    const std::string expected = whole.receive(sent);
    for (std::size_t size = 1; size < 8; ++size) {
        Board board;
        std::string answer;
        for (std::size_t at = 0; at < sent.size(); at += size)
            answer += board.receive(sent.substr(at, size));
        QCOMPARE(answer, expected);
    }
}

void TestBoard::storeChangesOnlyTheMarkedLine() {
    Board board;
    board.receive("R00000027\r\nW\r\nR0000018D\r\nR0000011C\r\n");
    QCOMPARE(board.registers()[7], 0x27u);
    QCOMPARE(board.registers()[12], 0x11Cu);
    QCOMPARE(board.eeprom()[7], 0x17u);
    QCOMPARE(board.eeprom()[13], 0x18Du);
    QCOMPARE(board.eeprom()[12], 0x1Cu);
    QVERIFY(board.takeEepromChanged());
    QVERIFY(!board.takeEepromChanged());
}

void TestBoard::eepromFile() {
    QTemporaryDir dir;
    const std::string path = dir.filePath("ee.txt").toStdString();
    QCOMPARE(loadEeprom(path), startUpWords()); // no file yet

    {
        BoardOptions options;
        options.eepromPath = path;
        PtyBoard board(options);
        Client client(board.devicePath());
        client.send("W\r\nR0000008D\r\nW\r\nR047A1202\r\n");
        QCOMPARE(client.read(),
                 QByteArray("OK W\r\nOK 0000008D stored\r\nOK W\r\nOK 047A1202 stored\r\n"));
    }
    Words expected = startUpWords();
    expected[2] = 0x047A1202;
    QCOMPARE(loadEeprom(path), expected);

    // A restarted board answers with what was stored.
    BoardOptions options;
    options.eepromPath = path;
    PtyBoard board(options);
    Client client(board.devicePath());
    client.send("init\r\n");
    QVERIFY(client.read().contains("\r\n0x04 7A 12 02\r\n"));
}

void TestBoard::eepromFileRefusals_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    QTest::newRow("short word") << QByteArray("# set\n0000017\n")
                                << "line 2: expected a register word";
    QTest::newRow("register 11 has no slot") << QByteArray("\n0000000B\n") << "line 2: expected";
}

void TestBoard::eepromFileRefusals() {
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QFile file(dir.filePath("ee.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    try {
        loadEeprom(file.fileName().toStdString());
        QFAIL("the file was taken");
    } catch (const std::runtime_error& error) {
        QVERIFY2(QString(error.what()).contains(message), error.what());
    }
}

void TestBoard::faults_data() {
    QTest::addColumn<Faults>("faults");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("hungUp");
    QTest::addColumn<int>("lateMs");
    const QByteArray ok = "OK 00000017\r\nOK 0000008D\r\n";
    Faults f;
    f.noReply = true;
    QTest::newRow("no reply") << f << QByteArray() << false << 0;
    f = {};
    f.garbage = true;
    QTest::newRow("garbage before the reply")
        << f << QByteArray("\0\x01\x7f\x80\xc3\x28\xfe\xff", 8) + ok << false << 0;
    f = {};
    f.slowReplySeconds = 0.3;
    QTest::newRow("slow reply") << f << ok << false << 300;
    f = {};
    f.hangupAfterLines = 1;
    QTest::newRow("hang-up after the first line") << f << QByteArray() << true << 0;
}

void TestBoard::faults() {
    QFETCH(Faults, faults);
    QFETCH(int, lateMs);
    BoardOptions options;
    options.faults = faults;
    PtyBoard board(options);
    Client client(board.devicePath());
    QElapsedTimer clock;
    clock.start();
    client.send("R00000017\r\nR0000008D\r\n");
    QByteArray answer = client.read(lateMs + 200);
    QTEST(answer, "answer");
    QTEST(client.hungUp(), "hungUp");
    QCOMPARE(board.hungUp(), client.hungUp());
    if (lateMs > 0) QVERIFY(clock.elapsed() >= lateMs);
}

void TestBoard::floodKeepsItsLinesWhole() {
    BoardOptions options;
    options.faults.floodBytes = 300000;
    PtyBoard board(options);
    Client client(board.devicePath());
    client.send("R00000017\r\n");
    const QByteArray received = client.read(300);
    QCOMPARE(received.size(), 300000 + 13);
    QVERIFY(received.startsWith("OK 00000017\r\nFLOOD 1 ") || received.startsWith("FLOOD 1 "));
    const QList<QByteArray> lines = received.split('\n');
    int expected = 1;
    for (const QByteArray& line : lines.mid(0, lines.size() - 1)) {
        if (line.startsWith("OK ")) continue;
        QCOMPARE(line, "FLOOD " + QByteArray::number(expected++) +
                           " the quick brown fox jumps over the lazy dog\r");
    }
}

QTEST_GUILESS_MAIN(TestBoard)
#include "tst_board.moc"
