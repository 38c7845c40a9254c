// kelvanectl send and read against kelvane-board-sim, both run as the
// programs a user runs.

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>

#include "help_examples.h"

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(20000)) qFatal("%s did not finish", qPrintable(program));
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

Run kelvanectl(const QStringList& arguments) {
    return run(KELVANECTL_PATH, arguments);
}

// A board program, its device and the bytes its log shows it received.
class BoardProcess {
public:
    explicit BoardProcess(const QStringList& options = {}) {
        logPath_ = dir_.filePath("log.jsonl");
        process_.start(BOARD_SIM_PATH, QStringList{"--log", logPath_} + options);
        if (!process_.waitForReadyRead(5000)) qFatal("the board printed no device");
        device_ = QString::fromUtf8(process_.readLine()).trimmed();
    }
    ~BoardProcess() {
        process_.terminate();
        process_.waitForFinished(5000);
    }
    const QString& device() const { return device_; }
    QByteArray received() const {
        QFile log(logPath_);
        if (!log.open(QIODevice::ReadOnly)) return {};
        QByteArray bytes;
        for (const QByteArray& line : log.readAll().split('\n')) {
            const QJsonObject entry = QJsonDocument::fromJson(line).object();
            if (entry.value("dir") == "rx") bytes += entry.value("data").toString().toLatin1();
        }
        return bytes;
    }

private:
    QTemporaryDir dir_;
    QString logPath_;
    QProcess process_;
    QString device_;
};

const QByteArray updateAllBytes = "R00000017\r\nR0000008D\r\nR0000001C\r\nR28001409\r\n"
                                  "R0111CE58\r\nR001F3326\r\nRA0040005\r\nRFF4810A4\r\n"
                                  "R00A87303\r\nR04F42402\r\nR00000011\r\nR61A80E80\r\n";

} // namespace

class TestKelvanectlLink : public QObject {
    Q_OBJECT
private slots:
    void sendPutsTheWindowsBytesOnTheWire_data();
    void sendPutsTheWindowsBytesOnTheWire();
    void storeThenReadRestoresThePlan();
    void readAsJson();
    void readRefusesASilentBoard();
    void permissionDeniedNamesTheGroup();
    void unplugDuringStore();
    void usage_data();
    void usage();
    void helpExamplesRun_data();
    void helpExamplesRun();
};

void TestKelvanectlLink::sendPutsTheWindowsBytesOnTheWire_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("quick, divider 2") << QStringList{"--quick", "--fo", "1160.125", "--odiv", "2"}
                                      << QByteArray("R047A1202\r\nR00000011\r\nR30D40E80\r\n");
    QByteArray store;
    for (const QByteArray& line : updateAllBytes.split('\n'))
        if (!line.isEmpty()) store += line + "\nW\r\n" + line + "\n";
    QTest::newRow("store") << QStringList{"--store"} << store;
}

void TestKelvanectlLink::sendPutsTheWindowsBytesOnTheWire() {
    QFETCH(QStringList, options);
    QFETCH(QByteArray, bytes);
    BoardProcess board;
    const Run r = kelvanectl(QStringList{"send", "--port", board.device()} + options);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err, "");
    QCOMPARE(board.received(), bytes);
    QVERIFY2(r.out.startsWith("OK "), r.out);
}

void TestKelvanectlLink::storeThenReadRestoresThePlan() {
    BoardProcess board;
    const QStringList plan{"--fo", "1160.125", "--odiv", "2", "--mux", "5", "--ext-vco", "--cpp"};
    QCOMPARE(kelvanectl(QStringList{"send", "--store", "--port", board.device()} + plan).exitCode,
             0);
    const Run read = kelvanectl({"read", "--port", board.device()});
    QCOMPARE(read.exitCode, 0);
    const QByteArray command =
        "kelvanectl plan --fo 1160.125 --fr ' 10' --res 10.00 --rfmult 1 --r 1 --odiv 2 --cpg 19 "
        "--dither 1 --order 2 --mux 5 --outterm 12 --vcogain 12 --divgain 12 --ext-vco --cpp";
    QVERIFY2(read.out.startsWith(command + "\n\n"), read.out);
    // What follows is exactly the plan of the inputs that were stored.
    const Run stored = kelvanectl(QStringList{"plan"} + plan);
    QCOMPARE(read.out.mid(command.size() + 2), stored.out);
}

void TestKelvanectlLink::readAsJson() {
    BoardProcess board;
    const Run read = kelvanectl({"read", "--port", board.device(), "--fr", "20", "--json"});
    QCOMPARE(read.exitCode, 0);
    const QJsonObject o = QJsonDocument::fromJson(read.out).object();
    QCOMPARE(o.value("inputs").toObject().value("fo").toString(), "4640.5");
    QCOMPARE(o.value("inputs").toObject().value("res").toString(), "20.00");
    QCOMPARE(o.value("stored").toObject().value("Reg4").toString(), "FF4810A4");
    QCOMPARE(o.value("plan").toObject().value("registers").toObject().value("Reg4").toString(),
             "FF481144");
    QVERIFY(o.value("command").toString().startsWith("kelvanectl plan --fo 4640.5 --fr 20 "));
}

void TestKelvanectlLink::readRefusesASilentBoard() {
    BoardProcess board({"--no-reply"});
    const Run read = kelvanectl({"read", "--port", board.device()});
    QCOMPARE(read.exitCode, 1);
    QCOMPARE(read.out, "");
    QCOMPARE(read.err, "kelvanectl: Init from EE: no answer from the board; nothing changed\n");
}

// The terminal belongs to this user; someone else may not open it. As root,
// kelvanectl runs as "nobody"; otherwise the terminal loses its permissions.
void TestKelvanectlLink::permissionDeniedNamesTheGroup() {
    BoardProcess board;
    Run r;
    QString group;
    if (::geteuid() == 0) {
        if (QStandardPaths::findExecutable("setpriv").isEmpty())
            QSKIP("setpriv is needed to drop root");
        r = run("setpriv", {"--reuid=nobody", "--regid=nogroup", "--clear-groups", KELVANECTL_PATH,
                            "send", "--port", board.device()});
    } else {
        QVERIFY(QFile::setPermissions(board.device(), {}));
        r = kelvanectl({"send", "--port", board.device()});
    }
    group = QFileInfo(board.device()).group();
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, "kelvanectl: Invalid COM port: Permission denied for " +
                        board.device().toUtf8() + ": your user must be in the group \"" +
                        group.toUtf8() + "\" that owns it (sudo usermod -aG " + group.toUtf8() +
                        " $USER), then log in again.\n");
}

void TestKelvanectlLink::unplugDuringStore() {
    BoardProcess board({"--hangup-after", "7"});
    const Run r = kelvanectl({"send", "--store", "--port", board.device()});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err.count('\n'), 1);
    QVERIFY2(
        r.err.startsWith("kelvanectl: The port " + board.device().toUtf8() + " stopped working"),
        r.err);
    QCOMPARE(board.received().count('\n'), 7);
}

void TestKelvanectlLink::usage_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("both kinds") << QStringList{"send", "--port", "1", "--quick", "--store"}
                                << "--quick and --store cannot be combined";
    QTest::newRow("no port") << QStringList{"send"} << "--port is required";
    QTest::newRow("port 0") << QStringList{"read", "--port", "0"} << "--port \"0\" names no port";
    QTest::newRow("bad plan option") << QStringList{"send", "--port", "1", "--odiv", "64"}
                                     << "--odiv must be a whole number from 1 to 63, not \"64\"";
}

void TestKelvanectlLink::usage() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Run r = kelvanectl(arguments);
    QCOMPARE(r.exitCode, 2);
    QCOMPARE(r.err, "kelvanectl: " + message.toUtf8() + "\n");
}

// The examples of send and read run as shown, on the virtual board's port.
void TestKelvanectlLink::helpExamplesRun_data() {
    QTest::addColumn<QStringList>("arguments");
    for (const char* command : {"send", "read"}) {
        for (const QStringList& example : helpExamples(kelvanectl({command, "--help"}).out))
            QTest::newRow(qPrintable(example.join(' '))) << example;
    }
}

void TestKelvanectlLink::helpExamplesRun() {
    QFETCH(QStringList, arguments);
    const qsizetype port = arguments.indexOf("--port") + 1;
    QVERIFY(port > 0 && port < arguments.size());
    BoardProcess board;
    arguments[port] = board.device();
    const Run r = kelvanectl(arguments);
    QCOMPARE(r.err, "");
    QCOMPARE(r.exitCode, 0);
    QVERIFY(!board.received().isEmpty());
}

QTEST_GUILESS_MAIN(TestKelvanectlLink)
#include "tst_kelvanectl_link.moc"
