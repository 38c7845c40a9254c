// Number texts read and written as the window does, and the rules behind its
// controls built on them.

#include <clocale>
#include <limits>

#include "model/conversions.h"
#include "model/hex.h"
#include "model/plan_hints.h"
#include "model/plan_input_rules.h"
#include "model/setting_captions.h"
#include "model_support.h"
#include "window_text/control_help.h"
#include "window_text/window_position.h"

using namespace kelvane;

// "(none)" stands for a value that leaves the label as it is.
static std::string orNone(const std::optional<std::string>& s) {
    return s.value_or("(none)");
}

class TestConversions : public QObject {
    Q_OBJECT
private slots:
    void valReadsTheLeadingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        const std::pair<const char*, double> rows[] = {
            {" 1 2.5", 12.5}, {"\t-\n3", -3}, {"5\r6", 5},  {"2.5x", 2.5},
            {"1.2.3", 1.2},   {"-.5", -0.5},  {"+4", 4},    {"1.5e3", 1500},
            {"25E-1", 2.5},   {"7e", 7},      {"1e999", 0}, {"abc", 0},
            {"", 0},          {"NaN", 0},     {"&H1A", 26}, {"&h0fZ9", 15}};
        for (auto [text, value] : rows)
            QTest::addRow("%s", QByteArray(text).toPercentEncoding(" +-.&").data())
                << QString(text) << value;
    }
    void valReadsTheLeadingNumber() {
        QFETCH(QString, text);
        QTEST(val(text.toStdString()), "expected");
    }

    void numberTexts_data() {
        addTextColumns();
        // str() of a double (15 significant digits) and of a single (strSingle, 7).
        using Row = std::tuple<double, const char*, const char*>;
        const Row numbers[] = {{-0.25, "-.25", "-.25"},
                               {1234.5678, " 1234.5678", " 1234.568"},
                               {1.5e7, " 15000000", " 1.5E+07"},
                               {1e15, " 1E+15", " 1E+15"},
                               {1.5e-7, " 1.5E-07", " 1.5E-07"}};
        for (auto [value, text, single] : numbers) {
            QTest::addRow("str %g", value) << q(str(value)) << QString(text);
            QTest::addRow("strSingle %g", value) << q(strSingle(float(value))) << QString(single);
        }
        textRow("str 15 digits", str(123456789012345), " 123456789012345");
        textRow("strSingle 15 digits", strSingle(123456789012345), " 1.234568E+14");
        textRow("exponent of two digits", strSingle(1e10f), " 1E+10");
        textRow("negative exponent of two digits", str(1e-10), " 1E-10");
    }
    void numberTexts() { checkTexts(); }

    void formatPatterns_data() {
        addTextColumns();
        // format() rounds halves on the decimal text, never on the binary double:
        // 2.675 is stored as 2.67499999999999982236431605997495353221893310546875.
        using Row = std::tuple<double, const char*, const char*>;
        const Row patterns[] = {{0.285, "0.##", "0.29"},
                                {2.675, "0.00", "2.68"},
                                {-2.675, "0.00", "-2.68"},
                                {2.5, "#######", "3"},
                                {9.9996, "0.000", "10.000"},
                                {10000, "##00.###", "10000."},
                                {1, "##00.###", "01."},
                                {773.41667, "0000.0####", "0773.41667"},
                                {0, "0000.0####", "0000.0"},
                                {0.5, "###.######", ".5"},
                                {0.0012345, "##0.0##", "0.001"},
                                {0, "0.########", "0."},
                                {1.5, "0.0#", "1.5"},
                                {2.25, "0.0#", "2.25"},
                                {0.1, "0.00#", "0.10"}};
        for (auto [value, pattern, expected] : patterns)
            QTest::addRow("format %g %s", value, pattern)
                << q(format(value, pattern)) << QString(expected);
    }
    void formatPatterns() { checkTexts(); }

    void strictNumbers_data() {
        addTextColumns();
        // strictNumber() takes the whole text as one number, or nothing.
        auto strict = [](const char* text) {
            const auto value = strictNumber(text);
            return value ? str(*value) : "refused";
        };
        textRow("strict: blanks around", strict("  12.5 "), " 12.5");
        for (const char* text : {"400x", "4 00", "", "-", "1e", "1e999", "nan", "&H10"})
            QTest::addRow("strict: \"%s\"", text) << q(strict(text)) << QString("refused");
    }
    void strictNumbers() { checkTexts(); }

    void hexTexts_data() {
        addTextColumns();
        textRow("hex negative", hexDigits(-26), "-1A");
        textRow("hex beyond 32 bits", hexDigits(4294967301LL), "100000005");
        textRow("hex lowest", hexDigits(std::numeric_limits<std::int64_t>::min()),
                "-8000000000000000");
    }
    void hexTexts() { checkTexts(); }

    void controlRules_data() {
        addTextColumns();
        // The rules behind the window's controls.
        // A partly read text is quoted whole up to 24 characters, cut beyond.
        textRow("24 characters quoted whole", partialNumberHint("1234567890,1234567890123"),
                "\"1234567890,1234567890123\" is read as 1234567890: use a point");
        textRow("25 characters cut", partialNumberHint("1234567890,12345678901234"),
                "\"1234567890,123456789...\" is read as 1234567890: use a point");
        // Each control's tooltip, by its name: inputs from the input table, the rest after.
        auto firstLine = [](std::string_view name) {
            const std::string help(controlHelp(name));
            return help.substr(0, help.find('\n'));
        };
        textRow("input's tooltip", firstLine("Odiv"), "Output divider, 1 to 63.");
        textRow("last input's tooltip", firstLine("CPP"),
                "Charge pump polarity for an external VCO: checked is positive.");
        textRow("display's tooltip", firstLine("Nlabel"),
                "Integer division ratio N (registers 0 and 1).");
        textRow("last tooltip", firstLine("Stop"),
                "Stops after the frequency being sent; the board stays there.");
        textRow("no tooltip", firstLine("Odiv "), "");
        textRow("gain bottom", chargePumpGainCaption(0), " 1");
        textRow("dither last", orNone(ditherCaption(3)), " No Dither");
        textRow("dither beyond the table", orNone(ditherCaption(4)), "(none)");
        textRow("order: two blanks", orderCaption(2), "Order  2");
        textRow("mux first", orNone(muxCaption(0)), "Mux Disabled");
        textRow("mux beyond the table", orNone(muxCaption(14)), "(none)");
        textRow("termination zero", outTermCaption(0), " 0 Out Term");
        textRow("vco gain", vcoGainCaption(15), " 15 VCO Gain");
        textRow("comparison divided by R", comparisonPreviewCaption("12.8", 4), " 3.2");
        textRow("multiplied after the divider", dividedOutputText(2320.25, 1, 2), "4640.50");
        textRow("two digits before the point", dividedOutputText(100, 63, 1), "01.5873");
        // The multiplier keeps the factor in force unless the text reads above 0.
        textRow("fraction as factor", str(multiplierFrom(" .5", 2)), " .5");
        textRow("negative factor keeps", str(multiplierFrom("-3", 2)), " 2");
        // The resolution is never 0, but a negative one is used.
        textRow("zero resolution", str(resolutionFrom("0")), " .01");
        textRow("negative resolution", str(resolutionFrom("-5")), "-5");
    }
    void controlRules() { checkTexts(); }

    void windowPositions_data() {
        addTextColumns();
        // Twips to pixels: rounded, by the screen's resolution, held off every screen.
        textRow("twips round to a pixel", str(pixelsFromTwips(100, 96)), " 7");
        textRow("far beyond any screen", str(pixelsFromTwips(1e30f, 96)), " 1000000");
        textRow("infinite", str(pixelsFromTwips(qInf(), 96)), " 1000000");
        textRow("not a number", str(pixelsFromTwips(qQNaN(), 96)), " 0");
        // A position read and written back unmoved keeps its fraction of a twip.
        textRow("position at 110 dpi",
                twipsText(twipsFromPixels(pixelsFromTwips(storedTwips(" 13.09091"), 110), 110)),
                " 13.09091");
    }
    void windowPositions() { checkTexts(); }

    void independentOfLocale() {
        const std::string saved = std::setlocale(LC_ALL, nullptr);
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "fr_FR.UTF-8"))
            QSKIP("no locale with a decimal comma installed");
        const QStringList texts{q(format(2320.25, "0000.0####")), q(str(0.5)), q(str(val("2.5")))};
        std::setlocale(LC_ALL, saved.c_str());
        QCOMPARE(texts, (QStringList{"2320.25", " .5", " 2.5"}));
    }
};

QTEST_APPLESS_MAIN(TestConversions)
#include "tst_conversions.moc"
