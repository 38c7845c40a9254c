// The main window's handler chains, its modes, export and FSK windows and its
// scroll bars: actions on the controls, then the state shown.

#include <QClipboard>
#include <QFontInfo>
#include <QSignalSpy>
#include <QWheelEvent>

#include "export/pic_listing.h"
#include "model/conversions.h"
#include "model/hex.h"
#include "ui/export_window.h"
#include "ui/main_window_controls.h"
#include "window_support.h"

using kelvane::ui::MainWindow;
using namespace window_support;

class TestWindow : public QObject {
    Q_OBJECT
    QTemporaryDir settingsDir_;

private slots:
    void initTestCase() { isolateSettings(settingsDir_); }

    // See act() for the actions and shownState() for the states; "recalcs"
    // counts the recalculations the actions ran, "Reg4" is a register word.
    void actionsThenStateShown_data() {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("names");
        QTest::addColumn<QString>("state");
        auto row = [](const char* name, const char* actions, const char* names,
                      const QString& state) { QTest::newRow(name) << actions << names << state; };
        row("start: inputs", "", "Fo Fr Res RFMultText CPP Rscroll Odiv CPGscroll Mux OutTerm",
            " 2320.25| 10| 10|1|-Ve CPP [ ] (hidden)|1..4096 = 1|1..63 = 1|31..0 = 19|13..0 = 3|"
            "15..0 = 12");
        row("start: captions", "", "CPGlabel DitherLabel OrderLabel MuxCaption DivGainLabel",
            " 20 | Medium Dither|Order 2|Dig Lock Det High| 12 Div Gain");
        row("start: plan", "", "Fv Fc Dn Frlabel Nlabel StepLbl OPerr ChipType PlanStatus",
            "2320.25 MHz|10000. kHz #0000ff|D =    1000000|F =      25000|N =       232||"
            " #ff0000|LMX2541-2380E  #408001|");
        row("start: more", "", "Rlabel ODivlabel OPResLabel Text1:6 QuickUpdate QStepUp",
            "R divider 1|Output Divider 1|O/P Resolution  Hz, (set denom)|"
            "          1    00000011         0    61A80E80|Quick Freq Update (hidden)|/\\ "
            "(hidden)");

        // The output divider: the VCO stays and the output follows, or (LockFo)
        // the output stays and the VCO moves; back at 1, the output is the VCO's.
        row("divider, VCO stays", "Odiv=2", "Fo Fv ChipType StepLbl Reg4 QuickUpdate",
            "1160.125|2320.25 MHz|LMX2541-2380E  #408001|Step =  20.|FF4820A4|"
            "Quick Freq Update (hidden) (disabled)");
        row("divider captions", "Odiv=2", "ODivlabel OPResLabel",
            "Output Divider 2|Divided O/P Resolution  Hz");
        row("divider back at 1", "Odiv=2;Odiv=1", "Fo StepLbl OPResLabel",
            "2320.25||O/P Resolution  Hz");
        row("divider, output fixed", "LockFo=1;Odiv=2", "Fo Fv ChipType Reg4",
            " 2320.25|4640.5 MHz|Invalid Frequency Range #ff0000|FF4820A4");
        row("fixed output back at 1", "LockFo=1;Odiv=2;Odiv=1", "Fo Fv", " 2320.25|2320.25 MHz");
        row("rounded output moves the VCO", "Odiv=3", "Fo Fv StepLbl",
            "773.41667|2320.25001 MHz|Step =  30.00003");
        row("rounded output back at 1", "Odiv=3;Odiv=1", "Fo", "2320.25001");
        row("whole output keeps two decimals", "Fo=2320;Odiv=2", "Fo Fv", "1160.00|2320.0 MHz");
        row("divider of a multiplied output", "RFMultText=2;Odiv=2", "Fo", "1160.125");

        // With the doubler, R is 1; the scroll bar keeps its value for later.
        row("doubler", "Rscroll=5;RefDbl=1", "Rlabel Rscroll Fc",
            "R divider 5 (hidden)|1..4096 = 5 (hidden)|20000. kHz #0000ff");
        row("doubler off", "Rscroll=5;RefDbl=1;RefDbl=0", "Rlabel Rscroll Fc",
            "R divider 5|1..4096 = 5|2000. kHz #0000ff");
        // Leaving the external VCO clears the polarity through the polarity
        // box's own handler, which recalculates once more.
        row("external VCO", "ExtVCO=1", "CPP Reg3", "-Ve CPP [ ]|00A87313");
        row("polarity", "ExtVCO=1;CPP=1", "CPP Reg3", "+ CPP [x]|00AA7313");
        row("external VCO off", "ExtVCO=1;CPP=1;ExtVCO=0", "CPP Reg3 recalcs",
            "-- CPP [ ] (hidden)|00A87303|4");
        row("multiplier 0 keeps the factor", "Fo=4640.5;RFMultText=2;RFMultText=0", "Fv Dn",
            "2320.25 MHz|D =    2000000");
        row("settings", "CPGscroll=31;Dither=3;Order=1;Mux=13;OutTerm=0;VcoGain=15",
            "CPGlabel DitherLabel OrderLabel MuxCaption OutTermLabel VcoGainLabel Reg6",
            " 32| No Dither|Order  1|PFD Down| 0 Out Term| 15 VCO Gain|001FC326");

        // Setting a control to the value it has runs nothing; while the window
        // is not ready, a change sets its own caption and nothing else, and the
        // next recalculation picks it up.
        row("same values", "Fo= 2320.25;Fr= 10;Res= 10;RFMultText=1;Rscroll=1;RefDbl=0;Odiv=1",
            "recalcs CPGlabel", "0| 20 ");
        row("same settings", "ExtVCO=0;CPGscroll=19;CPP=0;Order=2;Mux=3;DivGain=12",
            "recalcs CPGlabel MuxCaption", "0| 20 |Dig Lock Det High");
        row("held Fr", "hold;Fr=12.8", "Fc recalcs", " 12.8 #0000ff|0");
        row("held R", "hold;Rscroll=3", "Rlabel recalcs", "R divider 3|0");
        row("held doubler", "hold;RefDbl=1", "Rlabel recalcs", "R divider 1 (hidden)|0");
        row("held divider", "hold;Odiv=2", "Fo recalcs", "1160.125|0");
        row("held external VCO", "hold;ExtVCO=1", "CPP recalcs", "-Ve CPP [ ]|0");
        row("held settings", "hold;CPGscroll=31;Order=1;Mux=13;DivGain=3",
            "CPGlabel OrderLabel MuxCaption DivGainLabel recalcs",
            " 32|Order  1|PFD Down| 3 Div Gain|0");
        row("held texts", "hold;Fo=1000;Res=4;RFMultText=2", "Fo Dn recalcs",
            "1000|D =    1000000|0");
        row("held, then recalculated", "hold;Res=4;Rscroll=2;ready;Order=1", "Dn Fc recalcs",
            "D =    1250000|5000. kHz #0000ff|1");

        // A refused plan changes nothing but D (red) and the status line (and
        // hides an export on screen); the reason stays until the next defined plan.
        const QString coarse =
            "Resolution is coarser than the comparison frequency allows: no denominator";
        row("refused plan", "Res=100000000", "Dn PlanStatus recalcs Text1:6",
            "D =    0 #ff0000|" + coarse + "|0|          1    00000011         0    61A80E80");
        row("refusal stays", "Res=100000000;Order=1", "PlanStatus", coarse);
        row("defined plan again", "Res=100000000;Order=1;Res= 10", "Dn PlanStatus recalcs",
            "D =    1000000||1");
        // A plan formed from a substitute value says so on the status line.
        row("Fo of letters", "Fo=abc", "Fv Dn PlanStatus",
            "0000.0 MHz|D =    1000000|VCO 0.0 MHz is outside the chip's 1900-4000 MHz: no output "
            "divider from 1 to 63 brings it in range; Output Freq: \"abc\" is read as 0");
        row("Res of letters", "Res=abc", "Dn PlanStatus",
            "D =    1000000000 #ff0000|D = 1000000000 does not fit register 2 (it must stay below "
            "4194304): choose a coarser resolution; Resolution: \"abc\" is read as 0");

        // The WSJT modes write their caption and resolution; a click into the
        // resolution box names the MFSK mode and changes nothing else.
        row("mode", "ChgWSJT=1", "WSJT Res Dn", "JT65A|2.69165|D =    3715193");
        row("click into Res", "ChgWSJT=1;Res", "WSJT Res recalcs", "MFSK Mode|2.69165|1");
        row("mode 0 again", "ChgWSJT=1;ChgWSJT=0", "WSJT Res Dn", "MFSK Mode|10.|D =    1000000");
        // Each step goes through the text of Fo, so steps back retrace it.
        row("step up", "QStepUp", "Fo Reg0", "2320.25001|61A90E80");
        row("step down in JT65A", "ChgWSJT=1;QStepDn", "Fo", "2320.24999730835");
        row("ten up, ten down", "ChgWSJT=15;QStepUp*10;QStepDn*10", "Fo", "2320.25");
        row("step while not ready", "hold;QStepUp", "Fo Reg0 recalcs", "2320.25001|61A80E80|0");

        // A listing always belongs to the plan on screen: Export recalculates a
        // ready window first, any recalculation hides a listing on screen, and
        // a refused plan gets no listing. While the window is not ready, the
        // words are listed as they stand, under the texts as they stand.
        row("export", "Export", "ExpForm PasteText:2 PasteText:14",
            "|  ;  R =  1      D =  1000000      N =  232      F =  25000|"
            "   de  0x61, 0xA8, 0x0E, 0x80    ;  Reg0   ");
        row("export while not ready", "hold;Fo=2320.5;Export", "PasteText:1 PasteText:2",
            "  ;  Fout 2320.5MHz  Resolution  10Hz|"
            "  ;  R =  1      D =  1000000      N =  232      F =  25000");
        row("export recalculates first", "hold;Rscroll=2;ready;Export", "PasteText:2",
            "  ;  R =  2      D =  500000      N =  464      F =  25000");
        row("recalculation hides the export", "Export;Fo=2320.5", "ExpForm", " (hidden)");
        row("export of a refused plan", "Res=1e9;Export", "PasteText",
            "No plan for these inputs (see the status line); correct them to get a PIC listing");
        // One FSK window, reading the plan and its own shift afresh at every press.
        row("FSK window", "Reg2FSK;Reg2FSK", "FSKReg2 FSKShift GenNewD NewDResults",
            "|-400|Generate D data|");
        row("FSK report", "Reg2FSK;GenNewD", "NewDResults:4 recalcs", "New Denom    1001603|0");
        row("FSK of the live plan", "Reg2FSK;GenNewD;Odiv=2;GenNewD", "NewDResults:4",
            "New Denom    501605");
        row("FSK shift not a number", "Reg2FSK;FSKShift=minus 400;GenNewD", "NewDResults",
            "FSK Shift must be a number, for example -400");
        row("FSK reads the multiplier box", "Reg2FSK;RFMultText=0;GenNewD", "NewDResults",
            "RF Mult must be a number other than 0, for example 1");
    }

    void actionsThenStateShown() {
        QFETCH(QString, actions);
        QFETCH(QString, names);
        MainWindow window;
        QSignalSpy recalculations(&window, &MainWindow::recalculated);
        act(window, actions);
        QStringList shown;
        for (const QString& name : names.split(' '))
            if (name == "recalcs")
                shown << QString::number(recalculations.count());
            else if (name.startsWith("Reg") && name != "Reg2FSK")
                shown << QString::fromStdString(
                    kelvane::hexWord(window.state().registers[name.mid(3).toInt()]));
            else
                shown << shownStates(window, name);
        QTEST(shown.join('|'), "state");
    }

    // The export box shows the largest listing whole and copies it.
    void largestListingShowsWhole() {
        MainWindow window;
        window.controls().Export->click();
        auto* form = window.findChild<kelvane::ui::ExportWindow*>();
        QVERIFY(form && form->isWindow());
        form->setListing(kelvane::picListing({.fo = "3999.99999999", .res = "0.001"},
                                             {.r = 4096, .rfMult = 16},
                                             {.denom = 4194303, .n = 262143, .fract = 4194303}, {})
                             .text);
        QVERIFY(QTest::qWaitForWindowExposed(form));
        auto* box = form->findChild<QPlainTextEdit*>("PasteText");
        QVERIFY(QFontInfo(box->font()).fixedPitch());
        QCOMPARE(box->verticalScrollBar()->maximum(), 0);
        QCOMPARE(box->horizontalScrollBar()->maximum(), 0);
        box->selectAll();
        QTest::keySequence(box, QKeySequence::Copy);
        QCOMPARE(QApplication::clipboard()->text(), box->toPlainText());
    }

    // A scroll bar moves towards the end drawn at its top with the Up key, the
    // page step up, the Home key and the wheel turned up, whether that end is
    // its largest value or its smallest.
    void upMovesTowardsTheTop_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("moves"); // after Up, Down, PageUp, PageDown, Home, End, wheel up
        QTest::newRow("largest value at the top") << "CPGscroll"
                                                  << "16 15 16 15 31 0 1";
        QTest::newRow("smallest value at the top") << "Odiv"
                                                   << "30 31 30 31 1 63 62";
    }

    void upMovesTowardsTheTop() {
        QFETCH(QString, name);
        MainWindow window;
        auto* bar = window.findChild<QScrollBar*>(name);
        bar->setValue(bar->maximum() / 2);
        QStringList moves;
        for (Qt::Key key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown,
                            Qt::Key_Home, Qt::Key_End}) {
            QTest::keyClick(bar, key);
            moves << QString::number(bar->value());
        }
        const QPointF at(bar->width() / 2.0, bar->height() / 2.0);
        QWheelEvent wheel(at, bar->mapToGlobal(at), {}, QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(bar, &wheel);
        QTEST(moves.join(' ') + " " + QString::number(bar->value()), "moves");
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
