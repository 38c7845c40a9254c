// The rules behind the main window's controls: setting captions, the output
// text that follows the divider, the factors read from typed texts, and the
// window position in twips. The window tests cover the common values; these
// rows hold the ends of the tables and ranges.

#include "model/conversions.h"
#include "model/plan_input_rules.h"
#include "model/setting_captions.h"
#include "model/window_position.h"
#include "model_support.h"

using namespace kelvane;

// "(none)" stands for a value that leaves the label as it is.
static std::string orNone(const std::optional<std::string>& s) {
    return s.value_or("(none)");
}

class TestControlRules : public QObject {
    Q_OBJECT
private slots:
    void texts_data() {
        addTextColumns();
        textRow("gain bottom", chargePumpGainCaption(0), " 1");
        textRow("dither last", orNone(ditherCaption(3)), " No Dither");
        textRow("dither beyond the table", orNone(ditherCaption(4)), "(none)");
        textRow("order: two blanks", orderCaption(2), "Order  2");
        textRow("mux first", orNone(muxCaption(0)), "Mux Disabled");
        textRow("mux beyond the table", orNone(muxCaption(14)), "(none)");
        textRow("mux below the table", orNone(muxCaption(-1)), "(none)");
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
        // Twips to pixels: rounded, by the screen's resolution, held off every screen.
        textRow("twips round to a pixel", str(pixelsFromTwips(100, 96)), " 7");
        textRow("large fonts", str(pixelsFromTwips(1500, 144)), " 150");
        textRow("far beyond any screen", str(pixelsFromTwips(1e30f, 96)), " 1000000");
        textRow("far to the left", str(pixelsFromTwips(-1e30f, 96)), "-1000000");
        textRow("infinite", str(pixelsFromTwips(qInf(), 96)), " 1000000");
        textRow("not a number", str(pixelsFromTwips(qQNaN(), 96)), " 0");
        // A position read and written back unmoved keeps its fraction of a twip.
        textRow("position at 110 dpi",
                twipsText(twipsFromPixels(pixelsFromTwips(storedTwips(" 13.09091"), 110), 110)),
                " 13.09091");
    }
    void texts() {
        QFETCH(QString, text);
        QTEST(text, "expected");
    }
};

QTEST_APPLESS_MAIN(TestControlRules)
#include "tst_control_rules.moc"
