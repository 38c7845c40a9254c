// The virtual board: its answers to each kind of line and its EEPROM file.
// (Its faults are tried through the window and kelvanectl.)

#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "board.h"
#include "eeprom_file.h"
#include "pty_board.h"

using namespace kelvane::sim;

namespace {

// Writes the bytes to the board's terminal (which the board keeps in raw mode)
// and returns what comes back until `quietMs` pass without a byte.
QByteArray talk(const PtyBoard& board, const QByteArray& bytes, int quietMs = 150) {
    const int fd = ::open(board.devicePath().c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0) qFatal("cannot open %s", board.devicePath().c_str());
    if (::write(fd, bytes.data(), bytes.size()) != bytes.size()) qFatal("short write");
    QByteArray answer;
    pollfd pfd{fd, POLLIN, 0};
    char buffer[65536];
    ssize_t count = 0;
    while (::poll(&pfd, 1, quietMs) > 0 && (count = ::read(fd, buffer, sizeof buffer)) > 0)
        answer.append(buffer, count);
    ::close(fd);
    return answer;
}

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
    void eepromFile();
};

void TestBoard::answers_data() {
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QByteArray>("answer");
    const QByteArray bad = "ERR bad line\r\n";
    QTest::newRow("register line, upper-cased")
        << QByteArray("R00A87303\r\nR61a80e80\r\n") << QByteArray("OK 00A87303\r\nOK 61A80E80\r\n");
    QTest::newRow("store") << QByteArray("W\r\nR00000017\r\n")
                           << QByteArray("OK W\r\nOK 00000017 stored\r\n");
    QTest::newRow("line ends CR, LF or both; empty lines are none")
        << QByteArray("R00000011\rR00000011\n\r\n\r\nR00000011\r\n")
        << QByteArray("OK 00000011\r\nOK 00000011\r\nOK 00000011\r\n");
    QTest::newRow("read request") << QByteArray("init\r\n") << startUpAnswer;
    QTest::newRow("a mark before the read request is dropped")
        << QByteArray("W\r\ninit\r\nR00000017\r\n")
        << "OK W\r\n" + startUpAnswer + "OK 00000017\r\n";
    QTest::newRow("7 or 9 digits, not hexadecimal, prefixed, INIT")
        << QByteArray("R1234567\r\nR123456789\r\nR0000001G\r\nR0x000017\r\nINIT\r\n")
        << bad.repeated(5);
    QTest::newRow("overlong line, once") << QByteArray(200, 'R') + "\r\nR00000017\r\n"
                                         << bad + "OK 00000017\r\n";
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
    const std::string expected = Board().receive(sent);
    for (std::size_t size = 1; size < 8; ++size) {
        Board board;
        std::string answer;
        for (std::size_t at = 0; at < sent.size(); at += size)
            answer += board.receive(sent.substr(at, size));
        QCOMPARE(answer, expected);
    }
}

// Only the line after a store mark goes to the EEPROM, and the EEPROM file keeps
// it across a restart of the board.
void TestBoard::eepromFile() {
    QTemporaryDir dir;
    BoardOptions options;
    options.eepromPath = dir.filePath("ee.txt").toStdString();
    QCOMPARE(loadEeprom(options.eepromPath), startUpWords()); // no file yet
    {
        PtyBoard board(options);
        QCOMPARE(talk(board, "R00000027\r\nW\r\nR0000018D\r\nR0000011C\r\n"),
                 QByteArray("OK 00000027\r\nOK W\r\nOK 0000018D stored\r\nOK 0000011C\r\n"));
        QCOMPARE(board.registers()[7], 0x27u);
        QCOMPARE(board.registers()[12], 0x11Cu);
    }
    Words expected = startUpWords();
    expected[13] = 0x18D;
    QCOMPARE(loadEeprom(options.eepromPath), expected);
    QVERIFY(talk(PtyBoard(options), "init\r\n").contains("\r\n0x00 00 01 8D\r\n"));
}

QTEST_GUILESS_MAIN(TestBoard)
#include "tst_board.moc"
