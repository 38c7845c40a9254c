// The WSJT mode table and the quick step's frequency texts.

#include "model/conversions.h"
#include "model_support.h"
#include "modes/quick_step.h"
#include "modes/wsjt_modes.h"

using namespace kelvane;

class TestWsjtModes : public QObject {
    Q_OBJECT
private slots:
    // The selector's value, the mode label and the text written into Res.
    void texts_data() {
        addTextColumns();
        const char* modes[] = {"MFSK Mode 10.",     "JT65A 2.69165",       "JT65B 5.383301",
                               "JT65C 10.766602",   "JT4A 4.375",          "JT4D 35.",
                               "JT4G 315.",         "JT4G /16 19.6875",    "ISCAT-A 21.533203",
                               "ISCAT-B 43.066406", "WSPR 1.464844",       "WSPR * 16 23.4375",
                               "WSPR * 256 375.",   "FSK441 / 16 27.5625", "PI4 234.375",
                               "PI4 / 16 14.648438"};
        auto shown = [](int value) {
            const WsjtModeSelection mode = selectWsjtMode(value);
            return std::to_string(mode.value) + " " + mode.caption + " " + mode.resText;
        };
        for (int value = 0; value <= 15; ++value)
            QTest::addRow("mode %d", value)
                << q(shown(value)) << QString::number(value) + " " + modes[value];
        textRow("below the range", shown(-1), "0 MFSK Mode 10.");
        textRow("above the range", shown(16), "0 MFSK Mode 10.");
        const auto up = StepDirection::up, down = StepDirection::down;
        textRow("carry into the whole MHz", steppedFrequencyText(2329.99999, 10, up), "2330");
        textRow("below zero", steppedFrequencyText(0.00001, 20, down), "-.00001");
    }
    void texts() {
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
};

QTEST_GUILESS_MAIN(TestWsjtModes)
#include "tst_wsjt_modes.moc"
