// kelvanectl export and fsk run end to end, with --wsjt among the plan options.

#include <QProcess>
#include <QtTest>

#include "export/pic_listing.h"
#include "modes/fsk_report.h"

using namespace kelvane;

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

// The texts the windows show for the start-up controls.
std::pair<std::string, std::string> startUpTexts() {
    const ControlState controls;
    const auto r =
        std::get<Recalculation>(recalculate(planInputsFrom(controls), loopSettingsFrom(controls)));
    return {picListing(exportInputsFrom(controls, r)).text,
            fskReport(fskInputsFrom(controls, r.plan), "-400").text};
}

QByteArray withNewlines(const std::string& text) {
    return QByteArray::fromStdString(text).replace("\r\n", "\n");
}

} // namespace

class TestExportFskCommands : public QObject {
    Q_OBJECT
private slots:
    void startUpTexts_data();
    void startUpTexts();
    void optionsReachTheTexts_data();
    void optionsReachTheTexts();
    void refusals_data();
    void refusals();
};

void TestExportFskCommands::startUpTexts_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("out");
    const auto [listing, report] = ::startUpTexts();
    QTest::newRow("export") << QStringList{"export"} << withNewlines(listing);
    QTest::newRow("export --crlf")
        << QStringList{"export", "--crlf"} << QByteArray::fromStdString(listing);
    QTest::newRow("fsk") << QStringList{"fsk"} << withNewlines(report);
    QTest::newRow("fsk --crlf") << QStringList{"fsk", "--shift", "-400", "--crlf"}
                                << QByteArray::fromStdString(report);
}

void TestExportFskCommands::startUpTexts() {
    QFETCH(QStringList, arguments);
    const Run run = kelvanectl(arguments);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, "");
    QTEST(run.out, "out");
}

void TestExportFskCommands::optionsReachTheTexts_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("export, WSPR * 256") << QStringList{"export", "--wsjt", "12"}
                                        << QByteArray("  ;  Fout  2320.25MHz  Resolution 375.Hz");
    QTest::newRow("export, divided")
        << QStringList{"export", "--odiv", "2", "--fo", "1160.125"}
        << QByteArray("  ;  R =  1      D =  500000      N =  232      F =  12500");
    // JT4D: 35 Hz per unit of D, so Dw = 10^7 x 0.025 / 35.
    QTest::newRow("fsk, JT4D") << QStringList{"fsk", "--wsjt", "5"}
                               << QByteArray("F = 179      D = 7143");
    QTest::newRow("fsk, positive shift")
        << QStringList{"fsk", "--shift", "400"} << QByteArray("New Denom    998403");
    QTest::newRow("plan, JT65A") << QStringList{"plan", "--wsjt", "1"}
                                 << QByteArray("Dn: D =    3715193");
}

void TestExportFskCommands::optionsReachTheTexts() {
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
