// The WSJT modes and quick step, the FSK-by-Reg2 generator, and sweeps and hop
// lists planned before anything is sent.

#include "model/conversions.h"
#include "model/hex.h"
#include "model_support.h"
#include "modes/frequency_run.h"
#include "modes/fsk_report.h"
#include "modes/quick_step.h"
#include "modes/wsjt_modes.h"

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

namespace {

// "2320.000000 MHz, 2320.100000 MHz", "3 frequencies: first ... last", or the refusal.
QString listed(const FrequencyList& list) {
    if (const auto* refusal = std::get_if<RunRefusal>(&list)) return q(refusal->line);
    const auto& frequencies = std::get<std::vector<double>>(list);
    if (frequencies.size() > 5)
        return QString("%1 frequencies: %2 ... %3")
            .arg(frequencies.size())
            .arg(q(runFrequencyText(frequencies.front())), q(runFrequencyText(frequencies.back())));
    QStringList texts;
    for (double mhz : frequencies)
        texts << q(runFrequencyText(mhz));
    return texts.join(", ");
}

} // namespace

class TestModes : public QObject {
    Q_OBJECT
private slots:
    // The selector's value, the mode label and the text written into Res.
    void wsjtTexts_data() {
        addTextColumns();
        // A few modes whose Res needs rounding to six decimals or a whole-number point.
        const std::pair<int, const char*> modes[] = {{1, "1 JT65A 2.69165"},
                                                     {6, "6 JT4G 315."},
                                                     {11, "11 WSPR * 16 23.4375"},
                                                     {15, "15 PI4 / 16 14.648438"}};
        auto shown = [](int value) {
            const WsjtModeSelection mode = selectWsjtMode(value);
            return std::to_string(mode.value) + " " + mode.caption + " " + mode.resText;
        };
        for (auto [value, expected] : modes)
            QTest::addRow("mode %d", value) << q(shown(value)) << QString(expected);
        textRow("above the range", shown(16), "0 MFSK Mode 10.");
        const auto up = StepDirection::up, down = StepDirection::down;
        textRow("carry into the whole MHz", steppedFrequencyText(2329.99999, 10, up), "2330");
        textRow("below zero", steppedFrequencyText(0.00001, 20, down), "-.00001");
    }
    void wsjtTexts() {
        QFETCH(QString, text);
        QTEST(text, "expected");
    }

    // Fres and Fout as the window reads them back from the boxes' texts.
    void tenUpTenDownReturnsExactly_data() {
        QTest::addColumn<double>("fres");
        QTest::addColumn<double>("start");
        for (const char* fo : {" 2320.25", "1160.12345678", "144.174", "3999.9999987"})
            for (int mode = 0; mode <= wsjtModeMax; ++mode)
                QTest::addRow("%s mode %d", fo, mode)
                    << val(selectWsjtMode(mode).resText) << val(fo);
    }
    void tenUpTenDownReturnsExactly() {
        QFETCH(double, fres);
        QFETCH(double, start);
        double fout = start;
        for (auto direction : {StepDirection::up, StepDirection::down}) {
            for (int i = 0; i < 10; ++i)
                fout = val(steppedFrequencyText(fout, fres, direction));
            if (direction == StepDirection::up) QVERIFY(fout > start);
        }
        QCOMPARE(QString::number(fout, 'g', 17), QString::number(start, 'g', 17));
    }

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

    // The lines that change with the inputs, or the line naming what to correct.
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
        row("shift with a unit", startUp, "-400 Hz",
            {"FSK Shift must be a number, for example -400"});
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

    void sweep_data() {
        QTest::addColumn<double>("from");
        QTest::addColumn<double>("to");
        QTest::addColumn<double>("step");
        QTest::addColumn<QString>("expected");
        const QString up4 = "2320.000000 MHz, 2320.100000 MHz, 2320.200000 MHz, 2320.300000 MHz";
        QTest::newRow("up, end included") << 2320.0 << 2320.3 << 0.1 << up4;
        QTest::newRow("end a millionth of a step short") << 2320.0 << 2320.29999999 << 0.1 << up4;
        QTest::newRow("end a ten-thousandth of a step short")
            << 2320.0 << 2320.29999 << 0.1 << "2320.000000 MHz, 2320.100000 MHz, 2320.200000 MHz";
        QTest::newRow("down") << 1296.2 << 1296.0 << -0.1
                              << "1296.200000 MHz, 1296.100000 MHz, 1296.000000 MHz";
        QTest::newRow("100000 steps, no rounding piled up")
            << 2320.0 << 2330.0 << 0.0001
            << "100001 frequencies: 2320.000000 MHz ... 2330.000000 MHz";
        QTest::newRow("too many steps")
            << 2320.0 << 2330.0 << 0.00005
            << "The sweep from 2320 MHz to 2330 MHz in steps of .00005 MHz takes 200000 steps; at "
               "most 100000 are sent: take a larger step or a shorter span";
        QTest::newRow("step away from the end")
            << 2320.0 << 2300.0 << 0.1
            << "The sweep from 2320 MHz to 2300 MHz goes down but the step .1 MHz goes up: turn "
               "the step's sign or swap the ends";
    }
    void sweep() {
        QFETCH(double, from);
        QFETCH(double, to);
        QFETCH(double, step);
        QTEST(listed(sweepFrequencies(from, to, step)), "expected");
    }

    void hopList_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("expected");
        QTest::newRow("comments, blanks, CR LF")
            << "# band edges\r\n\r\n 2320.25 MHz\r\n2304.1 # beacon\n  \n1296"
            << "2320.250000 MHz, 2304.100000 MHz, 1296.000000 MHz";
        QTest::newRow("no number")
            << "2320\n\ntwo thousand # typed\n"
            << "Line 3 of the list, \"two thousand\", is no output frequency in MHz above 0";
        QTest::newRow("only comments") << "# nothing yet\n"
                                       << "The list holds no frequency";
    }
    void hopList() {
        QFETCH(QString, list);
        QTEST(listed(hopFrequencies(list.toStdString())), "expected");
    }

    // Reg2 Reg1 Reg0 of each step, or the refusal.
    void plan_data() {
        QTest::addColumn<QList<double>>("frequencies");
        QTest::addColumn<bool>("externalVco");
        QTest::addColumn<QString>("expected");
        QTest::newRow("typed to the millihertz")
            << QList<double>{2320.25, 2320.2 + 3 * 0.1} << false
            << "2320.25 04F42402 00000011 61A80E80; 2320.5 04F42402 00000011 C3500E80";
        QTest::newRow("first VCO outside the chip")
            << QList<double>{2320.25, 1899.999999, 4000.000001} << false
            << "1899.999999 MHz puts the VCO at 1899.999999 MHz, outside the chip's 1900 to 4000 "
               "MHz";
        QTest::newRow("external VCO")
            << QList<double>{1800} << true << "1800 04F42402 00000011 00000B40";
        QTest::newRow("no plan")
            << QList<double>{2320.25, 1e11} << true
            << "100000000000.000000 MHz has no plan: VCO frequency is out of range for the "
               "comparison frequency: N beyond 2147483647";
        QTest::newRow("word beyond 32 bits")
            << QList<double>{3e9} << true
            << "3000000000.000000 MHz gives Reg1 11E1A0011, beyond 32 bits";
    }
    void plan() {
        QFETCH(QList<double>, frequencies);
        QFETCH(bool, externalVco);
        const Inputs controls{.externalVco = externalVco};
        const auto outcome = planRun({frequencies.begin(), frequencies.end()}, controls,
                                     planVariablesFrom(controls));
        if (const auto* refusal = std::get_if<RunRefusal>(&outcome)) {
            QTEST(q(refusal->line), "expected");
            return;
        }
        QStringList steps;
        for (const auto& step : std::get<std::vector<RunStep>>(outcome))
            steps << q(step.foText + " " + hexWord(step.registers[2]) + " " +
                       hexWord(step.registers[1]) + " " + hexWord(step.registers[0]));
        QTEST(steps.join("; "), "expected");
    }
};

QTEST_GUILESS_MAIN(TestModes)
#include "tst_modes.moc"
