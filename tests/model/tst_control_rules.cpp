#include <QtTest>

#include "model/conversions.h"
#include "model/plan_input_rules.h"
#include "model/setting_captions.h"
#include "model/window_position.h"

using namespace kelvane;

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// "(none)" stands for a value that leaves the label as it is.
QString q(const std::optional<std::string>& s) {
    return s ? q(*s) : QStringLiteral("(none)");
}

} // namespace

class TestControlRules : public QObject {
    Q_OBJECT
private slots:
    void settingCaptions_data();
    void settingCaptions();
    void dividedOutputText_data();
    void dividedOutputText();
    void followingTheDividerRoundsTheVco();
    void multiplierKeepsTheLastFactor_data();
    void multiplierKeepsTheLastFactor();
    void resolutionNeverZero_data();
    void resolutionNeverZero();
    void inputCaptions_data();
    void inputCaptions();
    void pixelsFromTwips_data();
    void pixelsFromTwips();
    void unmovedPositionsSurviveTheRoundTrip_data();
    void unmovedPositionsSurviveTheRoundTrip();
};

void TestControlRules::settingCaptions_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("caption");
    QTest::newRow("gain bottom") << "CPGscroll" << 0 << " 1";
    QTest::newRow("gain start value, no trailing blank") << "CPGscroll" << 19 << " 20";
    QTest::newRow("gain top") << "CPGscroll" << 31 << " 32";
    QTest::newRow("polarity clear") << "CPP" << 0 << "-- CPP";
    QTest::newRow("polarity set") << "CPP" << 1 << "+ CPP";
    QTest::newRow("dither weak") << "Dither" << 0 << " Weak Dither";
    QTest::newRow("dither none") << "Dither" << 3 << " No Dither";
    QTest::newRow("dither beyond the table") << "Dither" << 4 << "(none)";
    QTest::newRow("order: two blanks") << "Order" << 2 << "Order  2";
    QTest::newRow("order zero") << "Order" << 0 << "Order  0";
    QTest::newRow("mux first") << "Mux" << 0 << "Mux Disabled";
    QTest::newRow("mux start value") << "Mux" << 3 << "Dig Lock Det";
    QTest::newRow("mux longest") << "Mux" << 6 << "O/Drain Analogue Lock Det";
    QTest::newRow("mux last") << "Mux" << 13 << "PFD Down";
    QTest::newRow("mux beyond the table") << "Mux" << 14 << "(none)";
    QTest::newRow("mux below the table") << "Mux" << -1 << "(none)";
    QTest::newRow("termination") << "OutTerm" << 12 << " 12 Out Term";
    QTest::newRow("termination zero") << "OutTerm" << 0 << " 0 Out Term";
    QTest::newRow("vco gain") << "VcoGain" << 15 << " 15 VCO Gain";
    QTest::newRow("divider gain") << "DivGain" << 7 << " 7 Div Gain";
}

void TestControlRules::settingCaptions() {
    QFETCH(QString, control);
    QFETCH(int, value);
    const std::map<QString, std::function<QString(int)>> captionOf{
        {"CPGscroll", [](int v) { return q(chargePumpGainCaption(v)); }},
        {"CPP", [](int v) { return q(chargePumpPolarityCaption(v != 0)); }},
        {"Dither", [](int v) { return q(ditherCaption(v)); }},
        {"Order", [](int v) { return q(orderCaption(v)); }},
        {"Mux", [](int v) { return q(muxCaption(v)); }},
        {"OutTerm", [](int v) { return q(outTermCaption(v)); }},
        {"VcoGain", [](int v) { return q(vcoGainCaption(v)); }},
        {"DivGain", [](int v) { return q(divGainCaption(v)); }},
    };
    QTEST(captionOf.at(control)(value), "caption");
}

void TestControlRules::dividedOutputText_data() {
    QTest::addColumn<double>("fvco");
    QTest::addColumn<int>("divider");
    QTest::addColumn<double>("rfMult");
    QTest::addColumn<QString>("text");
    QTest::newRow("exact half") << 2320.25 << 2 << 1.0 << "1160.125";
    QTest::newRow("rounded to five decimals") << 2320.25 << 3 << 1.0 << "773.41667";
    QTest::newRow("no fraction keeps two decimals") << 2320.0 << 2 << 1.0 << "1160.00";
    QTest::newRow("back to divider 1") << 2320.25 << 1 << 1.0 << "2320.25";
    QTest::newRow("multiplied after the divider") << 2320.25 << 1 << 2.0 << "4640.50";
    QTest::newRow("two digits before the point") << 100.0 << 63 << 1.0 << "01.5873";
    QTest::newRow("no VCO frequency") << 0.0 << 2 << 1.0 << "00.00";
}

void TestControlRules::dividedOutputText() {
    QFETCH(double, fvco);
    QFETCH(int, divider);
    QFETCH(double, rfMult);
    QTEST(q(kelvane::dividedOutputText(fvco, divider, rfMult)), "text");
}

// The output text is rounded, and the VCO frequency is derived back from it.
void TestControlRules::followingTheDividerRoundsTheVco() {
    const std::string text = kelvane::dividedOutputText(2320.25, 3, 1);
    const double fvco = vcoFrequency(val(text), 3, 1);
    QCOMPARE(q(plainNumberText(fvco)), "2320.25001");
    QCOMPARE(vcoFrequency(4640.5, 1, 2), 2320.25);
    QCOMPARE(vcoFrequency(1160.125, 2, 1), 2320.25);
}

void TestControlRules::multiplierKeepsTheLastFactor_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("previous");
    QTest::addColumn<double>("factor");
    QTest::newRow("new factor") << "2" << 1.0 << 2.0;
    QTest::newRow("fraction") << " .5" << 2.0 << 0.5;
    QTest::newRow("zero keeps") << "0" << 2.0 << 2.0;
    QTest::newRow("negative keeps") << "-3" << 2.0 << 2.0;
    QTest::newRow("empty keeps") << "" << 3.0 << 3.0;
    QTest::newRow("no number keeps") << "x2" << 3.0 << 3.0;
}

void TestControlRules::multiplierKeepsTheLastFactor() {
    QFETCH(QString, text);
    QFETCH(double, previous);
    QTEST(multiplierFrom(text.toStdString(), previous), "factor");
}

void TestControlRules::resolutionNeverZero_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("fres");
    QTest::newRow("start text") << " 10" << 10.0;
    QTest::newRow("tone spacing") << "2.69165" << 2.69165;
    QTest::newRow("zero") << "0" << 0.01;
    QTest::newRow("empty") << "" << 0.01;
    QTest::newRow("no number") << "Hz" << 0.01;
    QTest::newRow("negative is used") << "-5" << -5.0;
}

void TestControlRules::resolutionNeverZero() {
    QFETCH(QString, text);
    QTEST(resolutionFrom(text.toStdString()), "fres");
}

void TestControlRules::inputCaptions_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("expected");
    QTest::newRow("R divider") << q(rDividerCaption(5)) << "R divider 5";
    QTest::newRow("R divider largest") << q(rDividerCaption(4096)) << "R divider 4096";
    QTest::newRow("output divider") << q(outputDividerCaption(2)) << "Output Divider 2";
    QTest::newRow("resolution undivided") << q(outputResolutionCaption(1)) << "O/P Resolution  Hz";
    QTest::newRow("resolution divided")
        << q(outputResolutionCaption(2)) << "Divided O/P Resolution  Hz";
    QTest::newRow("comparison in MHz") << q(comparisonPreviewCaption(" 10", 1)) << " 10";
    QTest::newRow("comparison divided") << q(comparisonPreviewCaption("12.8", 4)) << " 3.2";
    QTest::newRow("comparison without number") << q(comparisonPreviewCaption("abc", 2)) << " 0";
}

void TestControlRules::inputCaptions() {
    QFETCH(QString, caption);
    QTEST(caption, "expected");
}

void TestControlRules::pixelsFromTwips_data() {
    QTest::addColumn<float>("twips");
    QTest::addColumn<double>("dpi");
    QTest::addColumn<int>("pixels");
    QTest::newRow("15 twips a pixel") << 1500.0f << 96.0 << 100;
    QTest::newRow("default top rounds") << 100.0f << 96.0 << 7;
    QTest::newRow("left-hand monitor") << -1500.0f << 96.0 << -100;
    QTest::newRow("large fonts") << 1500.0f << 144.0 << 150;
    QTest::newRow("far beyond any screen") << 1e30f << 96.0 << 1000000;
    QTest::newRow("far to the left") << -1e30f << 96.0 << -1000000;
    QTest::newRow("infinite") << std::numeric_limits<float>::infinity() << 96.0 << 1000000;
}

void TestControlRules::pixelsFromTwips() {
    QFETCH(float, twips);
    QFETCH(double, dpi);
    QTEST(kelvane::pixelsFromTwips(twips, dpi), "pixels");
}

void TestControlRules::unmovedPositionsSurviveTheRoundTrip_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<double>("dpi");
    QTest::addColumn<QString>("written");
    QTest::newRow("96 dpi") << " 1500" << 96.0 << " 1500";
    QTest::newRow("120 dpi") << " 1200" << 120.0 << " 1200";
    QTest::newRow("110 dpi, fraction of a twip") << " 13.09091" << 110.0 << " 13.09091";
    QTest::newRow("negative") << "-1500" << 96.0 << "-1500";
    QTest::newRow("no number") << "left" << 96.0 << " 0";
}

// A position read, turned into pixels and back, is written as it was read
// whenever it lies on the pixel grid of the screen.
void TestControlRules::unmovedPositionsSurviveTheRoundTrip() {
    QFETCH(QString, stored);
    QFETCH(double, dpi);
    const int pixels = kelvane::pixelsFromTwips(storedTwips(stored.toStdString()), dpi);
    QTEST(q(twipsText(twipsFromPixels(pixels, dpi))), "written");
}

QTEST_APPLESS_MAIN(TestControlRules)
#include "tst_control_rules.moc"
