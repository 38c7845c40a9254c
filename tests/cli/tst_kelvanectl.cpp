// kelvanectl run end to end without a board: its outputs, the options
// reaching them, exit codes and refusals.

#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include "run_kelvanectl.h"

// The example command lines of a help text, as the arguments after
// "kelvanectl"; a redirection of the output ("> file") is left out.
static QList<QStringList> helpExamples(const QByteArray& help) {
    QList<QStringList> examples;
    const QList<QByteArray> lines = help.split('\n');
    for (qsizetype i = lines.indexOf("Examples:") + 1;
         i > 0 && i < lines.size() && lines[i].startsWith("  kelvanectl "); ++i) {
        const QStringList words = QString::fromUtf8(lines[i]).split(' ', Qt::SkipEmptyParts);
        examples << words.mid(1, words.contains(">") ? words.indexOf(">") - 1 : -1);
    }
    return examples;
}

class TestKelvanectl : public QObject {
    Q_OBJECT
private slots:
    void outputs_data();
    void outputs();
    void json();
    void refusals_data();
    void refusals();
    void helpOfEachCommand_data();
    void helpOfEachCommand();
};

// A line of each command's output, for start-up and changed options; the
// lines end in CR LF only with --crlf.
void TestKelvanectl::outputs_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("line");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("plan") << QStringList{"plan"} << 0 << QByteArray("Fv: 2320.25 MHz");
    QTest::newRow("plan, listing")
        << QStringList{"plan"} << 14 << QByteArray("          1    00000011         0    61A80E80");
    QTest::newRow("plan --crlf") << QStringList{"plan", "--crlf"} << 7
                                 << QByteArray("ChipType: LMX2541-2380E \r");
    QTest::newRow("plan, a mode sets the resolution")
        << QStringList{"plan", "--wsjt", "1"} << 2 << QByteArray("Dn: D =    3715193");
    QTest::newRow("export") << QStringList{"export"} << 0
                            << QByteArray("  ;  Fout  2320.25MHz  Resolution  10Hz");
    QTest::newRow("export, divided, --crlf")
        << QStringList{"export", "--crlf", "--odiv", "2", "--fo", "1160.125"} << 1
        << QByteArray("  ;  R =  1      D =  500000      N =  232      F =  12500\r");
    QTest::newRow("fsk") << QStringList{"fsk"} << 3 << QByteArray("New Denom    1001603");
    QTest::newRow("fsk, mode and shift, --crlf")
        << QStringList{"fsk", "--wsjt", "5", "--shift", "400", "--crlf"} << 3
        << QByteArray("New Denom    285258\r");
}

void TestKelvanectl::outputs() {
    QFETCH(QStringList, arguments);
    QFETCH(int, line);
    const Run r = kelvanectl(arguments);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err, "");
    QTEST(r.out.split('\n').value(line), "expected");
}

void TestKelvanectl::json() {
    Run r = kelvanectl({"plan", "--fo", "1160.125", "--odiv", "2", "--json"});
    QCOMPARE(r.exitCode, 0);
    const QJsonObject o = QJsonDocument::fromJson(r.out).object();
    QCOMPARE(o["plan"]["Denom"].toDouble(), 500000);
    QCOMPARE(o["captions"]["StepLbl"].toString(), "Step =  20.");
    QCOMPARE(o["colors"]["ChipType"].toString(), "#408001");
    QCOMPARE(o["registers"]["Reg4"].toString(), "FF4820A4");
    QVERIFY(o["listing"].toString().endsWith("0    30D40E80\r\n"));

    // A refused plan is still one JSON object, with the usage exit code.
    r = kelvanectl({"plan", "--res", "1e9", "--json"});
    QCOMPARE(r.exitCode, 2);
    QVERIFY(QJsonDocument::fromJson(r.out).object().value("error").toString().contains(
        "no denominator"));
}

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
    QTest::newRow("unknown command")
        << QStringList{"plot"} << "unknown command \"plot\"; 'kelvanectl --help' lists them";
    QTest::newRow("plan, no plan") << QStringList{"plan", "--res", "1e9"} << noDenominator;
    QTest::newRow("shift not a number") << QStringList{"fsk", "--shift", "-400Hz"}
                                        << "FSK Shift must be a number, for example -400";
    QTest::newRow("Reg2 beyond 32 bits")
        << QStringList{"export", "--res", "0.01"}
        << "Reg2 = 3BDACA002 does not fit in 32 bits; correct the plan to get a PIC listing";
    QTest::newRow("mode and resolution")
        << QStringList{"export", "--wsjt", "3", "--res", "10"}
        << "--wsjt and --res both set the resolution text; give only one of them";
    QTest::newRow("both kinds") << QStringList{"send", "--port", "1", "--quick", "--store"}
                                << "--quick and --store cannot be combined";
    QTest::newRow("no port") << QStringList{"send"} << "--port is required";
    QTest::newRow("port 0") << QStringList{"read", "--port", "0"} << "--port \"0\" names no port";
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
    for (const char* command : {"plan", "export", "fsk", "send", "read", "ports"})
        QTest::newRow(command) << command;
}

// A command's help names the command as typed, the overview shows its first
// example, and the examples that need no board run as shown.
void TestKelvanectl::helpOfEachCommand() {
    QFETCH(QString, command);
    const Run help = kelvanectl({command, "--help"});
    QVERIFY2(help.out.startsWith("Usage: kelvanectl " + command.toUtf8() + " [options]\n\n"),
             help.out);
    const QList<QStringList> examples = helpExamples(help.out);
    QVERIFY2(!examples.isEmpty() && examples.first().first() == command, help.out);
    QVERIFY(
        kelvanectl({"--help"}).out.contains("kelvanectl " + examples.first().join(' ').toUtf8()));
    if (command == "send" || command == "read") return; // these need a board
    for (const QStringList& example : examples) {
        const Run run = kelvanectl(example);
        QVERIFY2(run.exitCode == 0 && run.err.isEmpty() && !run.out.isEmpty(),
                 qPrintable(example.join(' ') + ": " + run.err));
    }
}

QTEST_GUILESS_MAIN(TestKelvanectl)
#include "tst_kelvanectl.moc"
