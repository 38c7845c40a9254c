// Reading the board's stored set back: entries found in an answer, the values
// restored, the answers refused, and the verdict against the plan.

#include "model/conversions.h"
#include "model/eeprom_verify.h"
#include "model/hex.h"
#include "model/readback.h"
#include "model_support.h"

using namespace kelvane;

namespace {

// An answer as the board sends it: one entry such as "0x00 A8 73 03" per line,
// in transfer order, leaving out the given registers.
std::string answerOf(const RegisterImage& image, std::initializer_list<int> without = {}) {
    std::string text;
    for (int address : transferOrder) {
        if (std::find(without.begin(), without.end(), address) == without.end())
            text += boardEntry(static_cast<std::uint32_t>(image[address])) + "\r\n";
    }
    return text;
}

// The start-up answer with some words replaced and some left out.
std::string answerWith(std::initializer_list<std::pair<int, std::int64_t>> changed,
                       std::initializer_list<int> without = {}) {
    auto image = recalculated().registers;
    for (auto [address, word] : changed)
        image[address] = word;
    return answerOf(image, without);
}

// The word found for an address, its address nibble put back, or "none".
std::string found(std::string_view answer, int address) {
    const auto value = parseStoredSet(answer).value[address];
    return value ? hexWord(std::int64_t(*value) * 16 + address) : "none";
}

// The refusal line for an answer, or "restored".
std::string refusalOf(std::string_view answer, const char* fr = " 10") {
    const auto outcome = restoreFromAnswer(answer, {.fr = fr}, {});
    const auto* refusal = std::get_if<RestoreRefusal>(&outcome);
    return refusal ? refusal->line : "restored";
}

Restore restored(std::string_view answer, const Inputs& before = {}) {
    auto outcome = restoreFromAnswer(answer, before, planVariablesFrom(before));
    if (const auto* refusal = std::get_if<RestoreRefusal>(&outcome))
        qFatal("refused: %s", refusal->line.c_str());
    return std::get<Restore>(outcome);
}

// R and Fcomp after restoring a stored R and doubler.
std::string rAfterRestore(bool windowDoubler, bool storedDoubler, int rField) {
    auto image = recalculated().registers;
    image[1] = composeReg1(rField, 232, 25000);
    image[3] = 0x00A87303 + (storedDoubler ? 262144 : 0);
    const Restore r = restored(answerOf(image), {.r = 8, .doubler = windowDoubler});
    return "stored" + str(r.rField) + ", " + r.rlabel + ", Fcomp" + str(r.fcomp);
}

} // namespace

class TestReadback : public QObject {
    Q_OBJECT
private slots:
    void entriesFoundInAnAnswer_data() {
        addTextColumns();
        const std::string reg3 = "0x00 A8 73 03";
        textRow("mark at the very first character", found(reg3, 3), "00A87303");
        textRow("lower case, any separator", found("0x00-a8:73.03", 3), "00A87303");
        textRow("later entry wins", found(reg3 + "\n0x00 A8 73 13\n", 3), "00A87313");
        textRow("cut short is not read as register 0", found("0x61 A8 0E", 0), "none");
        textRow("non-hex digit skips the entry", found(reg3 + " 0x00 G8 73 13", 3), "00A87303");
        textRow("address 11 is ignored", found("0x12 34 56 7B", 11), "none");
        textRow("address 13 is kept", found("0x00 00 00 CD", 13), "000000CD");
        textRow("beyond 32767 characters", found(std::string(40000, '.') + reg3, 3), "00A87303");
    }
    void entriesFoundInAnAnswer() { checkTexts(); }

    // The doubler handler runs only when the restore changes the doubler.
    void doublerDecidesTheRestoredR_data() {
        addTextColumns();
        textRow("off, stays off", rAfterRestore(false, false, 5), "stored 5, R divider 5, Fcomp 2");
        textRow("off, goes on", rAfterRestore(false, true, 5), "stored 5, R divider 1, Fcomp 20");
        textRow("on, stays on", rAfterRestore(true, true, 5), "stored 5, R divider 5, Fcomp 4");
        textRow("stored R 0, goes on", rAfterRestore(false, true, 0),
                "stored 0, R divider 1, Fcomp 20");
    }
    void doublerDecidesTheRestoredR() { checkTexts(); }

    // A refused answer changes nothing and says why.
    void refusedAnswers_data() {
        addTextColumns();
        auto why = [](const char* reason) {
            return "Init from EE: " + QString(reason) + "; nothing changed";
        };
        const RegisterImage image = recalculated().registers;
        const std::string all = answerOf(image);
        textRow("nothing arrived", refusalOf(""), why("no answer from the board"));
        textRow("no entries at all", refusalOf("ERR\r\n0X00 A8 73 03"),
                why("no entry for registers 0, 1, 2, 3, 4 and 6"));
        textRow("register 3 missing", refusalOf(answerOf(image, {3})),
                why("no entry for register 3"));
        textRow("unused registers may be missing, a restored one not",
                refusalOf(answerOf(image, {5, 7, 8, 9, 12, 13, 4})),
                why("no entry for register 4"));
        textRow("output divider 0", refusalOf(answerWith({{4, 0xFF4800A4}})),
                why("output divider 0 (1 to 63 allowed)"));
        textRow("R 0 without the doubler", refusalOf(answerWith({{1, 0x00000001}})),
                why("R divider 0"));
        textRow("denominator 0", refusalOf(answerWith({{2, 0x04000002}})), why("denominator 0"));
        textRow("reference 0", refusalOf(all, "0"), why("resolution would be 0 Hz"));
        textRow("resolution beyond a double", refusalOf(all, "1e305"),
                why("resolution out of range"));
        textRow(
            "no plan with the window's reference", refusalOf(all, "-1e12"),
            why("the stored set gives no plan (Reference frequency is out of range: it does not "
                "fit register 4)"));
    }
    void refusedAnswers() { checkTexts(); }

    // Reading back what the window stored and recalculating gives the same words.
    void restoredSetsComposeTheSameWords_data() {
        QTest::addColumn<Inputs>("stored");
        // clang-format off
        QTest::newRow("doubler and settings at their top ends")
            << Inputs{.fo = "3000.1", .cpg = 31, .dither = 3, .order = 4, .mux = 13,
                      .doubler = true};
        QTest::newRow("R 5, external VCO, positive pump")
            << Inputs{.fo = "2000", .r = 5, .outTerm = 0, .vcoGain = 15, .divGain = 1,
                      .externalVco = true, .cpp = true};
        // clang-format on
        // F = 40000: 32768 or more sets bit 31 of Reg0.
        QTest::newRow("Reg0 with bit 31 set") << Inputs{.fo = "2320.4"};
    }
    void restoredSetsComposeTheSameWords() {
        QFETCH(Inputs, stored);
        const RegisterImage image = recalculated(stored).registers;
        const Restore r = restored(answerOf(image));
        const RegisterImage after = recalculated(r.inputs).registers;
        QCOMPARE(q(answerOf(after)), q(answerOf(image)));
    }

    void verdict_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("expected");
        QTest::newRow("same set") << q(answerWith({})) << "EEPROM matches the plan: 12 of 12 words";
        QTest::newRow("a bit and a missing word")
            << q(answerWith({{3, 0x00A87313}}, {0}))
            << "EEPROM differs from the plan: Reg3 stored 00A87313, plan 00A87303; Reg0 not stored";
        QTest::newRow("top bit, in transfer order")
            << q(answerWith({{0, 0xE1A80E80}, {4, 0x7F4810A4}}, {13}))
            << "EEPROM differs from the plan: Reg13 not stored; Reg4 stored 7F4810A4, plan "
               "FF4810A4; Reg0 stored E1A80E80, plan 61A80E80";
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

    void chargePumpPolarityOnlyWithExternalVco() {
        const Restore both = restored(answerWith({{3, 0x00A87303 + 131072 + 16}}));
        QVERIFY(both.inputs.externalVco && both.inputs.cpp);
        const Restore polarityAlone = restored(answerWith({{3, 0x00A87303 + 131072}}));
        QVERIFY(!polarityAlone.inputs.externalVco && !polarityAlone.inputs.cpp);
        // A window with both on: a stored set without the polarity, or without the
        // external VCO, clears it.
        const Inputs bothOn{.externalVco = true, .cpp = true};
        const Restore polarityOff = restored(answerWith({{3, 0x00A87303 + 16}}), bothOn);
        QVERIFY(polarityOff.inputs.externalVco && !polarityOff.inputs.cpp);
        const Restore vcoOff = restored(answerWith({}), bothOn);
        QVERIFY(!vcoOff.inputs.externalVco && !vcoOff.inputs.cpp);
    }
};

QTEST_APPLESS_MAIN(TestReadback)
#include "tst_readback.moc"
