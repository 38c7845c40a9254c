// The rig-control line protocol: answers in the shapes the network daemon
// gives (rows taken from exchanges with it, its dummy rig's values replaced
// by the board's), frequency arguments, and the planning of a request.

#include <QtTest>

#include "remote/retune_plan.h"
#include "remote/rig_protocol.h"

using namespace kelvane;
using namespace kelvane::remote;

namespace {

// Every answer to a line, SetFrequency ending with `result`.
QByteArray answers(const QByteArray& line, int result = 0) {
    const RigState board{1296500000, 950e6, 2000e6, "Kelvane 0.1.0"};
    std::string text;
    for (const Request& request : parseLine(line.toStdString()))
        text += answer(request, board, request.command == Command::SetFrequency ? result : 0);
    return QByteArray::fromStdString(text);
}

} // namespace

class TestRigProtocol : public QObject {
    Q_OBJECT
private slots:
    void answersAsTheDaemon_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("result");
        QTest::addColumn<QByteArray>("expected");
        auto row = [](const char* line, const char* expected, int result = 0) {
            QTest::newRow(line) << QByteArray(line) << result << QByteArray(expected);
        };
        row("f", "1296500000\n");
        row("+f", "get_freq:\nFrequency: 1296500000\nRPRT 0\n");
        row("|\\get_freq", "get_freq:|Frequency: 1296500000|RPRT 0\n");
        row("F 1296500000.000000", "RPRT 0\n");
        row("\\set_freq 1296500000", "RPRT -1\n", invalidParameter);
        row("+F 1296500000.5", "set_freq: 1296500000.5\nRPRT 0\n");
        row(";F abc", "set_freq: abc;RPRT -1\n", invalidParameter);
        row(",F", "set_freq:,RPRT -1\n", invalidParameter);
        row("v", "VFOA\n");
        row("+v", "get_vfo:\nVFO: VFOA\nRPRT 0\n");
        row("s", "0\nVFOA\n");
        row(";\\get_split_vfo", "get_split_vfo:;Split: 0;TX VFO: VFOA;RPRT 0\n");
        row("+m", "get_mode:\nMode: CW\nPassband: 0\nRPRT 0\n");
        row("\\chk_vfo", "0\n");
        row("+\\chk_vfo", "ChkVFO: 0\n");
        row(";\\chk_vfo", "ChkVFO: 0\n\n");
        row("\\get_powerstat", "1\n");
        row(";\\get_powerstat", "get_powerstat:;Power Status: 1\nRPRT 0\n");
        row("+Q f", "RPRT 0\n");
        row("f v", "1296500000\nVFOA\n");
        row("F1296500000 f", "RPRT 0\n1296500000\n");
        row("f;f\r", "1296500000\nget_freq:;Frequency: 1296500000;RPRT 0\n");
        row("M USB 0", "RPRT -11\n");
        row("f +\\get_level STRENGTH", "1296500000\nRPRT -11\n");
        row(" \t+", "");
    }
    void answersAsTheDaemon() {
        QFETCH(QByteArray, line);
        QFETCH(int, result);
        QFETCH(QByteArray, expected);
        QCOMPARE(answers(line, result), expected);
    }

    // The description rigctl reads when it opens, and the end marks it looks for.
    void dumpState() {
        const QByteArray range = "950000000.000000 2000000000.000000 0x2 -1 -1 0x1 0x1\n"
                                 "0 0 0 0 0 0 0\n";
        const QByteArray plain = answers("\\dump_state");
        QVERIFY(
            plain.startsWith("1\n1\n0\n" + range + range + "0x2 1\n0 0\n0 0\n0\n0\n0\n0\n\n\n"));
        QVERIFY(plain.endsWith("rigctld_version=Kelvane 0.1.0\ndone\n"));
        QCOMPARE(answers("+\\dump_state"), "dump_state:\n" + plain + "RPRT 0\n");
    }

    void hertz_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected"); // 0: refused
        for (auto [text, hertz] : {std::pair{"1296500000.000000", 1296500000.0},
                                   {"10368000000.5", 10368000000.5},
                                   {"1.2965e9", 1296500000.0},
                                   {"", 0.0},
                                   {"0", 0.0},
                                   {"-5", 0.0},
                                   {"12,5", 0.0},
                                   {"0x10", 0.0},
                                   {"inf", 0.0},
                                   {"nan", 0.0},
                                   {"1e400", 0.0}})
            QTest::newRow(text) << text << hertz;
    }
    void hertz() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(readHertz(text.toStdString()).value_or(0), expected);
    }

    // Refused as a run's frequency is; sent whole unless only the frequency
    // words differ from what the board was last sent.
    void retune_data() {
        QTest::addColumn<double>("mhz");
        QTest::addColumn<int>("odiv");         // -1: 1 with an external VCO
        QTest::addColumn<QString>("boardHas"); // "" nothing; "MHz" or "MHz cpg"
        QTest::addColumn<QString>("expected"); // "all", "quick" or the refusal's start
        QTest::newRow("first") << 1296.5 << 2 << ""
                               << "all";
        QTest::newRow("frequency words only") << 1296.5 << 2 << "1200"
                                              << "quick";
        QTest::newRow("another setting sent") << 1296.5 << 2 << "1296.6 5"
                                              << "all";
        QTest::newRow("VCO below the chip") << 1296.5 << 1 << ""
                                            << "1296.500000 MHz puts the VCO at 1296.5 MHz";
        QTest::newRow("external VCO") << 1296.5 << -1 << ""
                                      << "all";
        QTest::newRow("far beyond any plan") << 1e294 << 2 << ""
                                             << "1000000";
    }
    void retune() {
        QFETCH(double, mhz);
        QFETCH(int, odiv);
        QFETCH(QString, boardHas);
        QFETCH(QString, expected);
        Inputs inputs;
        inputs.odiv = std::abs(odiv);
        inputs.externalVco = odiv < 0;
        std::optional<RegisterImage> sent;
        if (!boardHas.isEmpty()) {
            Inputs before = inputs;
            before.cpg = boardHas.contains(' ') ? boardHas.section(' ', 1).toInt() : inputs.cpg;
            sent = std::get<Retune>(planRetune(boardHas.section(' ', 0, 0).toDouble() * 1e6, before,
                                               planVariablesFrom(before), std::nullopt))
                       .step.registers;
        }
        const auto planned = planRetune(mhz * 1e6, inputs, planVariablesFrom(inputs), sent);
        const auto* refusal = std::get_if<RunRefusal>(&planned);
        const QString outcome = refusal ? QString::fromStdString(refusal->line)
                                : std::get<Retune>(planned).allRegisters ? "all"
                                                                         : "quick";
        QVERIFY2(outcome.startsWith(expected), qPrintable(outcome));
    }
};

QTEST_APPLESS_MAIN(TestRigProtocol)
#include "tst_rig_protocol.moc"
