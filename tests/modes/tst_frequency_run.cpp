// Sweeps and hop lists: which frequencies a run visits, and which runs are
// refused before anything is sent.

#include "model/conversions.h"
#include "model/hex.h"
#include "model_support.h"
#include "modes/frequency_run.h"

using namespace kelvane;

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

class TestFrequencyRun : public QObject {
    Q_OBJECT
private slots:
    void sweep_data() {
        QTest::addColumn<double>("from");
        QTest::addColumn<double>("to");
        QTest::addColumn<double>("step");
        QTest::addColumn<QString>("expected");
        const QString up4 = "2320.000000 MHz, 2320.100000 MHz, 2320.200000 MHz, 2320.300000 MHz";
        QTest::newRow("up, end included") << 2320.0 << 2320.3 << 0.1 << up4;
        QTest::newRow("end a millionth of a step short") << 2320.0 << 2320.29999999 << 0.1 << up4;
        QTest::newRow("end between steps") << 2320.0 << 2320.35 << 0.1 << up4;
        QTest::newRow("end a ten-thousandth of a step short")
            << 2320.0 << 2320.29999 << 0.1 << "2320.000000 MHz, 2320.100000 MHz, 2320.200000 MHz";
        QTest::newRow("down") << 1296.2 << 1296.0 << -0.1
                              << "1296.200000 MHz, 1296.100000 MHz, 1296.000000 MHz";
        QTest::newRow("one frequency") << 2320.0 << 2320.0 << -1.0 << "2320.000000 MHz";
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
        QTest::newRow("zero") << "0\n"
                              << "Line 1 of the list, \"0\", is no output frequency in "
                                 "MHz above 0";
        QTest::newRow("only comments") << "# nothing yet\n"
                                       << "The list holds no frequency";
    }
    void hopList() {
        QFETCH(QString, list);
        QTEST(listed(hopFrequencies(list.toStdString())), "expected");
    }

    // The three frequency words of each step (Reg2 Reg1 Reg0) or the refusal;
    // Reg2 stays, since only the frequency changes.
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
            << QList<double>{1800} << true << "1800. 04F42402 00000011 00000B40";
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

QTEST_APPLESS_MAIN(TestFrequencyRun)
#include "tst_frequency_run.moc"
