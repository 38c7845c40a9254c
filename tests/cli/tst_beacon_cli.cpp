// kelvanectl beacon as a user runs it; a keying run on kelvane-board-sim, whose
// log says what the board would transmit.

#include <QtTest>
#include <algorithm>
#include <csignal>
#include <unistd.h>

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out, err;
};

Run kelvanectl(const QStringList& arguments) {
    QProcess process;
    process.start(KELVANECTL_PATH, QStringList{"beacon"} + arguments);
    if (!process.waitForFinished(60000)) qFatal("kelvanectl did not finish");
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

// A register line the board took: when its piece arrived and what the board then puts out.
struct Loaded {
    double t;
    QString line;
    double outputHz;
};

class Board {
public:
    Board() {
        process_.start(BOARD_SIM_PATH, {"--log", dir_.filePath("log"), "--reference", "10"});
        if (!process_.waitForReadyRead(5000)) qFatal("the board printed no device");
        device = QString::fromUtf8(process_.readLine()).trimmed();
    }
    ~Board() {
        process_.terminate();
        process_.waitForFinished(5000);
    }
    std::vector<Loaded> loaded() const {
        QFile log(dir_.filePath("log"));
        std::vector<Loaded> result;
        if (log.open(QIODevice::ReadOnly))
            for (const QByteArray& line : log.readAll().split('\n'))
                if (const auto entry = QJsonDocument::fromJson(line); entry["outputHz"].isDouble())
                    result.push_back({entry["t"].toDouble(), entry["data"].toString().trimmed(),
                                      entry["outputHz"].toDouble()});
        return result;
    }
    QString device;

private:
    QTemporaryDir dir_;
    QProcess process_;
};

const QStringList pi4{"--mode", "pi4", "--message", "OZ7IGY"};

} // namespace

class TestBeaconCli : public QObject {
    Q_OBJECT
private slots:
    // Exit code, and the start of stdout or of the one stderr line.
    void commands_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("output");
        auto row = [](const char* name, const QStringList& arguments, int exitCode,
                      const QByteArray& output) {
            QTest::newRow(name) << arguments << exitCode << output;
        };
        row("symbols", QStringList{"symbols"} + pi4, 0, "2 0 1 0 0 3 3 3 3 2 3 2 1 2 1 2 0 3");
        row("symbols JSON",
            {"symbols", "--mode", "jt4", "--jt4-submode", "g", "--message", "OZ7IGY JO55",
             "--json"},
            0, "{\"message\":\"OZ7IGY JO55\",\"mode\":\"jt4\",\"symbolSeconds\":0.228571428");
        row("symbols of CW", {"symbols", "--mode", "cw", "--message", "E"}, 2,
            "kelvanectl: --mode must be pi4, jt4 or wspr");
        row("plan", QStringList{"plan"} + pi4, 0,
            "Carrier 2320250000.000 Hz for 2320250000.000 Hz; N = 232, F = ");
        row("export C", {"export", "--format", "c", "--mode", "wspr", "--message", "K1ABC FN42 37"},
            0, "// Beacon keying set: carrier 2320250000.000 Hz");
        row("export PIC", {"export", "--mode", "jt4", "--message", "OZ7IGY JO55"}, 0,
            "; Beacon keying set: carrier 2320250000.000 Hz");
        row("WSPR power", {"plan", "--mode", "wspr", "--message", "K1ABC FN42 38"}, 2,
            "kelvanectl: Element 1 (WSPR): WSPR power: \"38\"; the power is 0 to 60 dBm ending "
            "in 0, 3 or 7\n");
        row("CW too fast", {"export", "--mode", "cw", "--message", "OZ7IGY", "--wpm", "20"}, 2,
            "kelvanectl: Element 1 (CW): 20.000 WPM gives a dot shorter than a line and its pause");
        row("tones across N", QStringList{"plan", "--fo", "2329.9995"} + pi4, 2,
            "kelvanectl: Tones: they lie on both sides of a whole multiple");
        row("preset without locator", {"plan", "--preset", "mixed", "--call", "OZ7IGY"}, 2,
            "kelvanectl: --preset mixed needs --call and --locator\n");
        row("no sequence", {"plan"}, 2, "kelvanectl: give --mode and --message, --preset mixed");
        row("refused before the port",
            QStringList{"run", "--port", "/dev/null", "--wpm", "0"} + pi4, 2, "kelvanectl: --wpm");
        row("no action", {}, 2, "kelvanectl: beacon needs an action");
    }
    void commands() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, output);
        const Run run = kelvanectl(arguments);
        QCOMPARE(run.exitCode, exitCode);
        const QByteArray& shown = exitCode == 0 ? run.out : run.err;
        QVERIFY2(shown.startsWith(output), shown.constData());
        if (exitCode != 0) QCOMPARE(run.err.count('\n'), 1);
    }

    // Each element's tones as data lines of 16, the last line holding the rest.
    void exportRowsOfSixteen() {
        const Run run = kelvanectl({"export", "--mode", "pi4", "--message", "OZ7IGY"});
        QCOMPARE(run.exitCode, 0);
        const QByteArray element = run.out.mid(run.out.indexOf("; Element 1"));
        QCOMPARE(element.count("   de  "), 10); // 146 symbols
        QVERIFY2(element.endsWith("\n   de  2, 2\n"), element.right(80).constData());
    }

    // The tone table's JSON names every tone and gives the keying set by address.
    void planJson() {
        const Run run = kelvanectl(
            {"plan", "--preset", "mixed", "--call", "OZ7IGY", "--locator", "JO55WM", "--json"});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject plan = QJsonDocument::fromJson(run.out).object();
        QStringList names;
        for (const auto& value : plan["tones"].toArray()) {
            const QJsonObject tone = value.toObject();
            names << tone["name"].toString();
            QCOMPARE(tone["reg2"].toString().size(), 8);
            QVERIFY(std::fabs(tone["achievedOffsetHz"].toDouble() - tone["offsetHz"].toDouble() -
                              tone["errorHz"].toDouble()) < 1e-6 ||
                    tone["name"] == "carrier");
        }
        QCOMPARE(names, (QStringList{"carrier", "PI4 0", "PI4 1", "PI4 2", "PI4 3", "CW key-up"}));
        QCOMPARE(plan["registers"].toObject().keys().size(), 12);
        QCOMPARE(plan["registers"]["2"], plan["tones"][0]["reg2"]);
        QVERIFY(std::fabs(plan["carrierHz"].toDouble() - plan["wantedHz"].toDouble()) <= 1);
    }

    // A setup's "beacon" object is the sequence when no sequence option is given.
    void setupBeacon() {
        QTemporaryDir dir;
        QFile file(dir.filePath("b.kelvane"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(R"({"format": "kelvane-setup", "version": 1, "inputs": {"fo": "1296.1"},
            "beacon": {"period": 120, "elements": [{"mode": "wspr", "message": "K1ABC FN42 37", "start": 1}]}})");
        file.close();
        const Run run = kelvanectl({"plan", "--setup", file.fileName(), "--json"});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject plan = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(plan["wantedHz"].toDouble(), 1296.1e6);
        QCOMPARE(plan["tones"][4]["name"].toString(), "WSPR 3");
    }

    // The Update, then one Reg2 line a symbol at the carrier plus the symbol's
    // offset, 1/6 s apart, then back to the carrier.
    void pi4RunKeysEverySymbol() {
        const QJsonObject plan =
            QJsonDocument::fromJson(kelvanectl(QStringList{"plan", "--json"} + pi4).out).object();
        QStringList symbols =
            QString(kelvanectl(QStringList{"symbols"} + pi4).out).trimmed().split(' ');
        QCOMPARE(symbols.size(), 146);

        Board board;
        const Run run =
            kelvanectl(QStringList{"run", "--port", board.device, "--start", "now"} + pi4);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d PI4 OZ7IGY\n$")
                     .match(QString(run.out))
                     .hasMatch(),
                 run.out.constData());
        const auto loaded = board.loaded();
        QCOMPARE(int(loaded.size()), 12 + 146 + 1);
        const QJsonObject registers = plan["registers"].toObject();
        for (int i = 0; i < 12; ++i)
            QCOMPARE(loaded[i].line.mid(1),
                     registers[QString::number(QList{7, 13, 12, 9, 8, 6, 5, 4, 3, 2, 1, 0}[i])]
                         .toString());
        const double carrierHz = plan["carrierHz"].toDouble();
        for (int k = 0; k < 146; ++k) {
            const QJsonValue tone = plan["tones"][1 + symbols[k].toInt()];
            const auto& line = loaded[12 + std::size_t(k)];
            QCOMPARE(line.line, "R" + tone["reg2"].toString());
            QVERIFY2(std::fabs(line.outputHz - carrierHz - tone["offsetHz"].toDouble()) < 0.5,
                     qPrintable(QString("symbol %1").arg(k)));
        }
        QVERIFY(std::fabs(loaded.back().outputHz - carrierHz) < 1e-3);
        // Each symbol's line comes about 1/6 s after the one before; loose
        // bounds, the schedule itself is measured by the keying bench.
        std::vector<double> gaps;
        for (std::size_t i = 13; i < loaded.size(); ++i)
            gaps.push_back(loaded[i].t - loaded[i - 1].t);
        std::sort(gaps.begin(), gaps.end());
        QVERIFY2(std::fabs(gaps[gaps.size() / 2] - 1.0 / 6) < 0.02,
                 qPrintable(QString::number(gaps[gaps.size() / 2])));
        QVERIFY(gaps.front() > 0.0626);
        QVERIFY(std::fabs(loaded.back().t - loaded[12].t - 146.0 / 6) < 1);
    }

    // Ctrl-C, a kill or a closed terminal ends the run after the line on the wire
    // and puts the board back on the carrier, once.
    void signalsLeaveTheCarrier_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("Ctrl-C") << int(SIGINT);
        QTest::newRow("kill") << int(SIGTERM);
        QTest::newRow("terminal closed") << int(SIGHUP);
    }
    void signalsLeaveTheCarrier() {
        QFETCH(int, signal);
        Board board;
        QProcess run;
        run.start(KELVANECTL_PATH, QStringList{"beacon", "run", "--port", board.device, "--start",
                                               "now", "--forever"} +
                                       pi4);
        QVERIFY(run.waitForReadyRead(10000)); // the element's start is printed
        QTest::qWait(500);
        ::kill(static_cast<pid_t>(run.processId()), signal);
        QVERIFY(run.waitForFinished(5000));
        QCOMPARE(run.exitCode(), 128 + signal);
        QCOMPARE(run.readAllStandardError(), "kelvanectl: stopped; the board is on the carrier\n");
        const auto loaded = board.loaded();
        QVERIFY(loaded.size() > 13 && loaded.size() < 12 + 146);
        QCOMPARE(loaded.back().line, loaded[9].line); // Reg2 of the Update: the carrier
        QVERIFY(loaded[loaded.size() - 2].line != loaded.back().line); // a PI4 tone before it
    }
};

QTEST_GUILESS_MAIN(TestBeaconCli)
#include "tst_beacon_cli.moc"
