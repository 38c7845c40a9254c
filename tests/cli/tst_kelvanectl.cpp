// kelvanectl run end to end: exit codes, whole outputs, refusals.

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

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

QTEST_GUILESS_MAIN(TestKelvanectl)
#include "tst_kelvanectl.moc"
