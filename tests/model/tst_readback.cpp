// Reading the board's stored set back: finding entries in an answer, the values
// the restore assigns, and the answers it refuses.

#include <QtTest>

#include "model/conversions.h"
#include "model/readback.h"
#include "model/recalculation.h"

using namespace kelvane;

Q_DECLARE_METATYPE(kelvane::ControlState)
Q_DECLARE_METATYPE(kelvane::RestoreContext)

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

RegisterImage imageOf(const ControlState& c) {
    auto outcome = recalculate(planInputsFrom(c), loopSettingsFrom(c));
    if (auto* refused = std::get_if<RefusedPlan>(&outcome))
        qFatal("refused: %s", refused->reason.c_str());
    return std::get<Recalculation>(outcome).registers;
}

// "0x00 A8 73 03" with the given separator between bytes.
std::string entry(std::int64_t word, char separator = ' ') {
    const std::string h = hexFormat(word);
    return "0x" + h.substr(0, 2) + separator + h.substr(2, 2) + separator + h.substr(4, 2) +
           separator + h.substr(6, 2);
}

// An answer as the board sends it: one entry per line, in transfer order.
std::string answerOf(const RegisterImage& image) {
    std::string text;
    for (int address : transferOrder)
        text += entry(image[address]) + "\r\n";
    return text;
}

const std::string startUpAnswer = answerOf(imageOf(ControlState{}));

Restore restored(const std::string& answer, const RestoreContext& context = {}) {
    auto outcome = restoreFromAnswer(answer, context);
    if (auto* refusal = std::get_if<RestoreRefusal>(&outcome))
        qFatal("refused: %s", refusal->line.c_str());
    return std::get<Restore>(outcome);
}

// The start-up answer with one register's word replaced.
std::string withWord(int address, std::int64_t word) {
    auto image = imageOf(ControlState{});
    image[address] = word;
    return answerOf(image);
}

} // namespace

class TestReadback : public QObject {
    Q_OBJECT
private slots:
    void startUpSetRestoresTheStartUpWindow();
    void entriesAreFound_data();
    void entriesAreFound();
    void restoredSetsComposeTheSameWords_data();
    void restoredSetsComposeTheSameWords();
    void doublerDecidesTheR_data();
    void doublerDecidesTheR();
    void chargePumpPolarityOnlyWithExternalVco();
    void refusals_data();
    void refusals();
};

void TestReadback::startUpSetRestoresTheStartUpWindow() {
    const Restore r = restored(startUpAnswer);
    QCOMPARE(r.odiv, 1);
    QCOMPARE(r.rField, 1);
    QCOMPARE(r.n, 232.0);
    QCOMPARE(r.denom, 1000000.0);
    QCOMPARE(r.fract, 25000.0);
    QCOMPARE(r.doubler, false);
    QCOMPARE(r.fcomp, 10.0);
    QCOMPARE(r.fres, 10.0);
    QCOMPARE(q(r.resText), "10.00");
    QCOMPARE(r.fvco, 2320.25);
    QCOMPARE(q(r.foText), "2320.25");
    QCOMPARE(r.chargePumpGain, 19);
    QCOMPARE(r.dither, 1);
    QCOMPARE(r.order, 2);
    QCOMPARE(r.mux, 3);
    QCOMPARE(r.externalVco, false);
    QCOMPARE((QList<int>{r.divGain, r.outTerm, r.vcoGain}), (QList<int>{12, 12, 12}));
    QCOMPARE(q(r.divGainLabel), " 12 Div Gain");
    QCOMPARE(q(r.rlabel), "R divider 1");
}

void TestReadback::entriesAreFound_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("address");
    QTest::addColumn<qint64>("word"); // -1: no entry kept for the address
    const QString reg3 = q(entry(0x00A87303));
    QTest::newRow("mark at the very first character") << reg3 << 3 << qint64(0x00A87303);
    QTest::newRow("text before and after") << "init\r\n" + reg3 + " ok" << 3 << qint64(0x00A87303);
    QTest::newRow("lower case, any separator") << "0x00-a8:73.03" << 3 << qint64(0x00A87303);
    QTest::newRow("later entry wins") << reg3 + "\n0x00 A8 73 13\n" << 3 << qint64(0x00A87313);
    QTest::newRow("cut short at the end keeps the earlier")
        << reg3 + "\n0x00 A8 73 0" << 3 << qint64(0x00A87303);
    QTest::newRow("cut short is not read as register 0") << "0x61 A8 0E" << 0 << qint64(-1);
    QTest::newRow("non-hex digit skips the entry")
        << reg3 + " 0x00 G8 73 13" << 3 << qint64(0x00A87303);
    QTest::newRow("upper-case X is no mark") << "0X00 A8 73 03" << 3 << qint64(-1);
    QTest::newRow("search resumes right after a mark")
        << "0x0x00 A8 73 03" << 3 << qint64(0x00A87303);
    QTest::newRow("address 11 is ignored") << "0x12 34 56 7B" << 11 << qint64(-1);
    QTest::newRow("address 13 is kept") << "0x00 00 00 CD" << 13 << qint64(0xCD);
    QTest::newRow("bit 31 set") << "0xFF 48 10 A4" << 4 << qint64(0xFF4810A4);
    QString longAnswer(40000, QChar('.'));
    QTest::newRow("beyond 32767 characters") << longAnswer + reg3 << 3 << qint64(0x00A87303);
}

void TestReadback::entriesAreFound() {
    QFETCH(QString, answer);
    QFETCH(int, address);
    QFETCH(qint64, word);
    const StoredSet stored = parseStoredSet(answer.toStdString());
    if (word < 0) {
        QVERIFY(!stored.value[address].has_value());
    } else {
        QVERIFY(stored.value[address].has_value());
        QCOMPARE(qint64(*stored.value[address]), word >> 4);
    }
}

// Whatever the window stored, reading it back and recalculating composes the
// same twelve words, whatever the order and spelling of the entries.
void TestReadback::restoredSetsComposeTheSameWords_data() {
    QTest::addColumn<ControlState>("stored");
    QTest::addColumn<QString>("spelling");
    QTest::newRow("start-up, transfer order") << ControlState{} << "transfer order";
    QTest::newRow("start-up, reversed, tabs") << ControlState{} << "reversed";
    ControlState c;
    c.fo = "1160.125";
    c.odiv = 2;
    c.res = "2";
    QTest::newRow("divided output, finer resolution") << c << "lower case";
    c = {};
    c.doubler = true;
    c.fo = "3000.1";
    c.fr = " 10";
    c.chargePumpGain = 31;
    c.dither = 3;
    c.order = 4;
    c.mux = 13;
    QTest::newRow("doubler and settings at their top ends") << c << "transfer order";
    c = {};
    c.rScroll = 5;
    c.fo = "2000";
    c.externalVco = true;
    c.chargePumpPositive = true;
    c.outTerm = 0;
    c.vcoGain = 15;
    c.divGain = 1;
    QTest::newRow("R 5, external VCO, positive pump") << c << "reversed";
    c = {};
    c.fo = "2320.4"; // F = 40000: 32768 or more sets bit 31 of Reg0
    QTest::newRow("Reg0 with bit 31 set") << c << "lower case";
}

void TestReadback::restoredSetsComposeTheSameWords() {
    QFETCH(ControlState, stored);
    QFETCH(QString, spelling);
    const RegisterImage image = imageOf(stored);
    std::string answer;
    if (spelling == "reversed") {
        for (auto it = transferOrder.rbegin(); it != transferOrder.rend(); ++it)
            answer += entry(image[*it], '\t') + "\t";
    } else {
        answer = answerOf(image);
        if (spelling == "lower case")
            answer = QString::fromStdString(answer).toLower().toStdString();
    }
    const ControlState fresh;
    const auto outcome = restoreFromAnswer(answer, restoreContextOf(fresh));
    QVERIFY(std::holds_alternative<Restore>(outcome));
    const ControlState after = restoredControls(std::get<Restore>(outcome), fresh);
    for (int address : transferOrder)
        QCOMPARE(q(hexFormat(imageOf(after)[address])), q(hexFormat(image[address])));
}

void TestReadback::doublerDecidesTheR_data() {
    QTest::addColumn<bool>("windowDoubler");
    QTest::addColumn<bool>("storedDoubler");
    QTest::addColumn<int>("rField");
    QTest::addColumn<int>("expectedR");
    QTest::addColumn<double>("expectedFcomp");
    // Rscroll stands at 8 in every row.
    QTest::newRow("off, stays off: the stored R") << false << false << 5 << 5 << 2.0;
    QTest::newRow("on, goes off: the scroll bar's R") << true << false << 5 << 8 << 1.25;
    QTest::newRow("off, goes on: R 1") << false << true << 5 << 1 << 20.0;
    QTest::newRow("on, stays on: the stored R") << true << true << 1 << 1 << 20.0;
    QTest::newRow("stored R 0 made 1 by the doubler") << false << true << 0 << 1 << 20.0;
}

void TestReadback::doublerDecidesTheR() {
    QFETCH(bool, windowDoubler);
    QFETCH(bool, storedDoubler);
    QFETCH(int, rField);
    auto image = imageOf(ControlState{});
    image[1] = composeReg1(rField, 232, 25000);
    image[3] = 0x00A87303 + (storedDoubler ? 262144 : 0);
    RestoreContext context;
    context.doubler = windowDoubler;
    context.rScroll = 8;
    const Restore r = restored(answerOf(image), context);
    QCOMPARE(r.rField, rField);
    QTEST(r.r, "expectedR");
    QTEST(r.fcomp, "expectedFcomp");
    QCOMPARE(q(r.rlabel), "R divider" + q(str(r.r)));
}

void TestReadback::chargePumpPolarityOnlyWithExternalVco() {
    const std::int64_t polarity = 131072, external = 16;
    const Restore both = restored(withWord(3, 0x00A87303 + polarity + external));
    QVERIFY(both.externalVco && both.chargePumpPositive);
    const Restore polarityAlone = restored(withWord(3, 0x00A87303 + polarity));
    QVERIFY(!polarityAlone.externalVco && !polarityAlone.chargePumpPositive);
}

void TestReadback::refusals_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("fr");
    QTest::addColumn<QString>("line");
    const QString all = q(startUpAnswer);
    auto without = [&](std::initializer_list<int> addresses) {
        auto image = imageOf(ControlState{});
        std::string text;
        for (int address : transferOrder)
            if (std::find(addresses.begin(), addresses.end(), address) == addresses.end())
                text += entry(image[address]) + "\r\n";
        return q(text);
    };
    QTest::newRow("nothing arrived") << ""
                                     << " 10"
                                     << "Init from EE: no answer from the board; nothing changed";
    QTest::newRow("no entries at all")
        << "ERR\r\n0X00 A8 73 03"
        << " 10"
        << "Init from EE: no entry for registers 0, 1, 2, 3, 4 and 6; nothing changed";
    QTest::newRow("register 3 missing") << without({3}) << " 10"
                                        << "Init from EE: no entry for register 3; nothing changed";
    QTest::newRow("two missing") << without({0, 6}) << " 10"
                                 << "Init from EE: no entry for registers 0 and 6; nothing changed";
    QTest::newRow("unused registers may be missing, a restored one not")
        << without({5, 7, 8, 9, 12, 13, 4}) << " 10"
        << "Init from EE: no entry for register 4; nothing changed";
    QTest::newRow("output divider 0")
        << q(withWord(4, 0xFF4800A4)) << " 10"
        << "Init from EE: output divider 0 (1 to 63 allowed); nothing changed";
    QTest::newRow("order 5") << q(withWord(3, 0x00D87303)) << " 10"
                             << "Init from EE: modulator order 5 (0 to 4 allowed); nothing changed";
    QTest::newRow("mux 14") << q(withWord(3, 0x00A9D303)) << " 10"
                            << "Init from EE: mux selection 14 (0 to 13 allowed); nothing changed";
    QTest::newRow("R 0 without the doubler") << q(withWord(1, 0x00000001)) << " 10"
                                             << "Init from EE: R divider 0; nothing changed";
    QTest::newRow("denominator 0") << q(withWord(2, 0x04000002)) << " 10"
                                   << "Init from EE: denominator 0; nothing changed";
    QTest::newRow("reference 0 gives no resolution")
        << all << "0"
        << "Init from EE: resolution would be 0 Hz; nothing changed";
    QTest::newRow("resolution beyond a double")
        << all << "1e305"
        << "Init from EE: resolution out of range; nothing changed";
    QTest::newRow("no plan with the window's reference")
        << all << "-1e12"
        << "Init from EE: the stored set gives no plan (Reference frequency is out of range: it "
           "does not fit register 4); nothing changed";
    QTest::newRow("window's reference pushes Reg4 below eight digits")
        << all << "-777777777"
        << "Init from EE: the stored set gives no plan (Reference frequency is out of range: it "
           "does not fit register 4); nothing changed";
}

void TestReadback::refusals() {
    QFETCH(QString, answer);
    QFETCH(QString, fr);
    RestoreContext context;
    context.frText = fr.toStdString();
    const auto outcome = restoreFromAnswer(answer.toStdString(), context);
    QVERIFY(std::holds_alternative<RestoreRefusal>(outcome));
    QTEST(q(std::get<RestoreRefusal>(outcome).line), "line");
}

QTEST_APPLESS_MAIN(TestReadback)
#include "tst_readback.moc"
