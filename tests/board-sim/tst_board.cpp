// The virtual board's answers to each kind of line, and its EEPROM file.

#include <QTemporaryDir>
#include <QtTest>

#include "board.h"
#include "eeprom_file.h"

using namespace kelvane::sim;

namespace {

const QByteArray startUpAnswer = "0x00 00 00 17\r\n0x00 00 00 8D\r\n0x00 00 00 1C\r\n"
                                 "0x28 00 14 09\r\n0x01 11 CE 58\r\n0x00 1F 33 26\r\n"
                                 "0xA0 04 00 05\r\n0xFF 48 10 A4\r\n0x00 A8 73 03\r\n"
                                 "0x04 F4 24 02\r\n0x00 00 00 11\r\n0x61 A8 0E 80\r\n";

} // namespace

class TestBoard : public QObject {
    Q_OBJECT
private slots:
    void answers_data() {
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QByteArray>("answer");
        const QByteArray bad = "ERR bad line\r\n";
        QTest::newRow("register line, upper-cased") << QByteArray("R00A87303\r\nR61a80e80\r\n")
                                                    << QByteArray("OK 00A87303\r\nOK 61A80E80\r\n");
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

    void answers() {
        QFETCH(QByteArray, sent);
        Board board;
        QTEST(QByteArray::fromStdString(board.receive(sent.toStdString())), "answer");
    }

    // A stored word outlives the board: the file gives back what was saved, and
    // the start-up set where there is no file yet.
    void eepromFile() {
        QTemporaryDir dir;
        const std::string path = dir.filePath("ee.txt").toStdString();
        QCOMPARE(loadEeprom(path), startUpWords());
        Board board;
        board.receive("W\r\nR0000018D\r\n");
        saveEeprom(path, board.eeprom());
        QVERIFY(Board(loadEeprom(path)).receive("init\r\n").find("\r\n0x00 00 01 8D\r\n") !=
                std::string::npos);
    }
};

QTEST_GUILESS_MAIN(TestBoard)
#include "tst_board.moc"
