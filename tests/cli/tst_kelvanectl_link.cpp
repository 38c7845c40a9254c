// kelvanectl send and read against kelvane-board-sim, both run as the
// programs a user runs.

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>

#include "board_process.h"
#include "help_examples.h"
#include "run_kelvanectl.h"

namespace {

const QStringList divided{"--fo", "1160.125", "--odiv", "2"};

} // namespace

class TestKelvanectlLink : public QObject {
    Q_OBJECT
private slots:
    // Setup files the commands write land in a folder of their own.
    void initTestCase() { QVERIFY(QDir::setCurrent(folder_.path())); }
    void send_data();
    void send();
    void storeThenReadRestoresThePlan();
    void readRefusesASilentBoard();
    void permissionDeniedNamesTheGroup();
    void helpExamplesRun_data();
    void helpExamplesRun();

private:
    QTemporaryDir folder_;
};

void TestKelvanectlLink::send_data() {
    QTest::addColumn<bool>("quick");
    QTest::newRow("update all") << false;
    QTest::newRow("quick") << true;
}

void TestKelvanectlLink::send() {
    QFETCH(bool, quick);
    const QByteArray all = "R00000017\r\nR000000CD\r\nR0000001C\r\nR28001409\r\nR0111CE58\r\n"
                           "R001F3326\r\nRA0040005\r\nRFF4820A4\r\nR00A87303\r\nR047A1202\r\n"
                           "R00000011\r\nR30D40E80\r\n";
    BoardProcess board;
    const Run r = kelvanectl(QStringList{"send", "--port", board.device} + divided +
                             (quick ? QStringList{"--quick"} : QStringList{}));
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err, "");
    QCOMPARE(board.received(), quick ? all.right(3 * 11) : all);
    QVERIFY2(r.out.startsWith("OK "), r.out);
}

// Read back as text, as a setup file and as JSON.
void TestKelvanectlLink::storeThenReadRestoresThePlan() {
    BoardProcess board;
    const QStringList plan = divided + QStringList{"--mux", "5", "--ext-vco", "--cpp"};
    QCOMPARE(kelvanectl(QStringList{"send", "--store", "--port", board.device} + plan).exitCode, 0);
    const Run read = kelvanectl({"read", "--port", board.device, "--save", "stored.kelvane"});
    QCOMPARE(read.exitCode, 0);
    const QByteArray command =
        "kelvanectl plan --fo 1160.125 --fr ' 10' --res 10.00 --rfmult 1 --r 1 --odiv 2 --cpg 19 "
        "--dither 1 --order 2 --mux 5 --outterm 12 --vcogain 12 --divgain 12 --ext-vco --cpp";
    QVERIFY2(read.out.startsWith(command + "\n\n"), read.out);
    // What follows is exactly the plan of the inputs that were stored.
    QCOMPARE(read.out.mid(command.size() + 2), kelvanectl(QStringList{"plan"} + plan).out);
    QCOMPARE(kelvanectl({"plan", "--setup", "stored.kelvane"}).out,
             read.out.mid(command.size() + 2));

    // The reference is not stored: the one given applies.
    const Run json = kelvanectl({"read", "--port", board.device, "--fr", "20", "--json"});
    QCOMPARE(json.exitCode, 0);
    const QJsonObject o = QJsonDocument::fromJson(json.out).object();
    QCOMPARE(o["command"].toString(),
             "kelvanectl plan --fo 2320.25 --fr 20 --res 20.00 --rfmult 1 --r 1 --odiv 2 --cpg 19 "
             "--dither 1 --order 2 --mux 5 --outterm 12 --vcogain 12 --divgain 12 --ext-vco --cpp");
    QCOMPARE(o["inputs"]["fr"].toString(), "20");
    QCOMPARE(o["stored"]["Reg4"].toString(), "FF4820A4"); // as stored
    QCOMPARE(o["plan"]["registers"]["Reg4"].toString(), "FF482144");
}

void TestKelvanectlLink::readRefusesASilentBoard() {
    BoardProcess board({"--no-reply"});
    const Run r = kelvanectl({"read", "--port", board.device});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out, "");
    QCOMPARE(r.err, "kelvanectl: Init from EE: no answer from the board; nothing changed\n");
}

// The terminal belongs to this user; someone else may not open it. As root,
// kelvanectl runs as "nobody"; otherwise the terminal loses its permissions.
void TestKelvanectlLink::permissionDeniedNamesTheGroup() {
    BoardProcess board;
    Run r;
    if (::geteuid() == 0) {
        if (QStandardPaths::findExecutable("setpriv").isEmpty())
            QSKIP("setpriv is needed to drop root");
        r = run("setpriv", {"--reuid=nobody", "--regid=nogroup", "--clear-groups", KELVANECTL_PATH,
                            "send", "--port", board.device});
    } else {
        QVERIFY(QFile::setPermissions(board.device, {}));
        r = kelvanectl({"send", "--port", board.device});
    }
    const QByteArray group = QFileInfo(board.device).group().toUtf8();
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, "kelvanectl: Invalid COM port: Permission denied for " + board.device.toUtf8() +
                        ": your user must be in the group \"" + group +
                        "\" that owns it (sudo usermod -aG " + group +
                        " $USER), then log in again.\n");
}

// The examples of send and read run as shown, on the virtual board's port.
void TestKelvanectlLink::helpExamplesRun_data() {
    QTest::addColumn<QStringList>("arguments");
    for (const char* command : {"send", "read"})
        for (const QStringList& example : helpExamples(kelvanectl({command, "--help"}).out))
            QTest::newRow(qPrintable(example.join(' '))) << example;
}

void TestKelvanectlLink::helpExamplesRun() {
    QFETCH(QStringList, arguments);
    const qsizetype port = arguments.indexOf("--port") + 1;
    QVERIFY(port > 0 && port < arguments.size());
    BoardProcess board;
    arguments[port] = board.device;
    const Run r = kelvanectl(arguments);
    QCOMPARE(r.err, "");
    QCOMPARE(r.exitCode, 0);
    QVERIFY(!board.received().isEmpty());
}

QTEST_GUILESS_MAIN(TestKelvanectlLink)
#include "tst_kelvanectl_link.moc"
