#include <QtTest>

#include "model/control_state.h"
#include "model/plan.h"

using namespace kelvane;

Q_DECLARE_METATYPE(kelvane::PlanInputs)

namespace {

PlanInputs inputs(const char* fo, const char* fr, int r, bool doubler, int odiv, double fvco, double fres,
                  double rfMult) {
    PlanInputs in;
    in.foText = fo;
    in.frText = fr;
    in.r = r;
    in.doubler = doubler;
    in.odiv = odiv;
    in.fvco = fvco;
    in.fres = fres;
    in.rfMult = rfMult;
    return in;
}

const PlannedFrequency& planned(const PlanOutcome& outcome) {
    const auto* p = std::get_if<PlannedFrequency>(&outcome);
    if (!p) qFatal("plan refused: %s", std::get<RefusedPlan>(outcome).reason.c_str());
    return *p;
}

QString q(const std::string& s) { return QString::fromStdString(s); }

} // namespace

class TestPlan : public QObject {
    Q_OBJECT
private slots:
    void startUpPlan();
    void planValues_data();
    void planValues();
    void captions_data();
    void captions();
    void chipVariants_data();
    void chipVariants();
    void undefinedPlansAreRefused_data();
    void undefinedPlansAreRefused();
    void controlStateDerivesInputs();
};

void TestPlan::startUpPlan() {
    const auto outcome = calculatePlan(PlanInputs{});
    const auto& result = planned(outcome);
    QCOMPARE(result.plan.fcomp, 10.0);
    QCOMPARE(result.plan.denom, 1000000.0);
    QCOMPARE(result.plan.effN, 232.025);
    QCOMPARE(result.plan.n, 232.0);
    QCOMPARE(result.plan.fract, 25000.0);
    QCOMPARE(result.plan.fcorr, 2320.25);
    QCOMPARE(result.plan.ferror, 0.0);
    const auto& c = result.captions;
    QCOMPARE(q(c.fv), "2320.25 MHz");
    QCOMPARE(q(c.fc), "10000. kHz");
    QCOMPARE(q(c.dn), "D =    1000000");
    QCOMPARE(q(c.frlabel), "F =      25000");
    QCOMPARE(q(c.nlabel), "N =       232");
    QCOMPARE(q(c.stepLbl), "");
    QCOMPARE(q(c.operr), "");
    QCOMPARE(q(c.chipType), "LMX2541-2380E ");
    QVERIFY(c.dnColour == colours::black);
    QVERIFY(c.chipTypeColour == colours::darkGreen);
}

void TestPlan::planValues_data() {
    QTest::addColumn<PlanInputs>("in");
    QTest::addColumn<double>("denom");
    QTest::addColumn<double>("n");
    QTest::addColumn<double>("fract");
    QTest::addColumn<double>("fcorr");
    QTest::newRow("output divider 2") << inputs("1160.125", " 10", 1, false, 2, 2320.25, 10, 1) << 500000.0
                                      << 232.0 << 12500.0 << 1160.125;
    QTest::newRow("doubler") << inputs(" 2320.25", " 10", 1, true, 1, 2320.25, 10, 1) << 2000000.0 << 116.0
                             << 25000.0 << 2320.25;
    QTest::newRow("resolution 1 Hz") << inputs(" 2320.25", " 10", 1, false, 1, 2320.25, 1, 1) << 10000000.0
                                     << 232.0 << 250000.0 << 2320.25;
    QTest::newRow("RF multiplier 2") << inputs("4640.5", " 10", 1, false, 1, 2320.25, 10, 2) << 2000000.0
                                     << 232.0 << 50000.0 << 4640.5;
    // A fraction within half a step of 1 rounds F up to D; N stays.
    QTest::newRow("F equals D") << inputs("2329.9999999", " 10", 1, false, 1, 2329.9999999, 10, 1)
                                << 1000000.0 << 232.0 << 1000000.0 << 2330.0;
    // D rounds half up: 10 MHz / 4 Hz = 2500000 exactly, 10 MHz / 3 Hz rounds down.
    QTest::newRow("D rounds to nearest") << inputs("2320", " 10", 1, false, 1, 2320, 3, 1) << 3333333.0
                                         << 232.0 << 0.0 << 2320.0;
    QTest::newRow("R divider") << inputs("2320.25", " 10", 5, false, 1, 2320.25, 10, 1) << 200000.0
                               << 1160.0 << 25000.0 << 2320.25;
    // A negative reference gives negative D and N; the plan is still formed.
    QTest::newRow("negative reference") << inputs("2320.25", "-10", 1, false, 1, 2320.25, 10, 1)
                                        << -1000000.0 << -233.0 << -975000.0 << 2320.25;
    // Fcorr uses the reference text itself, not the 0.001 MHz substitute.
    QTest::newRow("no reference") << inputs("2320.25", "abc", 1, false, 1, 2320.25, 10, 1) << 100.0
                                  << 2320250.0 << 0.0 << 0.0;
}

void TestPlan::planValues() {
    QFETCH(PlanInputs, in);
    const auto outcome = calculatePlan(in);
    const auto& result = planned(outcome);
    QTEST(result.plan.denom, "denom");
    QTEST(result.plan.n, "n");
    QTEST(result.plan.fract, "fract");
    QTEST(result.plan.fcorr, "fcorr");
}

void TestPlan::captions_data() {
    QTest::addColumn<PlanInputs>("in");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("caption");
    QTest::newRow("step shown with divider") << inputs("1160.125", " 10", 1, false, 2, 2320.25, 10, 1)
                                             << "StepLbl" << "Step =  20.";
    QTest::newRow("doubled comparison") << inputs(" 2320.25", " 10", 1, true, 1, 2320.25, 10, 1) << "Fc"
                                        << "20000. kHz";
    QTest::newRow("12.8 MHz reference") << inputs(" 2320.25", "12.8", 1, false, 1, 2320.25, 10, 1) << "Fc"
                                        << "12800. kHz";
    QTest::newRow("10.0005 MHz reference") << inputs(" 2320.25", "10.0005", 1, false, 1, 2320.25, 10, 1)
                                           << "Fc" << "10000.5 kHz";
    QTest::newRow("output error") << inputs("2320.2500037", " 10", 1, false, 1, 2320.2500037, 10, 1) << "OPerr"
                                  << "Output Freq Error  -3.7  Hz";
    QTest::newRow("error of a millihertz hidden")
        << inputs("2320.250000001", " 10", 1, false, 1, 2320.25, 10, 1) << "OPerr" << "";
    QTest::newRow("vco below 1000") << inputs("773.41667", " 10", 1, false, 1, 773.41667, 10, 1) << "Fv"
                                    << "0773.41667 MHz";
    QTest::newRow("vco zero") << inputs("", " 10", 1, false, 1, 0, 10, 1) << "Fv" << "0000.0 MHz";
    // The chip's denominator field is 22 bits wide.
    QTest::newRow("largest 22-bit D is black") << inputs("2320.25", "4.194303", 1, false, 1, 2320.25, 1, 1)
                                               << "DnColour" << "#000000";
    QTest::newRow("D of 2^22 is red") << inputs("2320.25", "4.194304", 1, false, 1, 2320.25, 1, 1)
                                      << "DnColour" << "#FF0000";
    QTest::newRow("D beyond 22 bits") << inputs("2320.25", " 10", 1, false, 1, 2320.25, 1, 1) << "Dn"
                                      << "D =    10000000";
}

void TestPlan::captions() {
    QFETCH(PlanInputs, in);
    QFETCH(QString, display);
    QFETCH(QString, caption);
    const auto outcome = calculatePlan(in);
    const auto& c = planned(outcome).captions;
    const QMap<QString, std::string> shown{{"Fv", c.fv},           {"Fc", c.fc},       {"Dn", c.dn},
                                           {"StepLbl", c.stepLbl}, {"OPerr", c.operr}, {"DnColour", c.dnColour.name()}};
    QCOMPARE(q(shown.value(display)), caption);
}

void TestPlan::chipVariants_data() {
    QTest::addColumn<double>("fvco");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("colour");
    QTest::newRow("two variants") << 2220.0 << "LMX2541-2060E 2380E " << "#408001";
    QTest::newRow("valid, no variant") << 1950.0 << "LMX2541-" << "#408001";
    QTest::newRow("lowest valid") << 1900.0 << "LMX2541-" << "#408001";
    QTest::newRow("highest valid") << 4000.0 << "LMX2541-3740E " << "#408001";
    QTest::newRow("range start included") << 1990.0 << "LMX2541-2060E " << "#408001";
    QTest::newRow("range end included") << 2865.0 << "LMX2541-2690E 3030E " << "#408001";
    QTest::newRow("just below") << 1899.9 << "Invalid Frequency Range" << "#FF0000";
    QTest::newRow("just above") << 4000.1 << "Invalid Frequency Range" << "#FF0000";
}

void TestPlan::chipVariants() {
    QFETCH(double, fvco);
    const auto [caption, colour] = chipVariantCaption(fvco);
    QTEST(q(caption), "caption");
    QTEST(q(colour.name()), "colour");
}

void TestPlan::undefinedPlansAreRefused_data() {
    QTest::addColumn<PlanInputs>("in");
    QTest::addColumn<QString>("reasonContains");
    QTest::addColumn<QString>("dn");
    QTest::newRow("D rounds to 0") << inputs("2320.25", " 10", 1, false, 1, 2320.25, 1e9, 1) << "no denominator"
                                   << "D =    0";
    QTest::newRow("D beyond 32 bits") << inputs("2320.25", "100", 1, false, 1, 2320.25, 0.01, 1)
                                      << "denominator beyond" << "D =    10000000000";
    QTest::newRow("N beyond 32 bits") << inputs("1e12", " 10", 1, false, 1, 1e12, 10, 1) << "N beyond"
                                      << "D =    1000000";
    QTest::newRow("reference too far below 0 for Reg4")
        << inputs("2320.25", "-536117505", 1, false, 1, 2320.25, 1e13, 1) << "does not fit register 4"
        << "D =   -54";
    QTest::newRow("R of 0") << inputs("2320.25", " 10", 0, false, 1, 2320.25, 10, 1) << "R is 0" << "";
    QTest::newRow("VCO overflows") << inputs("", " 10", 1, false, 1, 1e308 * 10, 10, 1) << "N beyond"
                                   << "D =    1000000";
}

void TestPlan::undefinedPlansAreRefused() {
    QFETCH(PlanInputs, in);
    QFETCH(QString, reasonContains);
    QFETCH(QString, dn);
    const auto outcome = calculatePlan(in);
    const auto* refused = std::get_if<RefusedPlan>(&outcome);
    QVERIFY(refused);
    QVERIFY2(q(refused->reason).contains(reasonContains), refused->reason.c_str());
    QCOMPARE(q(refused->dnCaption.value_or("")), dn);
}

void TestPlan::controlStateDerivesInputs() {
    ControlState c;
    c.fo = "4640.5";
    c.rfMult = "2";
    c.odiv = 3;
    c.res = "0";
    c.rScroll = 7;
    c.doubler = true;
    const PlanInputs in = planInputsFrom(c);
    QCOMPARE(in.fvco, 4640.5 * 3 / 2);
    QCOMPARE(in.fres, 0.01);
    QCOMPARE(in.r, 1);
    c.rfMult = "-1";
    c.doubler = false;
    QCOMPARE(planInputsFrom(c).rfMult, 1.0);
    QCOMPARE(planInputsFrom(c).r, 7);
}

QTEST_APPLESS_MAIN(TestPlan)
#include "tst_plan.moc"
