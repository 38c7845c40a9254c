#include <QtTest>
#include <clocale>
#include <limits>

#include "model/conversions.h"

using namespace kelvane;

class TestConversions : public QObject {
    Q_OBJECT
private slots:
    void valReadsTheLeadingNumber_data();
    void valReadsTheLeadingNumber();
    void strAndPlainText_data();
    void strAndPlainText();
    void strSingle_data();
    void strSingle();
    void strictNumber_data();
    void strictNumber();
    void formatPatterns_data();
    void formatPatterns();
    void hexDigits();
    void independentOfLocale();
};

void TestConversions::valReadsTheLeadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("leading blank") << " 10" << 10.0;
    QTest::newRow("trailing garbage") << "2.5x" << 2.5;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("hex") << "&H1A" << 26.0;
    QTest::newRow("hex lower case, stops at non-digit") << "&h0fZ9" << 15.0;
    QTest::newRow("hex without digits") << "&H" << 0.0;
    QTest::newRow("blanks inside are removed") << " 1 2.5" << 12.5;
    QTest::newRow("tabs and line feeds removed") << "\t-\n3" << -3.0;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
    QTest::newRow("exponent") << "1.5e3" << 1500.0;
    QTest::newRow("exponent without digits ignored") << "7e" << 7.0;
    QTest::newRow("signed exponent") << "25E-1" << 2.5;
    QTest::newRow("point only") << "." << 0.0;
    QTest::newRow("leading point") << "-.5" << -0.5;
    QTest::newRow("plus sign") << "+4" << 4.0;
    QTest::newRow("overflow counts as no number") << "1e999" << 0.0;
    QTest::newRow("tiny") << "-1e-300" << -1e-300;
    QTest::newRow("NaN is letters") << "NaN" << 0.0;
    QTest::newRow("infinity is letters") << "inf" << 0.0;
    QTest::newRow("carriage return stops") << "5\r6" << 5.0;
}

void TestConversions::valReadsTheLeadingNumber() {
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(val(text.toStdString()), expected);
}

void TestConversions::strAndPlainText_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("str");
    QTest::addColumn<QString>("plain");
    QTest::newRow("whole") << 12.0 << " 12" << "12";
    QTest::newRow("negative") << -3.0 << "-3" << "-3";
    QTest::newRow("below one") << 0.5 << " .5" << ".5";
    QTest::newRow("negative below one") << -0.25 << "-.25" << "-.25";
    QTest::newRow("zero") << 0.0 << " 0" << "0";
    QTest::newRow("15 significant digits") << 0.1 + 0.2 << " .3" << ".3";
    QTest::newRow("step down") << 2320.25 - 10 / 1e6 << " 2320.24999" << "2320.24999";
    QTest::newRow("step up") << 2320.25 + 10 / 1e6 << " 2320.25001" << "2320.25001";
    QTest::newRow("largest 32-bit") << 2147483647.0 << " 2147483647" << "2147483647";
    QTest::newRow("15 digits whole") << 123456789012345.0 << " 123456789012345" << "123456789012345";
    QTest::newRow("exponent above") << 1e15 << " 1E+15" << "1E+15";
    QTest::newRow("exponent below") << 1.5e-7 << " 1.5E-07" << "1.5E-07";
    QTest::newRow("small plain") << 0.00012 << " .00012" << ".00012";
}

void TestConversions::strAndPlainText() {
    QFETCH(double, value);
    QFETCH(QString, str);
    QFETCH(QString, plain);
    QCOMPARE(QString::fromStdString(kelvane::str(value)), str);
    QCOMPARE(QString::fromStdString(plainNumberText(value)), plain);
}

void TestConversions::strSingle_data() {
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("whole") << 1500.0f << " 1500";
    QTest::newRow("negative") << -1234.0f << "-1234";
    QTest::newRow("zero") << 0.0f << " 0";
    QTest::newRow("nearest float to .1 reads .1") << 0.1f << " .1";
    QTest::newRow("rounded to 7 digits") << 1234.5678f << " 1234.568";
    QTest::newRow("twips at 110 dpi") << 13.090909f << " 13.09091";
    QTest::newRow("exponent from 1e7") << 1.5e7f << " 1.5E+07";
    QTest::newRow("largest plain") << 9999999.0f << " 9999999";
}

void TestConversions::strSingle() {
    QFETCH(float, value);
    QTEST(QString::fromStdString(kelvane::strSingle(value)), "expected");
}

void TestConversions::strictNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("expected");
    QTest::newRow("negative") << "-400" << true << -400.0;
    QTest::newRow("blanks around") << "  12.5 " << true << 12.5;
    QTest::newRow("plus") << "+3" << true << 3.0;
    QTest::newRow("exponent") << "1e2" << true << 100.0;
    QTest::newRow("trailing garbage") << "400x" << false << 0.0;
    QTest::newRow("blank inside") << "4 00" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("sign only") << "-" << false << 0.0;
    QTest::newRow("point only") << "." << false << 0.0;
    QTest::newRow("dangling exponent") << "1e" << false << 0.0;
    QTest::newRow("overflow") << "1e999" << false << 0.0;
    QTest::newRow("nan") << "nan" << false << 0.0;
    QTest::newRow("hex") << "&H10" << false << 0.0;
}

void TestConversions::strictNumber() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, expected);
    const auto value = kelvane::strictNumber(text.toStdString());
    QCOMPARE(value.has_value(), valid);
    if (valid) QCOMPARE(*value, expected);
}

void TestConversions::formatPatterns_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");
    // Halves are rounded on the decimal text, never on the binary double.
    QTest::newRow("0.285") << 0.285 << "0.##" << "0.29";
    QTest::newRow("2.675") << 2.675 << "0.00" << "2.68";
    QTest::newRow("1.005") << 1.005 << "0.00" << "1.01";
    QTest::newRow("negative half away from zero") << -2.675 << "0.00" << "-2.68";
    QTest::newRow("carry into the integer part") << 9.9996 << "0.000" << "10.000";
    QTest::newRow("carry adds a digit") << 999.99999 << "##0.0##" << "1000.0";
    QTest::newRow("comparison kHz") << 10000.0 << "##00.###" << "10000.";
    QTest::newRow("12.8 MHz in kHz") << 12.8 * 1000 << "##00.###" << "12800.";
    QTest::newRow("10.0005 MHz in kHz") << 10.0005 * 1000 << "##00.###" << "10000.5";
    QTest::newRow("small kHz keeps two digits") << 1.0 << "##00.###" << "01.";
    QTest::newRow("vco") << 2320.25 << "0000.0####" << "2320.25";
    QTest::newRow("vco below 1000") << 773.41667 << "0000.0####" << "0773.41667";
    QTest::newRow("vco zero") << 0.0 << "0000.0####" << "0000.0";
    QTest::newRow("resolution") << 12.5 << "####0.00########" << "12.50";
    QTest::newRow("whole with point") << 35.0 << "###.######" << "35.";
    QTest::newRow("six decimals") << 14.6484375 << "###.######" << "14.648438";
    QTest::newRow("below one without leading zero") << 0.5 << "###.######" << ".5";
    QTest::newRow("hash only zero") << 0.0 << "#######" << "";
    QTest::newRow("hash only whole") << 625.0 << "#######" << "625";
    QTest::newRow("hash only rounds") << 2.5 << "#######" << "3";
    QTest::newRow("error") << -3.7 << "##0.0##" << "-3.7";
    QTest::newRow("error rounds") << 0.0012345 << "##0.0##" << "0.001";
    QTest::newRow("fraction") << 0.025 << "0.########" << "0.025";
    QTest::newRow("fraction zero") << 0.0 << "0.########" << "0.";
    QTest::newRow("fo five decimals") << 2320.25 / 3 << "###00.00###" << "773.41667";
    QTest::newRow("fo two decimals kept") << 1160.0 << "###00.00###" << "1160.00";
    QTest::newRow("step") << 10.0 / 500000 * 1000000 << "####.#####" << "20.";
    QTest::newRow("large whole") << 1e20 << "0.0" << "100000000000000000000.0";
    QTest::newRow("fo six decimals") << 2320.0 << "####.######" << "2320.";
}

void TestConversions::formatPatterns() {
    QFETCH(double, value);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(format(value, pattern.toStdString())), expected);
}

void TestConversions::hexDigits() {
    QCOMPARE(QString::fromStdString(hex(0)), "0");
    QCOMPARE(QString::fromStdString(hex(0xE8)), "E8");
    QCOMPARE(QString::fromStdString(hex(4294967301LL)), "100000005");
    QCOMPARE(QString::fromStdString(hex(-26)), "-1A");
    QCOMPARE(QString::fromStdString(hex(std::numeric_limits<std::int64_t>::min())), "-8000000000000000");
}

void TestConversions::independentOfLocale() {
    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "fr_FR.UTF-8"))
        QSKIP("no locale with a decimal comma installed");
    const std::string formatted = format(2320.25, "0000.0####");
    const std::string text = str(0.5);
    const double read = val("2.5");
    std::setlocale(LC_ALL, saved.c_str());
    QCOMPARE(formatted, std::string("2320.25"));
    QCOMPARE(text, std::string(" .5"));
    QCOMPARE(read, 2.5);
}

QTEST_APPLESS_MAIN(TestConversions)
#include "tst_conversions.moc"
