// kelvanectl run end to end: exit codes, whole outputs, refusals.

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

#include "help_examples.h"

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run kelvanectl(const QStringList& arguments) {
    QProcess process;
    process.start(KELVANECTL_PATH, arguments);
    if (!process.waitForFinished(20000)) qFatal("kelvanectl did not finish");
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

const QByteArray startUpListing = "          7    00000017        13   0000008D\n"
                                  "         12   0000001C         9    28001409\n"
                                  "          8    0111CE58         6    001F3326\n"
                                  "          5    A0040005         4    FF4810A4\n"
                                  "          3    00A87303         2    04F42402\n"
                                  "          1    00000011         0    61A80E80\n";

} // namespace

class TestKelvanectl : public QObject {
    Q_OBJECT
private slots:
    void startUpPlanAsText();
    void crlfKeepsTheWindowsLineEnds();
    void jsonOfADividedPlan();
    void refusedPlan();
    void badOptions_data();
    void badOptions();
    void helpOfEachCommand_data();
    void helpOfEachCommand();
    void helpExamplesRun_data();
    void helpExamplesRun();
};

void TestKelvanectl::startUpPlanAsText() {
    const Run run = kelvanectl({"plan"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, "Fv: 2320.25 MHz\n"
                      "Fc: 10000. kHz\n"
                      "Dn: D =    1000000\n"
                      "Frlabel: F =      25000\n"
                      "Nlabel: N =       232\n"
                      "StepLbl: \n"
                      "OPerr: \n"
                      "ChipType: LMX2541-2380E \n"
                      "\n" +
                          startUpListing);
    QCOMPARE(run.err, "");
}

void TestKelvanectl::crlfKeepsTheWindowsLineEnds() {
    const Run run = kelvanectl({"plan", "--crlf"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.startsWith("Fv: 2320.25 MHz\r\nFc: 10000. kHz\r\n"));
    QVERIFY(run.out.endsWith("0    61A80E80\r\n"));
    QCOMPARE(run.out.count("\r\n"), run.out.count('\n'));
}

void TestKelvanectl::jsonOfADividedPlan() {
    const Run run = kelvanectl({"plan", "--fo", "1160.125", "--odiv", "2", "--json"});
    QCOMPARE(run.exitCode, 0);
    const QJsonObject o = QJsonDocument::fromJson(run.out).object();
    const QJsonObject expected = QJsonDocument::fromJson(R"({
      "plan": {"Fcomp": 10, "Denom": 500000, "EffN": 232.025, "N": 232, "Fract": 12500,
               "Fcorr": 1160.125, "Ferror": 0},
      "captions": {"Fv": "2320.25 MHz", "Fc": "10000. kHz", "Dn": "D =    500000",
                   "Frlabel": "F =      12500", "Nlabel": "N =       232", "StepLbl": "Step =  20.",
                   "OPerr": "", "ChipType": "LMX2541-2380E "},
      "colors": {"Dn": "#000000", "ChipType": "#408001", "OPerr": "#FF0000"},
      "registers": {"Reg0": "30D40E80", "Reg1": "00000011", "Reg2": "047A1202", "Reg3": "00A87303",
                    "Reg4": "FF4820A4", "Reg5": "A0040005", "Reg6": "001F3326", "Reg7": "00000017",
                    "Reg8": "0111CE58", "Reg9": "28001409", "Reg12": "0000001C", "Reg13": "000000CD"},
      "listing": "          7    00000017        13   000000CD\r\n         12   0000001C         9    28001409\r\n          8    0111CE58         6    001F3326\r\n          5    A0040005         4    FF4820A4\r\n          3    00A87303         2    047A1202\r\n          1    00000011         0    30D40E80\r\n"
    })").object();
    QCOMPARE(o, expected);
}

void TestKelvanectl::refusedPlan() {
    Run run = kelvanectl({"plan", "--res", "1e9"});
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.out, "");
    QVERIFY2(run.err.contains("no denominator"), run.err);
    run = kelvanectl({"plan", "--res", "1e9", "--json"});
    QCOMPARE(run.exitCode, 2);
    QVERIFY(QJsonDocument::fromJson(run.out).object().value("error").toString().contains("no denominator"));
}

void TestKelvanectl::badOptions_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("divider too large") << QStringList{"plan", "--odiv", "64"} << "--odiv must be a whole number from 1 to 63";
    QTest::newRow("R of 0") << QStringList{"plan", "--r", "0"} << "--r must be a whole number from 1 to 4096";
    QTest::newRow("mux 14") << QStringList{"plan", "--mux", "14"} << "--mux must be a whole number from 0 to 13";
    QTest::newRow("not a number") << QStringList{"plan", "--cpg", "x"} << "--cpg must be a whole number from 0 to 31";
    QTest::newRow("unknown option") << QStringList{"plan", "--bogus"} << "Unknown option 'bogus'";
    QTest::newRow("missing value") << QStringList{"plan", "--fo"} << "Missing value after '--fo'";
    QTest::newRow("unknown command") << QStringList{"plot"} << "unknown command";
}

void TestKelvanectl::badOptions() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Run run = kelvanectl(arguments);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.out, "");
    QVERIFY2(run.err.startsWith("kelvanectl: ") && run.err.contains(message.toUtf8()), run.err);
    QCOMPARE(run.err.count('\n'), 1);
}

void TestKelvanectl::helpOfEachCommand_data() {
    QTest::addColumn<QString>("command");
    for (const char* command : {"plan", "export", "fsk", "send", "read", "ports"})
        QTest::newRow(command) << command;
}

// A command's help names the command as typed, shows examples of it, and the
// overview shows the first of them under the command's summary.
void TestKelvanectl::helpOfEachCommand() {
    QFETCH(QString, command);
    const Run help = kelvanectl({command, "--help"});
    QCOMPARE(help.exitCode, 0);
    QCOMPARE(help.err, "");
    QVERIFY2(help.out.startsWith("Usage: kelvanectl " + command.toUtf8() + " [options]\n\n"),
             help.out);
    QVERIFY2(help.out.contains("\nExit status: 0 "), help.out);
    const QList<QStringList> examples = helpExamples(help.out);
    QVERIFY2(!examples.isEmpty(), help.out);
    for (const QStringList& example : examples)
        QCOMPARE(example.first(), command);

    const Run overview = kelvanectl({"--help"});
    QCOMPARE(overview.exitCode, 0);
    const QRegularExpression entry(
        "\n  " + command + " +\\S.*\n +" +
        QRegularExpression::escape("kelvanectl " + examples.first().join(' ')));
    QVERIFY2(entry.match(QString::fromUtf8(overview.out)).hasMatch(), overview.out);
}

// The examples of the commands that need no board run as shown.
void TestKelvanectl::helpExamplesRun_data() {
    QTest::addColumn<QStringList>("arguments");
    for (const char* command : {"plan", "export", "fsk", "ports"}) {
        const Run help = kelvanectl({command, "--help"});
        for (const QStringList& example : helpExamples(help.out))
            QTest::newRow(qPrintable(example.join(' '))) << example;
    }
}

void TestKelvanectl::helpExamplesRun() {
    QFETCH(QStringList, arguments);
    const Run run = kelvanectl(arguments);
    QCOMPARE(run.err, "");
    QCOMPARE(run.exitCode, 0);
    QVERIFY(!run.out.isEmpty());
}

QTEST_GUILESS_MAIN(TestKelvanectl)
#include "tst_kelvanectl.moc"
