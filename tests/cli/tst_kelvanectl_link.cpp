// kelvanectl send and read against kelvane-board-sim, both run as the
// programs a user runs.

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <unistd.h>

#include "board_process.h"
#include "help_examples.h"
#include "run_kelvanectl.h"

namespace {

const QStringList divided{"--fo", "1160.125", "--odiv", "2"};

// The register lines of the start-up set, Update all registers.
const QByteArray startUpLines = "R00000017\r\nR0000008D\r\nR0000001C\r\nR28001409\r\nR0111CE58\r\n"
                                "R001F3326\r\nRA0040005\r\nRFF4810A4\r\nR00A87303\r\n"
                                "R04F42402\r\nR00000011\r\nR61A80E80\r\n";

// Quick Freq Update of a start-up plan whose Reg0 is given.
QByteArray quickLines(const char* reg0) {
    return QByteArray("R04F42402\r\nR00000011\r\nR") + reg0 + "\r\n";
}

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
    void verify_data();
    void verify();
    void frequencyRun_data();
    void frequencyRun();
    void ctrlCLeavesTheBoardAtTheLastFrequency();
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

// The board's EEPROM (a file, or the start-up set) against the plan.
void TestKelvanectlLink::verify_data() {
    QTest::addColumn<QStringList>("boardOptions");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::newRow("matches") << QStringList{} << QStringList{} << 0
                             << "EEPROM matches the plan: 12 of 12 words\n"
                             << "";
    QTest::newRow("differs")
        << QStringList{} << QStringList{"--fo", "2320.5"} << 3
        << "EEPROM differs from the plan: Reg0 stored 61A80E80, plan C3500E80\n"
        << "";
    QTest::newRow("setup file, an option over it")
        << QStringList{} << QStringList{"--setup", "SETUP", "--fo", "2320.25"} << 3
        << "EEPROM differs from the plan: Reg3 stored 00A87303, plan 00A87403\n"
        << "";
    QTest::newRow("differs, JSON")
        << QStringList{"--eeprom", "00A87313"} << QStringList{"--json"} << 3
        << "{\"compared\":12,\"differences\":[{\"plan\":\"00A87303\",\"register\":3,"
           "\"stored\":\"00A87313\"}],\"match\":false}\n"
        << "";
    QTest::newRow("silent board") << QStringList{"--no-reply"} << QStringList{} << 1 << ""
                                  << "kelvanectl: Verify EE: no answer from the board\n";
}

void TestKelvanectlLink::verify() {
    QFETCH(QStringList, boardOptions);
    QFETCH(QStringList, arguments);
    QTemporaryDir dir;
    if (boardOptions.value(0) == "--eeprom") {
        QFile file(dir.filePath("ee"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(boardOptions[1].toLatin1() + "\n");
        boardOptions[1] = file.fileName();
    }
    // A setup with its own charge pump gain, and an output the line's --fo replaces.
    const QString setup = dir.filePath("lo.kelvane");
    QCOMPARE(kelvanectl({"save", setup, "--fo", "2320.5", "--cpg", "20"}).exitCode, 0);
    arguments.replaceInStrings("SETUP", setup);
    BoardProcess board(boardOptions);
    const Run r = kelvanectl(QStringList{"verify", "--port", board.device} + arguments);
    QTEST(r.exitCode, "exitCode");
    QTEST(QString(r.out), "out");
    QTEST(QString(r.err), "err");
    QCOMPARE(board.received(), "init\r\n");
}

// Sweeps and hop lists: what the board receives, what is printed, and how a
// failing board ends the run (where timing decides, only the line is checked).
void TestKelvanectlLink::frequencyRun_data() {
    QTest::addColumn<QStringList>("boardOptions");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("received");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::newRow("sweep up") << QStringList{}
                              << QStringList{"sweep",   "--from", "2320.25", "--to",
                                             "2320.45", "--step", "0.1"}
                              << 0 << startUpLines + quickLines("88B80E80") + quickLines("AFC80E80")
                              << "2320.250000 MHz\n2320.350000 MHz\n2320.450000 MHz\n"
                              << "";
    QTest::newRow("hop list twice")
        << QStringList{} << QStringList{"hop", "--list", "LIST", "--repeat", "2", "--dwell", "10"}
        << 0
        << startUpLines + quickLines("88B80E80") + quickLines("61A80E80") + quickLines("88B80E80")
        << "2320.250000 MHz\n2320.350000 MHz\n2320.250000 MHz\n2320.350000 MHz\n"
        << "";
    QTest::newRow("refused before sending")
        << QStringList{} << QStringList{"sweep", "--from", "2320", "--to", "1800", "--step", "-10"}
        << 2 << QByteArray() << ""
        << "kelvanectl: 1890.000000 MHz puts the VCO at 1890 MHz, outside the chip's 1900 to "
           "4000 MHz; nothing was sent\n";
    QTest::newRow("board unplugged")
        << QStringList{"--hangup-after", "14"}
        << QStringList{"sweep", "--from", "2320.25", "--to", "2320.45", "--step", "0.1"} << 1
        << startUpLines + "R04F42402\r\nR00000011\r\n"
        << "2320.250000 MHz\n"
        << "kelvanectl: The port DEVICE stopped working (";
    QTest::newRow("board falls silent")
        << QStringList{"--silent-after", "12"}
        << QStringList{"hop", "--list", "LIST", "--repeat", "20"} << 1 << QByteArray() << ""
        << "kelvanectl: the board stopped answering after 2320.";
}

void TestKelvanectlLink::frequencyRun() {
    QFETCH(QStringList, boardOptions);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, received);
    QTemporaryDir dir;
    QFile list(dir.filePath("list"));
    QVERIFY(list.open(QIODevice::WriteOnly));
    list.write("# two channels\n2320.25\n\n2320.35 MHz\n");
    list.close();
    arguments.replaceInStrings("LIST", list.fileName());
    BoardProcess board(boardOptions);
    const Run r = kelvanectl(arguments + QStringList{"--port", board.device});
    QTEST(r.exitCode, "exitCode");
    // One line, given whole or (where timing decides the frequency) its start.
    QFETCH(QString, err);
    QVERIFY2(r.err.startsWith(err.replace("DEVICE", board.device).toUtf8()), r.err);
    QCOMPARE(r.err.count('\n'), err.isEmpty() ? 0 : 1);
    if (!received.isEmpty() || r.exitCode == 2) {
        QTEST(QString(r.out), "out");
        QCOMPARE(board.received(), received);
    }
}

// Ctrl-C in the dwell after the first frequency: nothing more is sent.
void TestKelvanectlLink::ctrlCLeavesTheBoardAtTheLastFrequency() {
    BoardProcess board;
    QProcess sweep;
    sweep.start(KELVANECTL_PATH, {"sweep", "--port", board.device, "--from", "2320.25", "--to",
                                  "2321", "--step", "0.1", "--dwell", "20000"});
    QVERIFY(sweep.waitForReadyRead(5000));
    QCOMPARE(sweep.readAllStandardOutput(), "2320.250000 MHz\n");
    ::kill(static_cast<pid_t>(sweep.processId()), SIGINT);
    QVERIFY(sweep.waitForFinished(5000));
    QCOMPARE(sweep.exitCode(), 130);
    QCOMPARE(sweep.readAllStandardError(),
             "kelvanectl: stopped; the board is at 2320.250000 MHz\n");
    QCOMPARE(board.received(), startUpLines);
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
    for (const char* command : {"send", "read", "verify"})
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
