// The frequency plan, its captions, the register words composed from it, and
// the reference corrected from the output it measurably gives.

#include "model/calibration.h"
#include "model/conversions.h"
#include "model/hex.h"
#include "model/plan.h"
#include "model_support.h"

using namespace kelvane;

static PlannedFrequency planned(const Inputs& in, const PlanVariables& v = {}) {
    const auto outcome = calculatePlan(in, v);
    if (const auto* refused = std::get_if<RefusedPlan>(&outcome))
        qFatal("plan refused: %s", refused->reason.c_str());
    return std::get<PlannedFrequency>(outcome);
}

class TestPlan : public QObject {
    Q_OBJECT
private slots:
    void planNumbers_data() {
        addTextColumns();
        // D, N, F and the output frequency they really give, Fcorr.
        auto dnfc = [](const Inputs& in, const PlanVariables& v) {
            const Plan p = planned(in, v).plan;
            return str(p.denom) + str(p.n) + str(p.fract) + str(p.fcorr);
        };
        textRow("doubler", dnfc({.doubler = true}, {}), " 2000000 116 25000 2320.25");
        textRow("RF multiplier 2", dnfc({.fo = "4640.5"}, {.rfMult = 2}),
                " 2000000 232 50000 4640.5");
        // D rounds half up: 10 MHz / 3 Hz rounds down.
        textRow("D rounds to nearest", dnfc({.fo = "2320"}, {.fvco = 2320, .fres = 3}),
                " 3333333 232 0 2320");
        // A fraction within half a step of 1 rounds F up to D; N stays.
        textRow("F equals D", dnfc({.fo = "2329.9999999"}, {.fvco = 2329.9999999}),
                " 1000000 232 1000000 2330");
        // A negative reference gives negative D and N; the plan is still formed.
        textRow("negative reference", dnfc({.fr = "-10"}, {}), "-1000000-233-975000 2320.25");
        // Fcorr uses the reference text itself, not the 0.001 MHz substitute.
        textRow("no reference", dnfc({.fr = "abc"}, {}), " 100 2320250 0 0");
    }
    void planNumbers() { checkTexts(); }

    // What the displays show, and in which colour.
    void captionsAndColours_data() {
        addTextColumns();
        auto shown = [](const Inputs& in, const PlanVariables& v) {
            return planned(in, v).captions;
        };
        textRow("output error", shown({.fo = "2320.2500037"}, {.fvco = 2320.2500037}).operr,
                "Output Freq Error  -3.7  Hz");
        textRow("error of a millihertz hidden", shown({.fo = "2320.250000001"}, {}).operr, "");
        // The chip's denominator field is 22 bits wide; D beyond it is shown whole, in red.
        textRow("largest 22-bit D is black", shown({.fr = "4.194303"}, {.fres = 1}).dnColour.name(),
                "#000000");
        textRow("D of 2^22 is red", shown({.fr = "4.194304"}, {.fres = 1}).dnColour.name(),
                "#FF0000");
    }
    void captionsAndColours() { checkTexts(); }

    void refusedPlansSayWhy_data() {
        addTextColumns();
        // Plans without register words: why, and D in red where it could be formed.
        auto refusal = [](const Inputs& in, const PlanVariables& v) {
            const auto outcome = calculatePlan(in, v);
            const auto* refused = std::get_if<RefusedPlan>(&outcome);
            return refused ? refused->reason + " | " + refused->dnCaption.value_or("") : "planned";
        };
        textRow("D rounds to 0", refusal({}, {.fres = 1e9}),
                "Resolution is coarser than the comparison frequency allows: no denominator | "
                "D =    0");
        textRow(
            "D beyond 32 bits", refusal({.fr = "100"}, {.fres = 0.01}),
            "Resolution is too fine for the comparison frequency: denominator beyond 2147483647 | "
            "D =    10000000000");
        textRow("N beyond 32 bits", refusal({.fo = "1e12"}, {.fvco = 1e12}),
                "VCO frequency is out of range for the comparison frequency: N beyond 2147483647 | "
                "D =    1000000");
        // Reg4 carries the reference in whole MHz: far below zero it no longer fits 8 digits.
        textRow("reference too far below 0 for Reg4", refusal({.fr = "-536117505"}, {.fres = 1e13}),
                "Reference frequency is out of range: it does not fit register 4 | D =   -54");
        textRow("R of 0", refusal({}, {.r = 0}),
                "Reference divider R is 0: no comparison frequency | ");
    }
    void refusedPlansSayWhy() { checkTexts(); }

    void registerWords_data() {
        addTextColumns();
        // Register words for the controls, at the addresses given.
        auto words = [](const Inputs& c, std::initializer_list<int> addresses) {
            const RegisterImage image = recalculated(c).registers;
            QStringList text;
            for (int address : addresses)
                text << QString("Reg%1=%2").arg(address).arg(q(hexWord(image[address])));
            return text.join(' ').toStdString();
        };
        textRow("D beyond 22 bits runs into bit 26", words({.res = "1"}, {2}), "Reg2=0D896802");
        // F = D = 1000000: 1000000 mod 65536 = 16960 (0x4240) low, 15 high.
        textRow("F equals D in the words", words({.fo = "2329.9999999"}, {0, 1}),
                "Reg0=42400E80 Reg1=03C00011");
        textRow("reference capped at 255", words({.fo = "2555", .fr = "255.5"}, {4}),
                "Reg4=FF481FF4");
        textRow("reference 9.5 gives 10", words({.fo = "2555", .fr = "9.5"}, {4}), "Reg4=FF4810A4");
        textRow("lowest reference Reg4 holds", words({.fr = "-536117504", .res = "1e13"}, {4}),
                "Reg4=00000004");
        textRow("R of 4096 puts 0 in the field",
                words({.fo = "2320", .fr = "4096", .res = "1", .r = 4096}, {1}), "Reg1=00000001");
        textRow("doubler, external VCO, polarity",
                words({.doubler = true, .externalVco = true, .cpp = true}, {3}), "Reg3=00AE7313");
        // clang-format off
        textRow("settings at their top ends", words({.cpg = 31, .dither = 3, .order = 4,
                .mux = 13, .outTerm = 15, .vcoGain = 15, .divGain = 15}, {3, 6}),
                "Reg3=01C9BF03 Reg6=001FFFE6");
        // clang-format on
        // Register words as 8 hexadecimal digits.
        textRow("negative word taken modulo 2^32", hexWord(-12054364), "FF4810A4");
        textRow("word beyond 32 bits is not cut", hexWord(4294967301), "100000005");
    }
    void registerWords() { checkTexts(); }

    void chipVariants_data() {
        addTextColumns();
        // Both ends of every VCO range count; 1900 to 1990 MHz is valid without a variant.
        const std::pair<double, const char*> chips[] = {
            {2220, "#408001 LMX2541-2060E 2380E "},     {1900, "#408001 LMX2541-"},
            {1990, "#408001 LMX2541-2060E "},           {2865, "#408001 LMX2541-2690E 3030E "},
            {4000, "#408001 LMX2541-3740E "},           {1899.9, "#FF0000 Invalid Frequency Range"},
            {4000.1, "#FF0000 Invalid Frequency Range"}};
        for (auto [fvco, expected] : chips) {
            const auto [caption, colour] = chipVariantCaption(fvco);
            QTest::addRow("%g MHz", fvco) << q(colour.name() + " " + caption) << QString(expected);
        }
    }
    void chipVariants() { checkTexts(); }

    // The report's values without their captions, or the refusal.
    void calibration_data() {
        QTest::addColumn<Inputs>("controls");
        QTest::addColumn<QString>("measured");
        QTest::addColumn<QString>("expected");
        const Inputs startUp;
        QTest::newRow("1 ppm high, window's number reading")
            << startUp << " 2320.25232025 MHz"
            << "2320.25 MHz; 2320.25232025 MHz; 1.000 ppm, 10.000 Hz; 10.00001 MHz";
        QTest::newRow("twelve significant digits")
            << startUp << "2320.2507734167"
            << "2320.25 MHz; 2320.2507734167 MHz; 0.333 ppm, 3.333 Hz; 10.0000033333 MHz";
        QTest::newRow("just under 1000 ppm")
            << startUp << "2322.57"
            << "2320.25 MHz; 2322.57 MHz; 999.892 ppm, 9998.923 Hz; 10.0099989225 MHz";
        QTest::newRow("achieved, not wanted output")
            << Inputs{.fo = "2320.000004"} << "2320"
            << "2320 MHz; 2320 MHz; 0.000 ppm, 0.000 Hz; 10 MHz";
        QTest::newRow("multiplied, 1 ppm low")
            << Inputs{.fo = "9281", .fr = "20", .rfMult = "4"} << "9280.990719"
            << "9281 MHz; 9280.990719 MHz; -1.000 ppm, -20.000 Hz; 19.99998 MHz";
        const QString reading = "--measured must be a number above 0, for example 2320.250012 (the "
                                "output frequency the counter shows, MHz)";
        QTest::newRow("zero") << startUp << " 0" << reading;
        QTest::newRow("1000 ppm away")
            << startUp << "2322.58"
            << "--measured 2322.58 MHz lies 1004.2 ppm from the achieved output 2320.25 MHz, more "
               "than a reference is off by: check the counter, the RF multiplication and the "
               "output divider";
    }
    void calibration() {
        QFETCH(Inputs, controls);
        QFETCH(QString, measured);
        const auto outcome = calibrateReference(measured.toStdString(), "--measured",
                                                recalculated(controls).plan.fcorr, controls.fr);
        if (const auto* refusal = std::get_if<CalibrationRefusal>(&outcome)) {
            QTEST(q(refusal->line), "expected");
            return;
        }
        const QString report = q(calibrationReport(std::get<Calibration>(outcome)));
        QTEST(report.split("\r\n", Qt::SkipEmptyParts)
                  .replaceInStrings(QRegularExpression("^.*: "), "")
                  .join("; "),
              "expected");
    }

    // An achieved output or a reference of 0 leaves nothing to compare with.
    void calibrationWithoutAnOutput() {
        for (auto [achieved, reference] : {std::pair{0.0, " 10"}, std::pair{2320.25, "0"}}) {
            const auto outcome = calibrateReference("2320", "--measured", achieved, reference);
            QCOMPARE(q(std::get<CalibrationRefusal>(outcome).line),
                     "The plan gives no output to compare with: check the reference frequency");
        }
    }
};

QTEST_APPLESS_MAIN(TestPlan)
#include "tst_plan.moc"
