// Which device a port text opens, and why a port cannot be opened.

#include <QtTest>

#include "link/open_failure.h"
#include "link/port_choice.h"

using namespace kelvane::link;

class TestPortChoice : public QObject {
    Q_OBJECT
private slots:
    // The device to open, "nothing", or "refused: " and the start of the cause.
    void choice_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("windows");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("empty") << "" << false << "nothing";
        QTest::newRow("zero") << "0" << false << "nothing";
        QTest::newRow("first listed port") << "1" << false << "/dev/ttyS0";
        QTest::newRow("third listed port") << " 3" << false << "/dev/ttyUSB0";
        QTest::newRow("2.5 ties to even: 2") << "2.5" << false << "/dev/ttyS1";
        QTest::newRow("beyond the list")
            << "5" << false << "refused: There is no serial port 5: the system lists 4";
        QTest::newRow("rounds to 0") << "0.4" << false << "refused: There is no port 0";
        QTest::newRow("largest port number")
            << "32767" << false << "refused: There is no serial port 32767: the system lists 4";
        QTest::newRow("beyond 16 bits")
            << "40000" << false << "refused: 40000 is not a port number";
        QTest::newRow("lowest 16-bit number")
            << "-32768" << false << "refused: There is no port -32768";
        QTest::newRow("below 16 bits")
            << "-32769" << false << "refused: -32769 is not a port number";
        QTest::newRow("Windows number") << "3" << true << "COM3";
        QTest::newRow("device path") << " /dev/pts/7 " << false << "/dev/pts/7";
        QTest::newRow("COM name on any system") << "COM12" << false << "COM12";
        QTest::newRow("lower-case com is a number text") << "com3" << true << "nothing";
    }

    void choice() {
        QFETCH(QString, text);
        QFETCH(bool, windows);
        QFETCH(QString, outcome);
        const QStringList listed{"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyUSB0", "/dev/ttyUSB1"};
        const PortChoice choice = choosePort(text, listed, windows);
        const QString actual = choice.kind == PortChoice::Kind::Device ? choice.device
                               : choice.kind == PortChoice::Kind::Refused
                                   ? "refused: " + choice.cause
                                   : "nothing";
        if (outcome.startsWith("refused: "))
            QVERIFY2(actual.startsWith(outcome), qPrintable(actual));
        else
            QCOMPARE(actual, outcome);
    }

    void openFailureCauses_data() {
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("cause");
        // /dev/null can be read and written by everyone: a permission error there
        // can only mean that another program holds it.
        QTest::newRow("held by another program") << int(QSerialPort::PermissionError) << "/dev/null"
                                                 << "/dev/null is in use by another program. Close "
                                                    "that program, then press the button again.";
        QTest::newRow("not found") << int(QSerialPort::DeviceNotFoundError) << "ttyS9"
                                   << "ttyS9 was not found.";
        QTest::newRow("no such path") << int(QSerialPort::PermissionError) << "/dev/pts/999999"
                                      << "/dev/pts/999999 was not found.";
        const QString longDevice = "/dev/" + QString(9995, QChar('x'));
        QTest::newRow("name too long") << int(QSerialPort::PermissionError) << longDevice
                                       << longDevice + " cannot be opened: File name too long.";
        QTest::newRow("other errors keep the port's words")
            << int(QSerialPort::OpenError) << "/dev/ttyS0"
            << "/dev/ttyS0: some words";
    }

    void openFailureCauses() {
        QFETCH(int, error);
        QFETCH(QString, device);
        QTEST(openFailureCause(QSerialPort::SerialPortError(error), device, "some words"), "cause");
    }
};

QTEST_GUILESS_MAIN(TestPortChoice)
#include "tst_port_choice.moc"
