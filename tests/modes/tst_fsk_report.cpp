// The FSK-by-Reg2 generator: the report, and the inputs for which it gives a
// correction line instead.

#include "model/conversions.h"
#include "model_support.h"
#include "modes/fsk_report.h"

using namespace kelvane;

// What the generator reads: Fvco MHz, Fcomp MHz, D, r, M, Odiv, Res Hz.
struct FskCase {
    double fvco, fcomp, denom;
    int r;
    double rfMult;
    int odiv;
    double resolution;
};
Q_DECLARE_METATYPE(FskCase)

// The start-up plan: 2320.25 MHz from 10 MHz with 10 Hz resolution.
static const FskCase startUp{2320.25, 10, 1000000, 1, 1, 1, 10};

// The report for these values, M and Res typed into their boxes.
static GeneratedText fskReport(const FskCase& c, const std::string& shift) {
    const Inputs in{.res = str(c.resolution), .rfMult = str(c.rfMult), .odiv = c.odiv};
    const PlanVariables variables{.fvco = c.fvco, .r = c.r};
    const Plan plan{.fcomp = c.fcomp, .denom = c.denom};
    return kelvane::fskReport(in, variables, plan, shift);
}

class TestFskReport : public QObject {
    Q_OBJECT
private slots:
    void startUpReport() {
        const GeneratedText report = fskReport(startUp, "-400");
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

    // The lines that change with the inputs (New Denom, the FSK word and the
    // modulation set), or the one line saying which input to correct.
    void reports_data() {
        QTest::addColumn<FskCase>("inputs");
        QTest::addColumn<QString>("shift");
        QTest::addColumn<QStringList>("expected");
        auto row = [](const char* name, const FskCase& in, const char* shift,
                      const QStringList& lines) {
            QTest::newRow(name) << in << QString(shift) << lines;
        };
        // Shift and resolution are referred through M and Odiv: -400 / 4 * 2 Hz at
        // the VCO, and 10 / 4 Hz per unit of D after the divider.
        row("RF mult 4, divider 2", {2320.25, 10, 1000000, 1, 4, 2, 10}, "-400",
            {"New Denom    1000801", "   de  0x04, 0xF4, 0x56, 0x12", "F = 1250      D = 50000",
             "   de  0x04, 0x0C, 0x35, 0x02   ;Reg2", "   de  0x00, 0x00, 0x00, 0x11   ;Reg1",
             "   de  0x04, 0xE2, 0x0E, 0x80   ;Reg0"});
        // Fw of 2^16 or more: Reg1 takes its high part, and Reg0 exceeds 2^31 - 1.
        row("Fw beyond 16 bits", {2320.25, 10, 1000000, 1, 1, 1, 0.01}, "-400",
            {"New Denom    1001603", "   de  0x04, 0xF4, 0x88, 0x32",
             "F = 625000      D = 25000000", "   de  0x1B, 0xD7, 0x84, 0x02   ;Reg2",
             "   de  0x02, 0x40, 0x00, 0x11   ;Reg1", "   de  0x89, 0x68, 0x0E, 0x80   ;Reg0"});
        // A VCO frequency on a multiple of Fcomp: fraction 0, still reported.
        row("fraction 0", {2320, 10, 1000000, 1, 1, 1, 10}, "-400",
            {"New Denom    0", "   de  0x04, 0x00, 0x00, 0x02",
             "F =       D = ", "   de  0x04, 0x00, 0x00, 0x02   ;Reg2",
             "   de  0x00, 0x00, 0x00, 0x11   ;Reg1", "   de  0x00, 0x00, 0x0E, 0x80   ;Reg0"});
        row("shift with a unit", startUp, "-400 Hz",
            {"FSK Shift must be a number, for example -400"});
        row("RF mult reads 0", {2320.25, 10, 1000000, 1, 0, 1, 10}, "-400",
            {"RF Mult must be a number other than 0, for example 1"});
        row("Res reads 0", {2320.25, 10, 1000000, 1, 1, 1, 0}, "-400",
            {"Res must be a number other than 0, for example 10"});
        // 2320.25 - 0.25 MHz is exactly 232 x 10 MHz.
        row("shifted fraction exactly 0", startUp, "-250000",
            {"FSK Shift moves the fraction to exactly 0; choose another FSK Shift"});
        row("shifted fraction nearly 0", startUp, "-249999.99",
            {"New Denom does not fit in register 2; choose another FSK Shift"});
        row("modulation D beyond 32 bits", {2320.25, 10, 100, 1, 1, 1, 0.00001}, "-400",
            {"WSJT Modulation words do not fit in 32 bits; choose a coarser Res"});
        row("no comparison frequency", {2320.25, 0, 1000000, 1, 1, 1, 10}, "-400",
            {"The plan gives no finite fraction; check Fo, Fr, R and RF Mult"});
    }
    void reports() {
        QFETCH(FskCase, inputs);
        QFETCH(QString, shift);
        const GeneratedText report = fskReport(inputs, shift.toStdString());
        const QStringList lines = q(report.text).split("\r\n");
        QCOMPARE(report.ok, lines.size() > 1);
        QTEST((report.ok ? QStringList{lines.value(3), lines.value(6)} + lines.mid(9, 4) : lines),
              "expected");
    }
};

QTEST_GUILESS_MAIN(TestFskReport)
#include "tst_fsk_report.moc"
