// kelvanectl export and fsk run end to end, with --wsjt among the plan options.

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

} // namespace

class TestExportFskCommands : public QObject {
    Q_OBJECT
private slots:
    void exportStartUp();
    void exportKeepsCrLf();
    void fskStartUp();
    void wsjtSetsTheResolution_data();
    void wsjtSetsTheResolution();
    void refusals_data();
    void refusals();
};

void TestExportFskCommands::exportStartUp() {
    const Run run = kelvanectl({"export"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, "");
    QCOMPARE(run.out, "  ;  Fout  2320.25MHz  Resolution  10Hz\n"
                      "  ;  R =  1      D =  1000000      N =  232      F =  25000\n"
                      "   de  0x00, 0x00, 0x00, 0x17    ;  Reg7   \n"
                      "   de  0x00, 0x00, 0x00, 0x8D    ;  Reg13   \n"
                      "   de  0x00, 0x00, 0x00, 0x1C    ;  Reg12   \n"
                      "   de  0x28, 0x00, 0x14, 0x09    ;  Reg9   \n"
                      "   de  0x01, 0x11, 0xCE, 0x58    ;  Reg8   \n"
                      "   de  0x00, 0x1F, 0x33, 0x26    ;  Reg6   \n"
                      "   de  0xA0, 0x04, 0x00, 0x05    ;  Reg5   \n"
                      "   de  0xFF, 0x48, 0x10, 0xA4    ;  Reg4   \n"
                      "   de  0x00, 0xA8, 0x73, 0x03    ;  Reg3   \n"
                      "   de  0x04, 0xF4, 0x24, 0x02    ;  Reg2   \n"
                      "   de  0x00, 0x00, 0x00, 0x11    ;  Reg1   \n"
                      "   de  0x61, 0xA8, 0x0E, 0x80    ;  Reg0   \n");
}

void TestExportFskCommands::exportKeepsCrLf() {
    const Run run = kelvanectl({"export", "--crlf", "--odiv", "2", "--fo", "1160.125"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out.count("\r\n"), 14);
    QCOMPARE(run.out.count('\n'), 14);
    QVERIFY(run.out.startsWith("  ;  Fout 1160.125MHz  Resolution  10Hz\r\n"
                               "  ;  R =  1      D =  500000      N =  232      F =  12500\r\n"));
    QVERIFY(run.out.contains("   de  0x00, 0x00, 0x00, 0xCD    ;  Reg13   \r\n"));
}

void TestExportFskCommands::fskStartUp() {
    const Run run = kelvanectl({"fsk"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, "");
    QCOMPARE(run.out, "Orig Fraction 0.025\n"
                      "New Fraction 0.02496\n"
                      "Old Denom D  1000000\n"
                      "New Denom    1001603\n"
                      "\n"
                      "Reg 2 for FSK shift  \n"
                      "   de  0x04, 0xF4, 0x88, 0x32\n"
                      "\n"
                      "WSJT Modulation\n"
                      "F = 625      D = 25000\n"
                      "   de  0x04, 0x06, 0x1A, 0x82   ;Reg2\n"
                      "   de  0x00, 0x00, 0x00, 0x11   ;Reg1\n"
                      "   de  0x02, 0x71, 0x0E, 0x80   ;Reg0\n");
    QCOMPARE(kelvanectl({"fsk", "--shift", "-400", "--crlf"}).out.count("\r\n"), 13);
}

void TestExportFskCommands::wsjtSetsTheResolution_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("export, WSPR * 256") << QStringList{"export", "--wsjt", "12"}
                                        << QByteArray("  ;  Fout  2320.25MHz  Resolution 375.Hz");
    QTest::newRow("export, mode 0") << QStringList{"export", "--wsjt", "0"}
                                    << QByteArray("  ;  Fout  2320.25MHz  Resolution 10.Hz");
    // JT4D: 35 Hz per unit of D, so Dw = 10^7 x 0.025 / 35.
    QTest::newRow("fsk, JT4D") << QStringList{"fsk", "--wsjt", "5"}
                               << QByteArray("F = 179      D = 7143");
    QTest::newRow("fsk, positive shift")
        << QStringList{"fsk", "--shift", "400"} << QByteArray("New Denom    998403");
    QTest::newRow("plan, JT65A") << QStringList{"plan", "--wsjt", "1"}
                                 << QByteArray("Dn: D =    3715193");
}

void TestExportFskCommands::wsjtSetsTheResolution() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, line);
    const Run run = kelvanectl(arguments);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.split('\n').contains(line), run.out);
}

void TestExportFskCommands::refusals_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("shift not a number")
        << QStringList{"fsk", "--shift", "-400Hz"}
        << QByteArray("FSK Shift must be a number, for example -400");
    QTest::newRow("Res reads 0") << QStringList{"fsk", "--res", "none"}
                                 << QByteArray("Res must be a number other than 0, for example 10");
    QTest::newRow("RF mult reads 0") << QStringList{"fsk", "--rfmult", "0"}
                                     << QByteArray("RF Mult must be a number other than 0");
    QTest::newRow("Reg2 beyond 32 bits")
        << QStringList{"export", "--res", "0.01"}
        << QByteArray(
               "Reg2 = 3BDACA002 does not fit in 32 bits; correct the plan to get a PIC listing");
    QTest::newRow("no plan") << QStringList{"export", "--res", "1e9"} << QByteArray("no plan:");
    QTest::newRow("mode out of range") << QStringList{"fsk", "--wsjt", "16"}
                                       << QByteArray("--wsjt must be a whole number from 0 to 15");
    QTest::newRow("mode and resolution")
        << QStringList{"export", "--wsjt", "3", "--res", "10"}
        << QByteArray("--wsjt and --res both set the resolution text");
}

void TestExportFskCommands::refusals() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, message);
    const Run run = kelvanectl(arguments);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.out, "");
    QVERIFY2(run.err.startsWith("kelvanectl: ") && run.err.contains(message), run.err);
    QCOMPARE(run.err.count('\n'), 1);
}

QTEST_GUILESS_MAIN(TestExportFskCommands)
#include "tst_export_fsk_commands.moc"
