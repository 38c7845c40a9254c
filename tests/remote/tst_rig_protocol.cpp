// The rig-control line protocol: answers in the shapes the network daemon
// gives (rows taken from exchanges with it, its dummy rig's values replaced
// by the board's), frequency arguments, and the planning of a request.

#include <QtTest>

#include "model/plan_variables.h"
#include "remote/retune_plan.h"
#include "remote/rig_protocol.h"

using namespace kelvane;
using namespace kelvane::remote;

namespace {

const RigState board{1296500000, 950e6, 2000e6, "Kelvane 0.1.0"};

// Every answer to a line, SetFrequency ending with `result`.
QByteArray answers(const QByteArray& line, int result) {
    std::string text;
    for (const Request& request : parseLine(line.toStdString()))
        text += answer(request, board, request.command == Command::SetFrequency ? result : 0);
    return QByteArray::fromStdString(text);
}

Inputs atOdiv(int odiv, bool externalVco = false) {
    Inputs inputs;
    inputs.odiv = odiv;
    inputs.externalVco = externalVco;
    return inputs;
}

} // namespace

class TestRigProtocol : public QObject {
    Q_OBJECT
private slots:
    void answersAsTheDaemon_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("result");
        QTest::addColumn<QByteArray>("expected");
        auto row = [](const char* name, const char* line, const char* expected, int result = 0) {
            QTest::newRow(name) << QByteArray(line) << result << QByteArray(expected);
        };
        row("get_freq", "f", "1296500000\n");
        row("get_freq long", "\\get_freq", "1296500000\n");
        row("get_freq +", "+f", "get_freq:\nFrequency: 1296500000\nRPRT 0\n");
        row("get_freq ;", ";f", "get_freq:;Frequency: 1296500000;RPRT 0\n");
        row("get_freq |", "|\\get_freq", "get_freq:|Frequency: 1296500000|RPRT 0\n");
        row("set_freq as rigctl sends it", "F 1296500000.000000", "RPRT 0\n");
        row("set_freq long", "\\set_freq 1296500000", "RPRT 0\n");
        row("set_freq refused", "F 1296500000", "RPRT -1\n", invalidParameter);
        row("set_freq + echoes the argument", "+F 1296500000.5",
            "set_freq: 1296500000.5\nRPRT 0\n");
        row("set_freq ; refused", ";F abc", "set_freq: abc;RPRT -1\n", invalidParameter);
        row("set_freq without its argument", ",F", "set_freq:,RPRT -1\n", invalidParameter);
        row("get_vfo", "v", "VFOA\n");
        row("get_vfo +", "+v", "get_vfo:\nVFO: VFOA\nRPRT 0\n");
        row("get_split_vfo", "s", "0\nVFOA\n");
        row("get_split_vfo ;", ";\\get_split_vfo", "get_split_vfo:;Split: 0;TX VFO: VFOA;RPRT 0\n");
        row("get_mode", "m", "CW\n0\n");
        row("get_mode +", "+m", "get_mode:\nMode: CW\nPassband: 0\nRPRT 0\n");
        row("chk_vfo", "\\chk_vfo", "0\n");
        row("chk_vfo +", "+\\chk_vfo", "ChkVFO: 0\n");
        row("chk_vfo ;", ";\\chk_vfo", "ChkVFO: 0\n\n");
        row("get_powerstat", "\\get_powerstat", "1\n");
        row("get_powerstat ;", ";\\get_powerstat", "get_powerstat:;Power Status: 1\nRPRT 0\n");
        row("quit", "q", "RPRT 0\n");
        row("quit + ends the line", "+Q f", "RPRT 0\n");
        row("two on a line", "f v", "1296500000\nVFOA\n");
        row("letters run together", "ff", "1296500000\n1296500000\n");
        row("argument run on", "F1296500000f", "RPRT 0\n");
        row("plain then extended", "f;f", "1296500000\nget_freq:;Frequency: 1296500000;RPRT 0\n");
        row("line end CR", "f\r", "1296500000\n");
        row("not implemented", "t", "RPRT -11\n");
        row("unknown ends its line", "M USB 0", "RPRT -11\n");
        row("unknown long name", "+\\get_level STRENGTH", "RPRT -11\n");
        row("after an answered command", "f X", "1296500000\nRPRT -11\n");
        row("blank line", " \t", "");
        row("lone mark", "+", "");
    }
    void answersAsTheDaemon() {
        QFETCH(QByteArray, line);
        QFETCH(int, result);
        QFETCH(QByteArray, expected);
        QCOMPARE(answers(line, result), expected);
    }

    // The description rigctl reads when it opens: the tuning range, and the
    // end marks it looks for.
    void dumpState_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<QByteArray>("end");
        const QByteArray range = "950000000.000000 2000000000.000000 0x2 -1 -1 0x1 0x1\n"
                                 "0 0 0 0 0 0 0\n";
        QTest::newRow("plain") << QByteArray("\\dump_state") << "1\n1\n0\n" + range + range
                               << QByteArray("rigctld_version=Kelvane 0.1.0\ndone\n");
        QTest::newRow("+") << QByteArray("+\\dump_state") << "dump_state:\n1\n1\n0\n" + range
                           << QByteArray("done\nRPRT 0\n");
    }
    void dumpState() {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, start);
        QFETCH(QByteArray, end);
        const QByteArray text = answers(line, 0);
        QVERIFY2(text.startsWith(start), text.constData());
        QVERIFY2(text.endsWith(end), text.constData());
        QCOMPARE(text.count("\n"), start.startsWith("dump") ? 39 : 37);
    }

    void hertz_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected"); // 0: refused
        QTest::newRow("whole") << "1296500000" << 1296500000.0;
        QTest::newRow("as rigctl writes it") << "1296500000.000000" << 1296500000.0;
        QTest::newRow("fraction") << "10368000000.5" << 10368000000.5;
        QTest::newRow("exponent") << "1.2965e9" << 1296500000.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("zero") << "0" << 0.0;
        QTest::newRow("negative") << "-5" << 0.0;
        QTest::newRow("comma") << "12,5" << 0.0;
        QTest::newRow("hexadecimal") << "0x10" << 0.0;
        QTest::newRow("trailing text") << "1296500000Hz" << 0.0;
        QTest::newRow("infinite") << "inf" << 0.0;
        QTest::newRow("not a number") << "nan" << 0.0;
        QTest::newRow("beyond double") << "1e400" << 0.0;
    }
    void hertz() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(readHertz(text.toStdString()).value_or(0), expected);
    }

    void wholeHertzRounds_data() {
        QTest::addColumn<double>("mhz");
        QTest::addColumn<qlonglong>("hertz");
        QTest::newRow("exact") << 1296.5 << 1296500000LL;
        QTest::newRow("up") << 1296.6000005 << 1296600001LL;
        QTest::newRow("down") << 2320.2500004 << 2320250000LL;
        QTest::newRow("beyond 32 bits") << 10368.1 << 10368100000LL;
    }
    void wholeHertzRounds() {
        QFETCH(double, mhz);
        QFETCH(qlonglong, hertz);
        QCOMPARE(wholeHertz(mhz), hertz);
    }

    // A request is refused as a run's frequency is; it goes out whole unless
    // only the frequency words differ from what the board was last sent.
    void retune_data() {
        QTest::addColumn<double>("hertz");
        QTest::addColumn<int>("odiv");
        QTest::addColumn<QString>("boardHas"); // "" nothing sent; else "MHz" or "MHz cpg"
        QTest::addColumn<QString>("expected"); // "all", "quick" or the refusal's start
        QTest::newRow("first") << 1296.5e6 << 2 << ""
                               << "all";
        QTest::newRow("frequency words only") << 1296.5e6 << 2 << "1296.6"
                                              << "quick";
        QTest::newRow("same frequency") << 1296.5e6 << 2 << "1296.5"
                                        << "quick";
        QTest::newRow("another setting sent") << 1296.5e6 << 2 << "1296.6 5"
                                              << "all";
        QTest::newRow("VCO below the chip") << 1296.5e6 << 1 << ""
                                            << "1296.500000 MHz puts the VCO at 1296.5 MHz";
        QTest::newRow("external VCO") << 1296.5e6 << -1 << ""
                                      << "all";
        QTest::newRow("far beyond any plan") << 1e300 << 2 << ""
                                             << "1000000";
    }
    void retune() {
        QFETCH(double, hertz);
        QFETCH(int, odiv); // -1: 1 with an external VCO
        const Inputs inputs = atOdiv(std::abs(odiv), odiv < 0);
        QFETCH(QString, boardHas);
        QFETCH(QString, expected);
        std::optional<RegisterImage> sent;
        if (!boardHas.isEmpty()) {
            Inputs before = inputs;
            if (boardHas.contains(' ')) before.cpg = boardHas.section(' ', 1).toInt();
            const auto planned = planRetune(boardHas.section(' ', 0, 0).toDouble() * 1e6, before,
                                            planVariablesFrom(before), std::nullopt);
            sent = std::get<Retune>(planned).step.registers;
        }
        const auto planned = planRetune(hertz, inputs, planVariablesFrom(inputs), sent);
        if (const auto* refusal = std::get_if<RunRefusal>(&planned)) {
            QVERIFY2(QString::fromStdString(refusal->line).startsWith(expected),
                     refusal->line.c_str());
            return;
        }
        const Retune& retune = std::get<Retune>(planned);
        QCOMPARE(retune.allRegisters ? "all" : "quick", expected);
        QCOMPARE(retune.step.mhz, hertz / 1e6);
    }

    void tuningRangeFollowsDividerAndMultiplier() {
        Inputs inputs = atOdiv(2);
        PlanVariables variables = planVariablesFrom(inputs);
        variables.rfMult = 4;
        const TuningRange range = tuningRange(inputs, variables);
        QCOMPARE(range.lowestHertz, 3800e6);
        QCOMPARE(range.highestHertz, 8000e6);
    }
};

QTEST_APPLESS_MAIN(TestRigProtocol)
#include "tst_rig_protocol.moc"
