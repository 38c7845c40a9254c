#include <QtTest>

#include "model/control_state.h"
#include "model/recalculation.h"

using namespace kelvane;

Q_DECLARE_METATYPE(kelvane::ControlState)

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

Recalculation recalculated(const ControlState& c) {
    auto outcome = recalculate(planInputsFrom(c), loopSettingsFrom(c));
    if (auto* refused = std::get_if<RefusedPlan>(&outcome)) qFatal("refused: %s", refused->reason.c_str());
    return std::get<Recalculation>(outcome);
}

QStringList words(const RegisterImage& image) {
    QStringList list;
    for (int address : transferOrder) list << QString("Reg%1=%2").arg(address).arg(q(hexFormat(image[address])));
    return list;
}

} // namespace

class TestRegisters : public QObject {
    Q_OBJECT
private slots:
    void hexFormatWidths_data();
    void hexFormatWidths();
    void startUpListing();
    void wordsFollowTheControls_data();
    void wordsFollowTheControls();
    void fieldsAtTheirLimits();
};

void TestRegisters::hexFormatWidths_data() {
    QTest::addColumn<qint64>("word");
    QTest::addColumn<QString>("text");
    QTest::newRow("padded") << qint64(23) << "00000017";
    QTest::newRow("negative taken modulo 2^32") << qint64(-12054364) << "FF4810A4";
    QTest::newRow("zero") << qint64(0) << "00000000";
    QTest::newRow("largest") << qint64(4294967295) << "FFFFFFFF";
    QTest::newRow("lowest") << qint64(-4294967296) << "00000000";
    QTest::newRow("beyond 32 bits is not cut") << qint64(4294967301) << "100000005";
    QTest::newRow("low half padded inside") << qint64(0x00010002) << "00010002";
}

void TestRegisters::hexFormatWidths() {
    QFETCH(qint64, word);
    QTEST(q(hexFormat(word)), "text");
}

void TestRegisters::startUpListing() {
    const auto r = recalculated(ControlState{});
    QCOMPARE(q(r.listing), "          7    00000017        13   0000008D\r\n"
                           "         12   0000001C         9    28001409\r\n"
                           "          8    0111CE58         6    001F3326\r\n"
                           "          5    A0040005         4    FF4810A4\r\n"
                           "          3    00A87303         2    04F42402\r\n"
                           "          1    00000011         0    61A80E80\r\n");
}

void TestRegisters::wordsFollowTheControls_data() {
    QTest::addColumn<ControlState>("controls");
    QTest::addColumn<QStringList>("expected");
    ControlState c;
    c.fo = "1160.125";
    c.odiv = 2;
    QTest::newRow("output divider 2") << c << QStringList{"Reg13=000000CD", "Reg4=FF4820A4", "Reg2=047A1202",
                                                          "Reg0=30D40E80"};
    c = {};
    c.res = "1";
    QTest::newRow("D beyond 22 bits runs into bit 26") << c << QStringList{"Reg2=0D896802"};
    c = {};
    c.fo = "2329.9999999";
    // F = D = 1000000: 1000000 mod 65536 = 16960 (0x4240) low, 15 high.
    QTest::newRow("F equals D") << c << QStringList{"Reg0=42400E80", "Reg1=03C00011"};
    c = {};
    c.fr = "255.5";
    c.fo = "2555";
    QTest::newRow("reference capped at 255") << c << QStringList{"Reg4=FF481FF4"};
    c.fr = "9.49";
    QTest::newRow("reference 9.49 gives 9") << c << QStringList{"Reg4=FF481094"};
    c.fr = "9.5";
    QTest::newRow("reference 9.5 gives 10") << c << QStringList{"Reg4=FF4810A4"};
    c = {};
    c.fr = "-10";
    QTest::newRow("negative reference subtracted") << c << QStringList{"Reg4=FF480F64"};
    c.fr = "-536117504";
    c.res = "1e13";
    QTest::newRow("lowest reference Reg4 holds") << c << QStringList{"Reg4=00000004"};
    c = {};
    c.rScroll = 4096;
    c.fr = "4096";
    c.fo = "2320";
    c.res = "1";
    QTest::newRow("R of 4096 puts 0 in the field") << c << QStringList{"Reg1=00000001"};
    c = {};
    c.doubler = true;
    c.externalVco = true;
    c.chargePumpPositive = true;
    QTest::newRow("doubler, external VCO, polarity") << c << QStringList{"Reg3=00AE7313"};
    c.externalVco = false;
    QTest::newRow("polarity needs the external VCO") << c << QStringList{"Reg3=00AC7303"};
}

void TestRegisters::wordsFollowTheControls() {
    QFETCH(ControlState, controls);
    QFETCH(QStringList, expected);
    const QStringList all = words(recalculated(controls).registers);
    for (const QString& word : expected) QVERIFY2(all.contains(word), qPrintable(all.join(' ') + " lacks " + word));
}

void TestRegisters::fieldsAtTheirLimits() {
    ControlState c;
    c.chargePumpGain = 31;
    c.dither = 3;
    c.order = 4;
    c.mux = 13;
    c.outTerm = 15;
    c.vcoGain = 15;
    c.divGain = 15;
    auto r = recalculated(c);
    QCOMPARE(q(hexFormat(r.registers[3])), "01C9BF03");
    QCOMPARE(q(hexFormat(r.registers[6])), "001FFFE6");
    c.chargePumpGain = c.dither = c.order = c.mux = c.outTerm = c.vcoGain = c.divGain = 0;
    r = recalculated(c);
    QCOMPARE(q(hexFormat(r.registers[3])), "00080003");
    QCOMPARE(q(hexFormat(r.registers[6])), "001C0026");
}

QTEST_APPLESS_MAIN(TestRegisters)
#include "tst_registers.moc"
