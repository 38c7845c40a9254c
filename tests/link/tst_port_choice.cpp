// Which device a port text opens, and why a port cannot be opened.

#include <QtTest>

#include "link/open_failure.h"
#include "link/port_choice.h"

using namespace kelvane::link;

class TestPortChoice : public QObject {
    Q_OBJECT
private slots:
    void choice_data();
    void choice();
    void openFailureCauses_data();
    void openFailureCauses();
};

void TestPortChoice::choice_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("windows");
    QTest::addColumn<QString>("device"); // empty: nothing, or refused
    QTest::addColumn<QString>("cause");  // part of the refusal; empty: no refusal
    const QString nothing;
    QTest::newRow("empty") << "" << false << nothing << nothing;
    QTest::newRow("zero") << "0" << false << nothing << nothing;
    QTest::newRow("letters") << "abc" << false << nothing << nothing;
    QTest::newRow("third listed port") << " 3" << false << "/dev/ttyUSB0" << nothing;
    QTest::newRow("2.5 ties to even: 2") << "2.5" << false << "/dev/ttyS1" << nothing;
    QTest::newRow("3.5 ties to even: 4") << "3.5" << false << "/dev/ttyUSB1" << nothing;
    QTest::newRow("beyond the list")
        << "5" << false << nothing << "There is no serial port 5: the system lists 4";
    QTest::newRow("rounds to 0") << "0.4" << false << nothing << "There is no port 0";
    QTest::newRow("negative") << "-2" << false << nothing << "There is no port -2";
    QTest::newRow("beyond 16 bits") << "40000" << false << nothing << "40000 is not a port number";
    QTest::newRow("below 16 bits") << "-32769" << false << nothing << "-32769 is not a port number";
    QTest::newRow("Windows number") << "3" << true << "COM3" << nothing;
    QTest::newRow("Windows 2.5") << "2.5" << true << "COM2" << nothing;
    QTest::newRow("device path") << " /dev/pts/7 " << false << "/dev/pts/7" << nothing;
    QTest::newRow("device name") << "ttyACM0" << false << "ttyACM0" << nothing;
    QTest::newRow("COM name on any system") << "COM12" << false << "COM12" << nothing;
    QTest::newRow("lower-case com is a number text") << "com3" << true << nothing << nothing;
}

void TestPortChoice::choice() {
    QFETCH(QString, text);
    QFETCH(bool, windows);
    QFETCH(QString, device);
    QFETCH(QString, cause);
    const QStringList listed{"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyUSB0", "/dev/ttyUSB1"};
    const PortChoice choice = choosePort(text, listed, windows);
    if (!device.isEmpty()) {
        QCOMPARE(choice.kind, PortChoice::Kind::Device);
        QCOMPARE(choice.device, device);
    } else if (!cause.isEmpty()) {
        QCOMPARE(choice.kind, PortChoice::Kind::Refused);
        QVERIFY2(choice.cause.startsWith(cause), qPrintable(choice.cause));
    } else {
        QCOMPARE(choice.kind, PortChoice::Kind::Nothing);
    }
}

void TestPortChoice::openFailureCauses_data() {
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("cause");
    QTest::newRow("missing") << int(QSerialPort::DeviceNotFoundError) << "/dev/ttyUSB9"
                             << "/dev/ttyUSB9 was not found.";
    // /dev/null can be read and written by everyone: a permission error there
    // can only mean that another program holds it.
    QTest::newRow("held by another program") << int(QSerialPort::PermissionError) << "/dev/null"
                                             << "/dev/null is in use by another program. Close "
                                                "that program, then press the button again.";
    QTest::newRow("other errors keep the port's words")
        << int(QSerialPort::OpenError) << "/dev/ttyS0"
        << "/dev/ttyS0: some words";
}

void TestPortChoice::openFailureCauses() {
    QFETCH(int, error);
    QFETCH(QString, device);
    QTEST(openFailureCause(QSerialPort::SerialPortError(error), device, "some words"), "cause");
}

QTEST_GUILESS_MAIN(TestPortChoice)
#include "tst_port_choice.moc"
