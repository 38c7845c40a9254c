// Beacon keying: the encoders against reference symbols, the sequence's
// timetable and the tone table's tolerances and refusals.

#include <QTest>

#include "model/hex.h"
#include "modes/beacon_tones.h"

using namespace kelvane;
using namespace kelvane::beacon;

Q_DECLARE_METATYPE(Sequence)
Q_DECLARE_METATYPE(Inputs)

namespace {

QString joined(const Symbols& symbols) {
    QStringList digits;
    for (int s : symbols)
        digits << QString::number(s);
    return digits.join(' ');
}

QString encoded(const QString& mode, const QString& message) {
    const std::string text = message.toStdString();
    const Encoded result = mode == "pi4"   ? encodePi4(text)
                           : mode == "jt4" ? encodeJt4(text)
                                           : encodeWspr(text);
    if (const auto* refusal = std::get_if<EncodeRefusal>(&result))
        return QString::fromStdString(refusal->line);
    return joined(std::get<Symbols>(result));
}

const char* const oz7igyPi4 =
    "2 0 1 0 0 3 3 3 3 2 3 2 1 2 1 2 0 3 2 2 0 3 2 2 0 1 1 0 0 1 3 1 3 0 2 1 1 3 3 1 2 0 1 3 2 1 3 "
    "3 3 2 1 2 3 1 2 1 1 0 3 2 0 2 0 0 1 3 3 1 3 2 3 2 3 0 2 0 0 2 1 3 3 3 1 2 3 0 0 3 0 2 3 2 1 0 "
    "2 0 2 1 0 0 1 1 0 2 0 2 2 3 3 2 2 2 2 3 1 0 0 1 3 3 0 1 3 1 2 1 3 0 3 0 3 0 1 2 2 0 2 3 1 3 2 "
    "0 0 2 1 1";

std::variant<Timetable, SequenceRefusal> laidOut(const Sequence& sequence) {
    return layOut(sequence, 0.0626);
}

QString refusalOf(const std::variant<Timetable, SequenceRefusal>& outcome) {
    const auto* refusal = std::get_if<SequenceRefusal>(&outcome);
    return refusal ? QString::fromStdString(refusal->line) : QString();
}

} // namespace

class TestBeacon : public QObject {
    Q_OBJECT
private slots:
    void symbols_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("symbols");
        struct Row {
            const char* mode;
            const char* message;
            const char* symbols;
        };
        const Row rows[] = {
            {"pi4", "OZ7IGY", oz7igyPi4},
            {"pi4", "oz7igy", oz7igyPi4},
            {"wspr", "G4JNT IO90 30",
             "3 3 2 2 0 0 0 0 1 2 2 2 3 3 3 0 2 2 1 0 0 1 2 1 1 3 3 2 2 0 2 0 0 0 3 0 0 1 2 1 0 0 "
             "0 0 2 0 1 2 1 1 2 0 3 3 0 3 0 2 0 1 1 2 1 0 2 0 2 1 3 0 1 0 3 0 1 0 1 2 0 3 2 0 1 0 "
             "1 1 0 2 2 1 1 2 3 0 1 2 2 2 3 2 0 0 0 2 3 2 0 1 0 0 1 1 1 2 1 1 2 0 3 1 2 3 0 0 0 3 "
             "3 1 2 2 2 2 0 1 2 1 2 0 3 1 0 0 2 2 2 2 2 1 3 0 1 2 1 3 2 0 0 3 1 2 2 2"},
            {"wspr", "PA0ABC JO22 0",
             "3 3 0 0 0 0 0 0 3 2 0 2 1 3 3 0 0 2 1 0 0 1 0 3 1 3 1 2 2 0 0 0 2 0 3 2 0 3 0 1 0 2 "
             "0 2 0 0 1 0 1 1 2 0 3 1 2 1 0 0 0 1 3 2 1 0 0 2 2 3 3 2 3 0 3 0 3 2 1 2 2 1 0 0 3 0 "
             "1 1 0 2 0 1 1 2 3 2 1 0 0 2 3 0 0 0 0 2 3 0 0 1 2 2 3 1 1 0 1 1 0 0 1 1 2 3 2 0 0 1 "
             "3 1 2 2 0 2 0 3 0 3 2 2 3 1 2 2 0 0 2 2 0 1 3 0 1 2 3 1 2 2 0 1 3 0 2 2"},
            {"jt4", "GB3VHF JO01",
             "0 2 2 3 1 0 0 2 1 3 0 3 3 2 0 1 0 3 2 2 0 2 0 2 0 3 1 0 2 2 0 0 2 0 2 0 0 0 2 1 0 3 "
             "1 0 3 3 0 3 2 3 3 1 3 1 2 3 2 2 2 3 2 2 1 0 2 1 1 3 3 3 0 2 2 3 2 3 2 0 0 3 3 3 1 2 "
             "3 3 0 0 3 0 2 0 1 1 2 1 0 1 2 1 0 1 2 1 3 1 3 1 0 1 2 1 2 1 1 2 1 2 1 2 1 1 1 0 2 3 "
             "0 1 1 0 1 3 3 1 0 2 2 2 1 1 2 3 3 0 0 2 1 1 3 0 3 1 3 2 3 3 3 2 0 1 0 2 0 3 1 2 3 1 "
             "2 0 1 0 0 2 1 1 1 3 3 3 2 0 3 3 2 2 0 0 1 1 0 0 2 1 0 1 3 0 3 3 1 3 2 1 0 1"},
            {"jt4", "DB0XYZ/B",
             "0 2 0 1 1 2 0 2 3 3 2 1 1 0 2 3 2 3 2 2 0 2 0 2 0 1 3 0 0 2 2 2 0 2 0 0 2 0 0 1 0 3 "
             "1 0 1 3 2 3 0 3 1 3 1 3 0 3 0 0 2 1 0 2 3 0 2 1 3 1 3 1 0 0 2 1 2 1 0 0 0 3 3 1 3 0 "
             "1 1 2 2 1 2 0 2 1 3 2 1 0 1 2 1 0 1 0 1 3 3 3 1 2 3 2 1 2 3 1 0 3 2 3 2 1 3 3 0 2 3 "
             "2 1 1 0 1 1 3 1 2 2 2 0 3 3 0 3 3 0 2 0 3 3 1 0 1 3 3 2 3 3 3 2 2 3 2 2 2 3 1 0 3 1 "
             "0 0 3 2 0 2 3 1 1 3 3 1 0 2 1 1 2 2 2 2 3 1 0 0 2 1 2 1 3 0 1 1 1 3 0 3 0 3"},
        };
        for (const auto& row : rows)
            QTest::newRow(row.message) << row.mode << row.message << row.symbols;
    }
    // Every symbol, against the worked example and the reference encoders.
    void symbols() {
        QFETCH(QString, mode);
        QFETCH(QString, message);
        QFETCH(QString, symbols);
        QCOMPARE(encoded(mode, message), symbols);
    }

    void refusals_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("start");
        const char* rows[][3] = {
            {"pi4", "OZ7IGYABC", "PI4 message: 9 characters"},
            {"pi4", "OZ7IGY-1", "PI4 message: \"-\" is not allowed"},
            {"pi4", "", "PI4 message: 0 characters"},
            {"jt4", "OZ7IGY JO55WM1", "JT4 message: 14 characters"},
            {"jt4", "OZ7IGY*", "JT4 message: \"*\" is not allowed"},
            {"wspr", "K1ABC FN4 37", "WSPR grid: \"FN4\""},
            {"wspr", "K1ABC SN42 37", "WSPR grid: \"SN42\""},
            {"wspr", "K1ABC FN42 38", "WSPR power: \"38\""},
            {"wspr", "K1ABC FN42 63", "WSPR power: \"63\""},
            {"wspr", "K1ABC FN42", "WSPR message: give three fields"},
            {"wspr", "KA1ABCD FN42 37", "WSPR call: \"KA1ABCD\""},
            {"wspr", "KAB1C FN42 37", "WSPR call: \"KAB1C\""},
            {"wspr", "K1AB2 FN42 37", "WSPR call: \"2\" is not allowed"},
        };
        for (const auto& row : rows)
            QTest::addRow("%s %s", row[0], row[1]) << row[0] << row[1] << row[2];
    }
    void refusals() {
        QFETCH(QString, mode);
        QFETCH(QString, message);
        QFETCH(QString, start);
        const QString line = encoded(mode, message);
        QVERIFY2(line.startsWith(start), qPrintable(line));
    }

    // Key spans in dots: E, I, a word gap, T; "/" and "=" signs.
    void cwKeying_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("spans");
        QTest::newRow("letters") << "EI"
                                 << "d1 u3 d1 u1 d1";
        QTest::newRow("word gap, blanks collapsed") << " E  T "
                                                    << "d1 u7 d3";
        QTest::newRow("slash") << "/"
                               << "d3 u1 d1 u1 d1 u1 d3 u1 d1";
        QTest::newRow("equals lower case") << "=a"
                                           << "d3 u1 d1 u1 d1 u1 d1 u1 d3 u3 d1 u1 d3";
        QTest::newRow("refused") << "E!"
                                 << "CW message: \"!\" is not allowed";
    }
    void cwKeying() {
        QFETCH(QString, text);
        QFETCH(QString, spans);
        const auto keying = encodeCw(text.toStdString());
        QString shown;
        if (const auto* refusal = std::get_if<EncodeRefusal>(&keying))
            shown = QString::fromStdString(refusal->line).left(spans.size());
        else
            for (const auto& span : std::get<std::vector<KeySpan>>(keying))
                shown += QString("%1%2 ").arg(span.down ? 'd' : 'u').arg(span.dots);
        QCOMPARE(shown.trimmed(), spans);
    }

    // Lines of a sequence and the refusals of bad ones.
    void timetable_data() {
        QTest::addColumn<Sequence>("sequence");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("refusal");
        Sequence overlap = mixedSequence("OZ7IGY", "JO55WM");
        overlap.elements[1].startSecond = 24;
        Sequence beyond = singleElement(Mode::Jt4, "OZ7IGY JO55");
        beyond.elements[0].startSecond = 13;
        Sequence crowded = singleElement(Mode::Pi4, "OZ7IGY");
        crowded.elements.push_back({Mode::Carrier, "", 24.38, 'A', 12, -400, 30});
        Sequence badSubmode = singleElement(Mode::Jt4, "TEST", 'H');
        // PI4: 146 symbols and the carrier after them.
        QTest::newRow("pi4") << singleElement(Mode::Pi4, "OZ7IGY") << 147 << "";
        QTest::newRow("wspr") << singleElement(Mode::Wspr, "K1ABC FN42 37") << 163 << "";
        QTest::newRow("mixed") << mixedSequence("OZ7IGY", "JO55WM") << 147 + 43 + 42 + 1
                               << ""; // 43 elements, 42 gaps
        QTest::newRow("19 WPM") << singleElement(Mode::Cw, "E", 'A', 19) << 1 << "";
        QTest::newRow("20 WPM")
            << singleElement(Mode::Cw, "E", 'A', 20) << 0
            << "Element 1 (CW): 20.000 WPM gives a dot shorter than a line and its pause";
        QTest::newRow("overlap") << overlap << 0
                                 << "Element 2 (CW): starts at second 24.000 before Element 1 "
                                    "(PI4) ends at second 24.333";
        QTest::newRow("beyond the period")
            << beyond << 0 << "Element 1 (JT4A): ends at second 60.086, beyond the period";
        QTest::newRow("lines too close")
            << crowded << 0 << "Element 2 (Carrier): its line at second 24.380 comes less than";
        QTest::newRow("sub-mode") << badSubmode << 0 << "Element 1 (JT4H): sub-mode \"H\"";
    }
    void timetable() {
        QFETCH(Sequence, sequence);
        QFETCH(int, lines);
        QFETCH(QString, refusal);
        const auto outcome = laidOut(sequence);
        if (!refusal.isEmpty()) {
            QVERIFY2(refusalOf(outcome).startsWith(refusal), qPrintable(refusalOf(outcome)));
        } else {
            QCOMPARE(refusalOf(outcome), QString());
            const auto& table = std::get<Timetable>(outcome);
            QCOMPARE(int(table.lines.size()), lines);
            for (std::size_t i = 1; i < table.lines.size(); ++i)
                QVERIFY(table.lines[i].second >= table.lines[i - 1].second + 0.0626);
        }
    }

    // The tone tables at 2320.25 MHz and the refusals of plans that cannot hold them.
    void tonePlan_data() {
        QTest::addColumn<Inputs>("inputs");
        QTest::addColumn<Sequence>("sequence");
        QTest::addColumn<QString>("refusal");
        const Inputs startUp;
        QTest::newRow("mixed") << startUp << mixedSequence("OZ7IGY", "JO55WM") << "";
        QTest::newRow("wspr") << startUp << singleElement(Mode::Wspr, "K1ABC FN42 37") << "";
        QTest::newRow("jt4g") << startUp << singleElement(Mode::Jt4, "OZ7IGY", 'G') << "";
        QTest::newRow("1296.1 through a divider")
            << Inputs{.fo = "1296.1", .odiv = 2} << mixedSequence("OZ7IGY", "JO55WM") << "";
        // 2329.9995 MHz: the PI4 tones above the carrier pass 2330 MHz, where N changes.
        QTest::newRow("across N") << Inputs{.fo = "2329.9995"} << singleElement(Mode::Pi4, "OZ7IGY")
                                  << "Tones: they lie on both sides of a whole multiple";
        // Near the top of a comparison step one unit of D is about 2.4 Hz.
        QTest::newRow("too coarse for WSPR")
            << Inputs{.fo = "2329.99"} << singleElement(Mode::Wspr, "K1ABC FN42 37")
            << "Tone table: no numerator F gives WSPR";
        Sequence twoShifts = mixedSequence("OZ7IGY", "JO55WM");
        twoShifts.elements.push_back({Mode::Cw, "OZ7IGY", 59.6, 'A', 12, -200, 0});
        QTest::newRow("two shifts") << startUp << twoShifts << "CW shift: one sequence keys";
        QTest::newRow("no plan") << Inputs{.r = 0} << singleElement(Mode::Pi4, "OZ7IGY")
                                 << "Plan: ";
    }
    void tonePlan() {
        QFETCH(Inputs, inputs);
        QFETCH(Sequence, sequence);
        QFETCH(QString, refusal);
        const auto outcome = planTones(inputs, sequence);
        if (const auto* refused = std::get_if<TonePlanRefusal>(&outcome)) {
            QVERIFY2(!refusal.isEmpty() &&
                         QString::fromStdString(refused->line).startsWith(refusal),
                     refused->line.c_str());
            return;
        }
        QVERIFY2(refusal.isEmpty(), "planned where a refusal was expected");
        const auto& plan = std::get<TonePlan>(outcome);
        QVERIFY(std::fabs(plan.carrierHz - plan.wantedHz) <= 1);
        QCOMPARE(plan.registers[2], plan.tones.front().reg2);
        // Each tone's D, worked out again from N and F, gives its achieved offset.
        const double unitHz = (plan.carrierHz) / (plan.n + double(plan.f) / plan.tones[0].d);
        for (const auto& tone : plan.tones) {
            QVERIFY2(std::fabs(tone.errorHz) <= tone.toleranceHz, tone.name.c_str());
            QVERIFY(tone.d > plan.f && tone.d < denominatorLimit);
            QCOMPARE(tone.reg2, composeReg2(tone.d));
            const double hz = unitHz * (plan.n + double(plan.f) / tone.d) - plan.carrierHz;
            QVERIFY2(std::fabs(hz - tone.achievedOffsetHz) < 1e-3, tone.name.c_str());
            if (tone.key.mode != Mode::Carrier)
                QVERIFY(std::fabs(tone.achievedOffsetHz - tone.offsetHz - tone.errorHz) < 1e-9);
        }
        QCOMPARE(plan.registers[0], composeReg0(plan.n, plan.f));
    }
};

QTEST_GUILESS_MAIN(TestBeacon)
#include "tst_beacon.moc"
