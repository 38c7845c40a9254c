// What the board tools conclude: the verdict on a stored set against the plan,
// and the corrected reference from a measured output.

#include "model/calibration.h"
#include "model/eeprom_verify.h"
#include "model/hex.h"
#include "model_support.h"

using namespace kelvane;

namespace {

// The board's answer for the start-up words, with some words replaced (by 8
// hexadecimal digits) or left out (by an empty text).
std::string answerWith(std::map<int, std::string> changed) {
    std::string text = "init\r\n";
    for (int address : transferOrder) {
        const auto it = changed.find(address);
        const std::string h =
            it == changed.end() ? hexWord(recalculated().registers[address]) : it->second;
        if (!h.empty())
            text += "0x" + h.substr(0, 2) + ' ' + h.substr(2, 2) + ' ' + h.substr(4, 2) + ' ' +
                    h.substr(6) + "\r\n";
    }
    return text;
}

} // namespace

class TestBoardTools : public QObject {
    Q_OBJECT
private slots:
    void verdict_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("expected");
        QTest::newRow("same set") << q(answerWith({})) << "EEPROM matches the plan: 12 of 12 words";
        QTest::newRow("a bit and a missing word")
            << q(answerWith({{3, "00A87313"}, {0, ""}}))
            << "EEPROM differs from the plan: Reg3 stored 00A87313, plan 00A87303; Reg0 not stored";
        QTest::newRow("top bit, in transfer order")
            << q(answerWith({{0, "E1A80E80"}, {4, "7F4810A4"}, {13, ""}}))
            << "EEPROM differs from the plan: Reg13 not stored; Reg4 stored 7F4810A4, plan "
               "FF4810A4; Reg0 stored E1A80E80, plan 61A80E80";
        QTest::newRow("lower-case digits, addresses beyond the set")
            << q(answerWith({{2, "04f42402"}}) + "0x00 00 00 0A\r\n0x00 00 00 1F\r\n")
            << "EEPROM matches the plan: 12 of 12 words";
        QTest::newRow("silent board") << ""
                                      << "Verify EE: no answer from the board";
        QTest::newRow("no entry") << "ERR bad line\r\n0X00 00 00 17\r\n"
                                  << "Verify EE: the board's answer holds no register entry";
    }
    void verdict() {
        QFETCH(QString, answer);
        const auto outcome = verifyAnswer(answer.toStdString(), recalculated().registers);
        const auto* refusal = std::get_if<VerifyRefusal>(&outcome);
        QTEST(q(refusal ? refusal->line : verdictLine(std::get<EepromComparison>(outcome))),
              "expected");
    }

    // The report's values without their captions (achieved and measured
    // output; the reference's error in ppm and Hz; the corrected reference),
    // or the refusal.
    void calibration_data() {
        QTest::addColumn<Inputs>("controls");
        QTest::addColumn<QString>("measured");
        QTest::addColumn<QString>("expected");
        const Inputs startUp;
        QTest::newRow("on frequency") << startUp << "2320.25"
                                      << "2320.25 MHz; 2320.25 MHz; 0.000 ppm, 0.000 Hz; 10 MHz";
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
        QTest::newRow("after divider and multiplier")
            << Inputs{.fo = "4640.5", .rfMult = "4", .odiv = 2} << "4640.5046405"
            << "4640.5 MHz; 4640.5046405 MHz; 1.000 ppm, 10.000 Hz; 10.00001 MHz";
        QTest::newRow("multiplied, 1 ppm low")
            << Inputs{.fo = "9281", .fr = "20", .rfMult = "4"} << "9280.990719"
            << "9281 MHz; 9280.990719 MHz; -1.000 ppm, -20.000 Hz; 19.99998 MHz";
        const QString reading = "--measured must be a number above 0, for example 2320.250012 (the "
                                "output frequency the counter shows, MHz)";
        QTest::newRow("no number") << startUp << "abc" << reading;
        QTest::newRow("zero") << startUp << " 0" << reading;
        QTest::newRow("negative") << startUp << "-2320.25" << reading;
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
};

QTEST_APPLESS_MAIN(TestBoardTools)
#include "tst_board_tools.moc"
