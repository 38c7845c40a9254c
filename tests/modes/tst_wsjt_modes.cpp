// The WSJT mode table and the quick step's frequency texts.

#include <QtTest>

#include "model/conversions.h"
#include "modes/quick_step.h"
#include "modes/wsjt_modes.h"

using namespace kelvane;

namespace {
QString q(const std::string& s) {
    return QString::fromStdString(s);
}
} // namespace

class TestWsjtModes : public QObject {
    Q_OBJECT
private slots:
    void modeTable_data();
    void modeTable();
    void stepText_data();
    void stepText();
    void tenUpTenDownReturnsExactly_data();
    void tenUpTenDownReturnsExactly();
};

void TestWsjtModes::modeTable_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("resText");
    QTest::addColumn<double>("fres"); // what the resolution box then reads as
    const struct {
        int value;
        const char* caption;
        const char* resText;
        double fres;
    } rows[] = {
        {0, "MFSK Mode", "10.", 10},
        {1, "JT65A", "2.69165", 2.69165},
        {2, "JT65B", "5.383301", 5.383301},
        {3, "JT65C", "10.766602", 10.766602},
        {4, "JT4A", "4.375", 4.375},
        {5, "JT4D", "35.", 35},
        {6, "JT4G", "315.", 315},
        {7, "JT4G /16", "19.6875", 19.6875},
        {8, "ISCAT-A", "21.533203", 21.533203},
        {9, "ISCAT-B", "43.066406", 43.066406},
        {10, "WSPR", "1.464844", 1.464844},
        {11, "WSPR * 16", "23.4375", 23.4375},
        {12, "WSPR * 256", "375.", 375},
        {13, "FSK441 / 16", "27.5625", 27.5625},
        {14, "PI4", "234.375", 234.375},
        {15, "PI4 / 16", "14.648438", 14.648438},
    };
    for (const auto& row : rows)
        QTest::addRow("%d %s", row.value, row.caption)
            << row.value << row.value << row.caption << row.resText << row.fres;
    QTest::newRow("below the range") << -1 << 0 << "MFSK Mode"
                                     << "10." << 10.0;
    QTest::newRow("above the range") << 16 << 0 << "MFSK Mode"
                                     << "10." << 10.0;
}

void TestWsjtModes::modeTable() {
    QFETCH(int, value);
    QFETCH(QString, resText);
    const WsjtModeSelection mode = selectWsjtMode(value);
    QTEST(mode.value, "selected");
    QTEST(q(mode.caption), "caption");
    QCOMPARE(q(mode.resText), resText);
    QCOMPARE(q(resolutionText(mode.step)), resText);
    QTEST(val(mode.resText), "fres");
}

void TestWsjtModes::stepText_data() {
    QTest::addColumn<double>("fout");
    QTest::addColumn<double>("fres");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QString>("text");
    QTest::newRow("up 10 Hz") << 2320.25 << 10.0 << true << "2320.25001";
    QTest::newRow("down 10 Hz") << 2320.25 << 10.0 << false << "2320.24999";
    QTest::newRow("JT65A up, all 15 digits") << 2320.25 << 2.69165 << true << "2320.25000269165";
    QTest::newRow("carry into the whole MHz") << 2329.99999 << 10.0 << true << "2330";
    QTest::newRow("below 1 MHz, no leading zero") << 0.5 << 10.0 << false << ".49999";
    QTest::newRow("below zero") << 0.00001 << 20.0 << false << "-.00001";
}

void TestWsjtModes::stepText() {
    QFETCH(double, fout);
    QFETCH(double, fres);
    QFETCH(bool, up);
    QTEST(q(steppedFrequencyText(fout, fres, up ? StepDirection::up : StepDirection::down)),
          "text");
}

void TestWsjtModes::tenUpTenDownReturnsExactly_data() {
    QTest::addColumn<QString>("foText");
    QTest::addColumn<int>("mode");
    for (const char* fo : {" 2320.25", "1160.12345678", "144.174", "3999.9999987"}) {
        for (int mode = 0; mode <= wsjtModeMax; ++mode)
            QTest::addRow("%s mode %d", fo, mode) << QString(fo) << mode;
    }
}

void TestWsjtModes::tenUpTenDownReturnsExactly() {
    QFETCH(QString, foText);
    QFETCH(int, mode);
    // Fres and Fout as the window reads them back from the boxes' texts.
    const double fres = val(selectWsjtMode(mode).resText);
    const double start = val(foText.toStdString());
    double fout = start;
    for (auto direction : {StepDirection::up, StepDirection::down}) {
        for (int i = 0; i < 10; ++i)
            fout = val(steppedFrequencyText(fout, fres, direction));
        if (direction == StepDirection::up) QVERIFY(fout > start);
    }
    QCOMPARE(fout, start);
}

QTEST_GUILESS_MAIN(TestWsjtModes)
#include "tst_wsjt_modes.moc"
