// The PIC data-EEPROM lines and the export listing built from them.

#include <QtTest>
#include <stdexcept>

#include "export/ee_hex_data.h"
#include "export/pic_listing.h"

using namespace kelvane;

Q_DECLARE_METATYPE(kelvane::ControlState)

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

ExportInputs exportInputs(const ControlState& c) {
    auto outcome = recalculate(planInputsFrom(c), loopSettingsFrom(c));
    if (auto* refused = std::get_if<RefusedPlan>(&outcome))
        qFatal("refused: %s", refused->reason.c_str());
    return exportInputsFrom(c, std::get<Recalculation>(outcome));
}

} // namespace

class TestPicListing : public QObject {
    Q_OBJECT
private slots:
    void eeHexDataLines_data();
    void eeHexDataLines();
    void wordsBeyond32BitsAreRefused();
    void startUpListing();
    void firstLine_data();
    void firstLine();
    void planBeyond32BitsGivesNoListing();
};

void TestPicListing::eeHexDataLines_data() {
    QTest::addColumn<qint64>("word");
    QTest::addColumn<QString>("line");
    QTest::newRow("constant Reg8") << qint64(0x0111CE58) << "   de  0x01, 0x11, 0xCE, 0x58";
    QTest::newRow("Reg13 divided") << qint64(0xCD) << "   de  0x00, 0x00, 0x00, 0xCD";
    QTest::newRow("zero") << qint64(0) << "   de  0x00, 0x00, 0x00, 0x00";
    QTest::newRow("top bit set") << qint64(0xFFFFFFFF) << "   de  0xFF, 0xFF, 0xFF, 0xFF";
    QTest::newRow("composed negative") << qint64(-12054364) << "   de  0xFF, 0x48, 0x10, 0xA4";
    QTest::newRow("lowest") << -(qint64(1) << 32) << "   de  0x00, 0x00, 0x00, 0x00";
}

void TestPicListing::eeHexDataLines() {
    QFETCH(qint64, word);
    QFETCH(QString, line);
    QVERIFY(fitsRegisterWord(word));
    QCOMPARE(q(eeHexData(word)), line);
    QCOMPARE(line.size(), 29);
}

void TestPicListing::wordsBeyond32BitsAreRefused() {
    for (qint64 word : {qint64(1) << 32, -(qint64(1) << 32) - 1, qint64(0x3BDACA002)}) {
        QVERIFY(!fitsRegisterWord(word));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, eeHexData(word));
    }
}

void TestPicListing::startUpListing() {
    const GeneratedText listing = picListing(exportInputs(ControlState{}));
    QVERIFY(listing.ok);
    QCOMPARE(q(listing.text), "  ;  Fout  2320.25MHz  Resolution  10Hz\r\n"
                              "  ;  R =  1      D =  1000000      N =  232      F =  25000\r\n"
                              "   de  0x00, 0x00, 0x00, 0x17    ;  Reg7   \r\n"
                              "   de  0x00, 0x00, 0x00, 0x8D    ;  Reg13   \r\n"
                              "   de  0x00, 0x00, 0x00, 0x1C    ;  Reg12   \r\n"
                              "   de  0x28, 0x00, 0x14, 0x09    ;  Reg9   \r\n"
                              "   de  0x01, 0x11, 0xCE, 0x58    ;  Reg8   \r\n"
                              "   de  0x00, 0x1F, 0x33, 0x26    ;  Reg6   \r\n"
                              "   de  0xA0, 0x04, 0x00, 0x05    ;  Reg5   \r\n"
                              "   de  0xFF, 0x48, 0x10, 0xA4    ;  Reg4   \r\n"
                              "   de  0x00, 0xA8, 0x73, 0x03    ;  Reg3   \r\n"
                              "   de  0x04, 0xF4, 0x24, 0x02    ;  Reg2   \r\n"
                              "   de  0x00, 0x00, 0x00, 0x11    ;  Reg1   \r\n"
                              "   de  0x61, 0xA8, 0x0E, 0x80    ;  Reg0   \r\n");
    QCOMPARE(listing.text.size(), std::size_t(644));
}

void TestPicListing::firstLine_data() {
    QTest::addColumn<ControlState>("controls");
    QTest::addColumn<QString>("line");
    ControlState c;
    c.rfMult = "2";
    QTest::newRow("RF mult 2") << c << "  ;  Fout  2320.25MHz RF MULT * 2  Resolution  10Hz";
    c.rfMult = "0.5";
    QTest::newRow("RF mult below 1") << c << "  ;  Fout  2320.25MHz  Resolution  10Hz";
    c.rfMult = "1.5";
    QTest::newRow("RF mult 1.5") << c << "  ;  Fout  2320.25MHz RF MULT * 1.5  Resolution  10Hz";
    c = {};
    c.fo = "2320.25";
    QTest::newRow("Fo retyped without blank") << c << "  ;  Fout 2320.25MHz  Resolution  10Hz";
    c = {};
    c.res = "375.";
    QTest::newRow("mode resolution") << c << "  ;  Fout  2320.25MHz  Resolution 375.Hz";
}

void TestPicListing::firstLine() {
    QFETCH(ControlState, controls);
    const GeneratedText listing = picListing(exportInputs(controls));
    QVERIFY(listing.ok);
    QTEST(q(listing.text).section("\r\n", 0, 0), "line");
}

void TestPicListing::planBeyond32BitsGivesNoListing() {
    // An empty resolution box: the plan falls back to 0.01 Hz, D = 10^9, and
    // Reg2 no longer fits in the four bytes of a declaration.
    ControlState c;
    c.res = "";
    const GeneratedText listing = picListing(exportInputs(c));
    QVERIFY(!listing.ok);
    QCOMPARE(q(listing.text),
             "Reg2 = 3BDACA002 does not fit in 32 bits; correct the plan to get a PIC listing");
    // The texts of the boxes go in as they stand, an empty one included.
    ExportInputs in = exportInputs(ControlState{});
    in.resText = "";
    QVERIFY(q(picListing(in).text).startsWith("  ;  Fout  2320.25MHz  Resolution Hz\r\n"));
}

QTEST_GUILESS_MAIN(TestPicListing)
#include "tst_pic_listing.moc"
