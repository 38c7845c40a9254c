// The PIC data-EEPROM lines and the export listing built from them.

#include <stdexcept>

#include "export/ee_hex_data.h"
#include "export/pic_listing.h"
#include "model_support.h"

using namespace kelvane;

// The listing's first line for these controls, or the line that refuses it.
static std::string headOfListing(const Inputs& c) {
    const Recalculation r = recalculated(c);
    const GeneratedText listing = picListing(c, planVariablesFrom(c), r.plan, r.registers);
    return (listing.ok ? "" : "refused: ") + listing.text.substr(0, listing.text.find("\r\n"));
}

class TestPicListing : public QObject {
    Q_OBJECT
private slots:
    void startUpListing() {
        const Inputs controls;
        const Recalculation r = recalculated();
        const GeneratedText listing =
            picListing(controls, planVariablesFrom(controls), r.plan, r.registers);
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
    }

    void declarationsAndListingHeads_data() {
        addTextColumns();
        textRow("top bit set", eeHexData(0xFFFFFFFF), "   de  0xFF, 0xFF, 0xFF, 0xFF");
        textRow("composed negative", eeHexData(-12054364), "   de  0xFF, 0x48, 0x10, 0xA4");
        // The texts of the boxes go in as they stand.
        textRow("RF mult 1.5", headOfListing({.rfMult = "1.5"}),
                "  ;  Fout  2320.25MHz RF MULT * 1.5  Resolution  10Hz");
        textRow("Fo retyped without blank", headOfListing({.fo = "2320.25"}),
                "  ;  Fout 2320.25MHz  Resolution  10Hz");
        // An empty resolution box: the plan falls back to 0.01 Hz, D = 10^9, and
        // Reg2 no longer fits in the four bytes of a declaration.
        textRow("plan beyond 32 bits", headOfListing({.res = ""}),
                "refused: Reg2 = 3BDACA002 does not fit in 32 bits; correct the plan to get a PIC "
                "listing");
    }
    void declarationsAndListingHeads() { checkTexts(); }

    void wordsBeyond32BitsAreRefused() {
        for (std::int64_t word : {std::int64_t(1) << 32, -(std::int64_t(1) << 32) - 1}) {
            QVERIFY(!fitsRegisterWord(word));
            QVERIFY_THROWS_EXCEPTION(std::out_of_range, eeHexData(word));
        }
    }
};

QTEST_GUILESS_MAIN(TestPicListing)
#include "tst_pic_listing.moc"
