// The FSK-by-Reg2 generator: the report, the denominators it rests on, and the
// inputs for which it gives a correction line instead.

#include <QtTest>

#include "model/recalculation.h"
#include "model/registers.h"
#include "modes/fsk_report.h"

using namespace kelvane;

Q_DECLARE_METATYPE(kelvane::FskInputs)

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// The start-up plan: 2320.25 MHz from 10 MHz with 10 Hz resolution.
FskInputs startUp() {
    return {2320.25, 10, 1000000, 1, 1, 1, 10};
}

FskDenominators generated(const FskInputs& in, const char* shift) {
    auto outcome = generateFsk(in, shift);
    if (auto* problem = std::get_if<std::string>(&outcome))
        qFatal("no report: %s", problem->c_str());
    return std::get<FskDenominators>(outcome);
}

} // namespace

class TestFskReport : public QObject {
    Q_OBJECT
private slots:
    void startUpReport();
    void inputsFromTheControls();
    void denominators_data();
    void denominators();
    void exactMultipleOfFcomp();
    void undefinedInputs_data();
    void undefinedInputs();
};

void TestFskReport::startUpReport() {
    const GeneratedText report = fskReport(startUp(), "-400");
    QVERIFY(report.ok);
    QCOMPARE(q(report.text), "Orig Fraction 0.025\r\n"
                             "New Fraction 0.02496\r\n"
                             "Old Denom D  1000000\r\n"
                             "New Denom    1001603\r\n"
                             "\r\n"
                             "Reg 2 for FSK shift  \r\n"
                             "   de  0x04, 0xF4, 0x88, 0x32\r\n"
                             "\r\n"
                             "WSJT Modulation\r\n"
                             "F = 625      D = 25000\r\n"
                             "   de  0x04, 0x06, 0x1A, 0x82   ;Reg2\r\n"
                             "   de  0x00, 0x00, 0x00, 0x11   ;Reg1\r\n"
                             "   de  0x02, 0x71, 0x0E, 0x80   ;Reg0\r\n");
}

void TestFskReport::inputsFromTheControls() {
    // M and r come from the box texts, even where the plan substitutes a value.
    ControlState controls;
    controls.fo = "1160.125";
    controls.odiv = 2;
    controls.rScroll = 2;
    controls.rfMult = "0";
    controls.res = " 5x";
    const auto plan =
        std::get<Recalculation>(recalculate(planInputsFrom(controls), loopSettingsFrom(controls)))
            .plan;
    const FskInputs in = fskInputsFrom(controls, plan);
    QCOMPARE(in.fvco, 2320.25);
    QCOMPARE(in.fcomp, 5.0);
    QCOMPARE(in.denom, plan.denom);
    QCOMPARE(in.r, 2.0);
    QCOMPARE(in.rfMult, 0.0);
    QCOMPARE(in.odiv, 2);
    QCOMPARE(in.resolution, 5.0);
}

void TestFskReport::denominators_data() {
    QTest::addColumn<FskInputs>("inputs");
    QTest::addColumn<QString>("shift");
    QTest::addColumn<qint64>("d2");
    QTest::addColumn<qint64>("dw");
    QTest::addColumn<qint64>("fw");
    QTest::addColumn<qint64>("w0");
    QTest::newRow("start-up") << startUp() << "-400" << qint64(1001603) << qint64(25000)
                              << qint64(625) << qint64(0x02710E80);
    QTest::newRow("shift 0 keeps D") << startUp() << "0" << qint64(1000000) << qint64(25000)
                                     << qint64(625) << qint64(0x02710E80);
    QTest::newRow("positive shift lowers D") << startUp() << " 400 " << qint64(998403)
                                             << qint64(25000) << qint64(625) << qint64(0x02710E80);
    // Shift and resolution are referred through M and Odiv: -400 / 4 * 2 Hz at
    // the VCO, and 10 / 4 Hz per unit of D after the divider.
    FskInputs multiplied = startUp();
    multiplied.rfMult = 4;
    multiplied.odiv = 2;
    QTest::newRow("RF mult 4, divider 2") << multiplied << "-400" << qint64(1000801)
                                          << qint64(50000) << qint64(1250) << qint64(0x04E20E80);
    // Fw of 2^16 or more: W0 holds its low half and exceeds 2^31 - 1 unsigned.
    FskInputs fine = startUp();
    fine.resolution = 0.01;
    QTest::newRow("W0 above 2^31") << fine << "-400" << qint64(1001603) << qint64(25000000)
                                   << qint64(625000) << qint64(0x89680E80);
}

void TestFskReport::denominators() {
    QFETCH(FskInputs, inputs);
    QFETCH(QString, shift);
    QFETCH(qint64, dw);
    QFETCH(qint64, fw);
    const FskDenominators d = generated(inputs, shift.toUtf8().constData());
    QTEST(qint64(d.d2), "d2");
    QCOMPARE(d.wfsk, composeReg2(d.d2));
    QCOMPARE(qint64(d.dw), dw);
    QCOMPARE(qint64(d.fw), fw);
    QCOMPARE(d.w2, composeReg2(dw));
    QCOMPARE(d.w1, composeReg1(std::int64_t(inputs.r), d.n, fw));
    QTEST(qint64(d.w0), "w0");
}

void TestFskReport::exactMultipleOfFcomp() {
    FskInputs in = startUp();
    in.fvco = 2320;
    const GeneratedText report = fskReport(in, "-400");
    QVERIFY(report.ok);
    const QStringList lines = q(report.text).split("\r\n");
    QCOMPARE(lines.at(0), "Orig Fraction 0.");
    QCOMPARE(lines.at(3), "New Denom    0");
    QCOMPARE(lines.at(9), "F =       D = ");
    QCOMPARE(lines.at(10), "   de  0x04, 0x00, 0x00, 0x02   ;Reg2");
}

void TestFskReport::undefinedInputs_data() {
    QTest::addColumn<FskInputs>("inputs");
    QTest::addColumn<QString>("shift");
    QTest::addColumn<QString>("message");
    const QString notANumber = "FSK Shift must be a number, for example -400";
    QTest::newRow("shift with a unit") << startUp() << "-400 Hz" << notANumber;
    QTest::newRow("empty shift") << startUp() << "" << notANumber;
    FskInputs in = startUp();
    in.rfMult = 0;
    QTest::newRow("RF mult reads 0") << in << "-400"
                                     << "RF Mult must be a number other than 0, for example 1";
    in = startUp();
    in.resolution = 0;
    QTest::newRow("Res reads 0") << in << "-400"
                                 << "Res must be a number other than 0, for example 10";
    // 2320.25 - 0.25 MHz is exactly 232 x 10 MHz.
    QTest::newRow("shifted fraction exactly 0")
        << startUp() << "-250000"
        << "FSK Shift moves the fraction to exactly 0; choose another FSK Shift";
    QTest::newRow("shifted fraction nearly 0")
        << startUp() << "-249999.99"
        << "New Denom does not fit in register 2; choose another FSK Shift";
    in = startUp();
    in.denom = 100;
    in.resolution = 0.00001;
    QTest::newRow("modulation D beyond 32 bits")
        << in << "-400"
        << "WSJT Modulation words do not fit in 32 bits; choose a coarser Res";
    in = startUp();
    in.fcomp = 0;
    QTest::newRow("no comparison frequency")
        << in << "-400"
        << "The plan gives no finite fraction; check Fo, Fr, R and RF Mult";
}

void TestFskReport::undefinedInputs() {
    QFETCH(FskInputs, inputs);
    QFETCH(QString, shift);
    const GeneratedText report = fskReport(inputs, shift.toStdString());
    QVERIFY(!report.ok);
    QTEST(q(report.text), "message");
}

QTEST_GUILESS_MAIN(TestFskReport)
#include "tst_fsk_report.moc"
