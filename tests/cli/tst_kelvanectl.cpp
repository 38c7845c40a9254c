// kelvanectl run end to end without a board: whole outputs, the options
// reaching them, exit codes and refusals.

#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include "export/pic_listing.h"
#include "help_examples.h"
#include "model/recalculation.h"
#include "modes/fsk_report.h"
#include "modes/wsjt_modes.h"
#include "run_kelvanectl.h"

using namespace kelvane;

namespace {

const QByteArray startUpPlan = "Fvco 2320.25 MHz\nFcomp 10000. kHz\nD = 1000000\nF = 25000\n"
                               "N = 232\nChip Version(s) allowed LMX2541-2380E\n\n"
                               "          7    00000017        13   0000008D\n"
                               "         12   0000001C         9    28001409\n"
                               "          8    0111CE58         6    001F3326\n"
                               "          5    A0040005         4    FF4810A4\n"
                               "          3    00A87303         2    04F42402\n"
                               "          1    00000011         0    61A80E80\n";

// The PIC listing and the FSK report the library makes for these controls.
std::pair<QByteArray, QByteArray> libraryTexts(const Inputs& c, const std::string& shift) {
    const PlanVariables v = planVariablesFrom(c);
    const auto r = std::get<Recalculation>(recalculate(c, v));
    return {QByteArray::fromStdString(picListing(c, v, r.plan, r.registers).text),
            QByteArray::fromStdString(fskReport(c, v, r.plan, shift).text)};
}

// The JSON of `plan --fo 1160.125 --odiv 2`.
const QByteArray dividedPlan = R"({
  "plan": {"Fcomp": 10, "Denom": 500000, "EffN": 232.025, "N": 232, "Fract": 12500,
           "Fcorr": 1160.125, "Ferror": 0},
  "captions": {"Fv": "2320.25 MHz", "Fc": "10000. kHz", "Dn": "D =    500000",
               "Frlabel": "F =      12500", "Nlabel": "N =       232", "StepLbl": "Step =  20.",
               "OPerr": "", "ChipType": "LMX2541-2380E "},
  "colors": {"Dn": "#000000", "ChipType": "#408001", "OPerr": "#FF0000"},
  "registers": {"Reg0": "30D40E80", "Reg1": "00000011", "Reg2": "047A1202", "Reg3": "00A87303",
                "Reg4": "FF4820A4", "Reg5": "A0040005", "Reg6": "001F3326", "Reg7": "00000017",
                "Reg8": "0111CE58", "Reg9": "28001409", "Reg12": "0000001C", "Reg13": "000000CD"},
  "words": ["00000017", "000000CD", "0000001C", "28001409", "0111CE58", "001F3326", "A0040005",
            "FF4820A4", "00A87303", "047A1202", "00000011", "30D40E80"],
  "denominatorFits": true, "vcoInRange": true, "warnings": [],
  "listing": "          7    00000017        13   000000CD\r\n         12   0000001C         9    28001409\r\n          8    0111CE58         6    001F3326\r\n          5    A0040005         4    FF4820A4\r\n          3    00A87303         2    047A1202\r\n          1    00000011         0    30D40E80\r\n"
})";

QByteArray lf(QByteArray text) {
    return text.replace("\r\n", "\n");
}

} // namespace

class TestKelvanectl : public QObject {
    Q_OBJECT
private slots:
    // Setup files the commands write land in a folder of their own.
    void initTestCase() { QVERIFY(QDir::setCurrent(folder_.path())); }
    void wholeOutputs_data();
    void wholeOutputs();
    void json();
    void setups();
    void refusals_data();
    void refusals();
    void helpOfEachCommand_data();
    void helpOfEachCommand();

private:
    QTemporaryDir folder_;
};

// Each command's output for start-up and changed options; CR LF only with --crlf.
void TestKelvanectl::wholeOutputs_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("out");
    Inputs divided, jt4d;
    divided.fo = "1160.125";
    divided.odiv = 2;
    jt4d.res = selectWsjtMode(5).resText;
    const auto [listing, report] = libraryTexts(Inputs{}, "-400");
    QTest::newRow("plan") << QStringList{"plan"} << startUpPlan;
    QTest::newRow("plan --crlf") << QStringList{"plan", "--crlf"}
                                 << QByteArray(startUpPlan).replace("\n", "\r\n");
    QTest::newRow("plan, a mode sets the resolution")
        << QStringList{"plan", "--wsjt", "1"}
        << kelvanectl({"plan", "--res", QString::fromStdString(selectWsjtMode(1).resText)}).out;
    QTest::newRow("plan, --cpp counts only with --ext-vco")
        << QStringList{"plan", "--cpp"} << startUpPlan;
    QTest::newRow("export") << QStringList{"export"} << lf(listing);
    QTest::newRow("export, divided, --crlf")
        << QStringList{"export", "--crlf", "--odiv", "2", "--fo", "1160.125"}
        << libraryTexts(divided, "-400").first;
    QTest::newRow("fsk") << QStringList{"fsk"} << lf(report);
    QTest::newRow("fsk, mode and shift, --crlf")
        << QStringList{"fsk", "--wsjt", "5", "--shift", "400", "--crlf"}
        << libraryTexts(jt4d, "400").second;
}

void TestKelvanectl::wholeOutputs() {
    QFETCH(QStringList, arguments);
    const Run r = kelvanectl(arguments);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err, "");
    QTEST(r.out, "out");
}

void TestKelvanectl::json() {
    Run r = kelvanectl({"plan", "--fo", "1160.125", "--odiv", "2", "--json"});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(QJsonDocument::fromJson(r.out).object(),
             QJsonDocument::fromJson(dividedPlan).object());

    // A refused plan is still one JSON object, with the usage exit code.
    r = kelvanectl({"plan", "--res", "1e9", "--json"});
    QCOMPARE(r.exitCode, 2);
    QVERIFY(QJsonDocument::fromJson(r.out).object().value("error").toString().contains(
        "no denominator"));
}

// A saved setup gives the plan of the options it was saved from; options on
// the line override it, and a switch it holds stays on.
void TestKelvanectl::setups() {
    const QStringList options{"--fo", "1160.125", "--odiv", "2", "--ext-vco", "--fix-fout"};
    QCOMPARE(kelvanectl(QStringList{"save", "lo.kelvane", "--name", "LO"} + options).exitCode, 0);
    QCOMPARE(kelvanectl({"plan", "--setup", "lo.kelvane", "--json"}).out,
             kelvanectl(QStringList{"plan", "--json"} + options).out);
    QCOMPARE(kelvanectl({"plan", "--setup", "lo.kelvane", "--odiv", "1"}).out,
             kelvanectl({"plan", "--fo", "1160.125", "--ext-vco"}).out);
    // A copy keeps the name and the switches; a refused plan is saved without words.
    const Run copy = kelvanectl({"save", "copy.kelvane", "--setup", "lo.kelvane", "--res", "1e9"});
    QCOMPARE(copy.exitCode, 0);
    QVERIFY2(copy.err.startsWith("kelvanectl: saved without register words: no plan: "), copy.err);
    QFile file("copy.kelvane");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QJsonObject saved = QJsonDocument::fromJson(file.readAll()).object();
    QCOMPARE(saved["name"], "LO");
    QCOMPARE(saved["inputs"]["res"], "1e9");
    QCOMPARE(saved["inputs"]["fix-fout"], true);
    QVERIFY(!saved.contains("registers"));
}

// Refused before any port is opened: nothing on stdout, one line on stderr.
void TestKelvanectl::refusals_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QString noDenominator =
        "no plan: Resolution is coarser than the comparison frequency allows: no denominator";
    QTest::newRow("R of 0") << QStringList{"plan", "--r", "0"}
                            << "--r must be a whole number from 1 to 4096, not \"0\"";
    QTest::newRow("not a number") << QStringList{"plan", "--cpg", "x"}
                                  << "--cpg must be a whole number from 0 to 31, not \"x\"";
    QTest::newRow("mode 16") << QStringList{"fsk", "--wsjt", "16"}
                             << "--wsjt must be a whole number from 0 to 15, not \"16\"";
    QTest::newRow("divider 64, send") << QStringList{"send", "--port", "1", "--odiv", "64"}
                                      << "--odiv must be a whole number from 1 to 63, not \"64\"";
    QTest::newRow("unknown option") << QStringList{"plan", "--bogus"} << "Unknown option 'bogus'.";
    QTest::newRow("unknown command")
        << QStringList{"plot"} << "unknown command \"plot\"; 'kelvanectl --help' lists them";
    QTest::newRow("plan, no plan") << QStringList{"plan", "--res", "1e9"} << noDenominator;
    QTest::newRow("export, no plan") << QStringList{"export", "--res", "1e9"} << noDenominator;
    QTest::newRow("shift not a number") << QStringList{"fsk", "--shift", "-400Hz"}
                                        << "FSK Shift must be a number, for example -400";
    QTest::newRow("Reg2 beyond 32 bits")
        << QStringList{"export", "--res", "0.01"}
        << "Reg2 = 3BDACA002 does not fit in 32 bits; correct the plan to get a PIC listing";
    QTest::newRow("Reg2 beyond 32 bits, send")
        << QStringList{"send", "--port", "1", "--res", "0.01"}
        << "Reg2 = 3BDACA002 does not fit in 32 bits; correct the plan";
    QTest::newRow("mode and resolution")
        << QStringList{"export", "--wsjt", "3", "--res", "10"}
        << "--wsjt and --res both set the resolution text; give only one of them";
    QTest::newRow("both kinds") << QStringList{"send", "--port", "1", "--quick", "--store"}
                                << "--quick and --store cannot be combined";
    QTest::newRow("verify without store") << QStringList{"send", "--port", "1", "--verify"}
                                          << "--verify checks what --store wrote; give both";
    const QStringList sweep{"sweep", "--port", "1", "--from", "2320", "--to", "2321"};
    QTest::newRow("step 0") << sweep + QStringList{"--step", "0"}
                            << "--step must be a number other than 0, for example 0.1";
    QTest::newRow("step away from the end")
        << sweep + QStringList{"--step", "-0.1"}
        << "The sweep from 2320 MHz to 2321 MHz goes up but the step -.1 MHz goes down: turn the "
           "step's sign or swap the ends; nothing was sent";
    QTest::newRow("dwell below 0") << sweep + QStringList{"--step", "1", "--dwell", "-1"}
                                   << "--dwell must be a number of 0 or more, for example 100";
    QTest::newRow("measured not a number")
        << QStringList{"calibrate", "--measured", "MHz"}
        << "--measured must be a number above 0, for example 2320.250012 (the output frequency "
           "the counter shows, MHz)";
    QTest::newRow("no port") << QStringList{"send"} << "--port is required";
    QTest::newRow("port 0") << QStringList{"read", "--port", "0"} << "--port \"0\" names no port";
    QTest::newRow("setup not there") << QStringList{"send", "--setup", "none.kelvane"}
                                     << "none.kelvane: cannot be read (No such file or directory)";
    QTest::newRow("save, no file") << QStringList{"save", "--fo", "10368"}
                                   << "give the setup file to write, for example lo.kelvane";
    QTest::newRow("save over a file")
        << QStringList{"save", "."} << ".: exists; give --force to replace it";
}

void TestKelvanectl::refusals() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Run r = kelvanectl(arguments);
    QCOMPARE(r.exitCode, 2);
    QCOMPARE(r.out, "");
    QCOMPARE(r.err, "kelvanectl: " + message.toUtf8() + "\n");
}

void TestKelvanectl::helpOfEachCommand_data() {
    QTest::addColumn<QString>("command");
    for (const char* command : {"plan", "export", "fsk", "send", "read", "save", "ports", "verify",
                                "calibrate", "sweep", "hop"})
        QTest::newRow(command) << command;
}

// A command's help names the command as typed, the overview shows its first
// example, and the examples that need no board run as shown.
void TestKelvanectl::helpOfEachCommand() {
    QFETCH(QString, command);
    const Run help = kelvanectl({command, "--help"});
    QCOMPARE(help.exitCode, 0);
    QVERIFY2(help.out.startsWith("Usage: kelvanectl " + command.toUtf8() +
                                 (command == "save" ? " [options] file\n\n" : " [options]\n\n")),
             help.out);
    QVERIFY2(help.out.contains("\nExit status: 0 "), help.out);
    const QList<QStringList> examples = helpExamples(help.out);
    QVERIFY2(!examples.isEmpty(), help.out);

    const Run overview = kelvanectl({"--help"});
    const QRegularExpression entry(
        "\n  " + command + " +\\S.*\n +" +
        QRegularExpression::escape("kelvanectl " + examples.first().join(' ')));
    QVERIFY2(entry.match(QString::fromUtf8(overview.out)).hasMatch(), overview.out);

    if (QStringList{"send", "read", "verify", "sweep", "hop"}.contains(command))
        return; // run against a board elsewhere
    for (const QStringList& example : examples) {
        QCOMPARE(example.first(), command);
        const Run run = kelvanectl(example);
        // save writes its file and nothing else.
        QVERIFY2(run.exitCode == 0 && run.err.isEmpty() && run.out.isEmpty() == (command == "save"),
                 qPrintable(example.join(' ') + ": " + run.err));
    }
}

QTEST_GUILESS_MAIN(TestKelvanectl)
#include "tst_kelvanectl.moc"
