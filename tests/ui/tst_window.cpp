// The window without a board: handler chains, modes, keys, accessibility, setups and position.

#include "export/pic_listing.h"
#include "model/hex.h"
#include "ui/export_window.h"
#include "ui/fsk_window.h"
#include "ui/main_window_controls.h"
#include "ui/setup_controller.h"
#include "ui/tools_menu.h"
#include "window_support.h"

using kelvane::ui::MainWindow;
using kelvane::ui::SetupController;
using namespace window_support;

namespace {

// The columns of a listing line up: every character the box shows takes the
// same advance in its font (whatever fontconfig says of the font's pitch).
bool evenlySpaced(const QPlainTextEdit* box) {
    const QFontMetrics metrics(box->font());
    const QString text = box->toPlainText().remove('\n');
    if (text.isEmpty()) return false;
    const int advance = metrics.horizontalAdvance(text.front());
    return std::all_of(text.begin(), text.end(),
                       [&](QChar ch) { return metrics.horizontalAdvance(ch) == advance; });
}

} // namespace

class TestWindow : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    std::unique_ptr<MainWindow> reused_; // opens every row's setup over the one before
    SetupController* reusedSetups_ = nullptr;

private slots:
    void initTestCase() {
        isolateSettings(dir_);
        QApplication::setQuitOnLastWindowClosed(false);
        reused_ = std::make_unique<MainWindow>();
        reusedSetups_ = &reused_->setups();
    }

    // "recalcs": the recalculations the actions ran; "Reg4": a register word.
    void actionsThenStateShown_data() {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("names");
        QTest::addColumn<QString>("state");
        auto row = [](const char* name, const char* actions, const char* names,
                      const QString& state) { QTest::newRow(name) << actions << names << state; };
        row("start", "", "Fo CPP Rscroll Odiv CPGscroll Mux MuxCaption Fv Fc Dn ChipType Text1:6",
            " 2320.25|-Ve CPP [ ] (hidden)|1..4096 = 1|1..63 = 1|31..0 = 19|13..0 = 3|"
            "Dig Lock Det High|2320.25 MHz|10000. kHz #0000ff|D =    1000000|"
            "LMX2541-2380E  #408001|          1    00000011         0    61A80E80");

        // Either the VCO stays and the output follows, or (LockFo) the other way round.
        row("divider, VCO stays", "Odiv=2", "Fo Fv StepLbl Reg4 ODivlabel OPResLabel QuickUpdate",
            "1160.125|2320.25 MHz|Step =  20.|FF4820A4|Output Divider 2|Divided O/P Resolution  Hz|"
            "Quick Freq Update (hidden) (disabled)");
        row("divider back at 1", "Odiv=2;Odiv=1", "StepLbl OPResLabel", "|O/P Resolution  Hz");
        row("divider, output fixed", "LockFo=1;Odiv=2", "Fo Fv ChipType Reg4",
            " 2320.25|4640.5 MHz|Invalid Frequency Range #ff0000|FF4820A4");
        row("rounded output moves the VCO", "Odiv=3", "Fo Fv StepLbl",
            "773.41667|2320.25001 MHz|Step =  30.00003");
        row("doubler", "Rscroll=5;RefDbl=1", "Rlabel Rscroll Fc",
            "R divider 5 (hidden)|1..4096 = 5 (hidden)|20000. kHz #0000ff");
        row("doubler off", "Rscroll=5;RefDbl=1;RefDbl=0", "Rlabel Rscroll Fc",
            "R divider 5|1..4096 = 5|2000. kHz #0000ff");
        // Leaving the external VCO clears the polarity through that box's handler: 4 runs.
        row("polarity", "ExtVCO=1;CPP=1", "CPP Reg3", "+ CPP [x]|00AA7313");
        row("external VCO off", "ExtVCO=1;CPP=1;ExtVCO=0", "CPP Reg3 recalcs",
            "-- CPP [ ] (hidden)|00A87303|4");
        row("settings", "CPGscroll=31;Dither=3;Order=1;Mux=13;OutTerm=0;VcoGain=15",
            "CPGlabel DitherLabel OrderLabel MuxCaption OutTermLabel VcoGainLabel Reg6",
            " 32| No Dither|Order  1|PFD Down| 0 Out Term| 15 VCO Gain|001FC326");

        // Only a real change runs a handler; held, a handler sets only its own caption.
        row("same values",
            "Fo= 2320.25;Fr= 10;Res= 10;RFMultText=1;Rscroll=1;RefDbl=0;Odiv=1;ExtVCO=0;"
            "CPGscroll=19;CPP=0;Order=2;Mux=3;DivGain=12",
            "recalcs", "0");
        row("held", "hold;Fr=12.8;Odiv=2;ExtVCO=1;CPGscroll=31;Order=1;Mux=13;DivGain=3",
            "Fc Fo CPP CPGlabel OrderLabel MuxCaption DivGainLabel recalcs",
            " 12.8 #0000ff|1160.125|-Ve CPP [ ]| 32|Order  1|PFD Down| 3 Div Gain|0");
        row("held R, doubler and texts", "hold;Rscroll=3;RefDbl=1;Fo=1000;Res=4;RFMultText=2",
            "Rlabel Fo Dn recalcs", "R divider 3 (hidden)|1000|D =    1000000|0");
        row("held, then recalculated", "hold;Res=4;Rscroll=2;ready;Order=1", "Dn Fc recalcs",
            "D =    1250000|5000. kHz #0000ff|1");

        // A refused plan changes only D and the status line, until a plan is defined again.
        const QString coarse =
            "Resolution is coarser than the comparison frequency allows: no denominator";
        row("refused plan", "Res=100000000", "Dn PlanStatus recalcs Text1:6",
            "D =    0 #ff0000|" + coarse + "|0|          1    00000011         0    61A80E80");
        row("refusal stays", "Res=100000000;Order=1", "PlanStatus", coarse);
        row("cues in words", "Fo=1160,125", "PlanStatus",
            "VCO 1160.0 MHz is outside the chip's 1900-4000 MHz: output divider 2 brings it in "
            "range; Output Freq: \"1160,125\" is read as 1160: use a point");
        row("defined plan again", "Res=100000000;Order=1;Res= 10", "Dn PlanStatus recalcs",
            "D =    1000000||1");

        // Each step goes through the text of Fo, so steps back retrace it.
        row("mode", "ChgWSJT=1", "WSJT Res Dn", "JT65A|2.69165|D =    3715193");
        row("click into Res", "ChgWSJT=1;Res", "WSJT Res recalcs", "MFSK Mode|2.69165|1");
        row("step up", "QStepUp", "Fo Reg0", "2320.25001|61A90E80");
        row("ten up, ten down", "ChgWSJT=15;QStepUp*10;QStepDn*10", "Fo", "2320.25");
        row("step while not ready", "hold;QStepUp", "Fo Reg0 recalcs", "2320.25001|61A80E80|0");

        // A listing belongs to the plan on screen; held, it lists words and texts as they stand.
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
        // Fc keeps the last plan's caption, not the MHz preview; the listing stays, hidden.
        row("refused plan after export and FSK", "Export;Reg2FSK;Fr=1e9;GenNewD",
            "ExpForm PasteText:2 Fc NewDResults",
            " (hidden)|  ;  R =  1      D =  1000000      N =  232      F =  25000|"
            "10000. kHz #0000ff|"
            "No plan for these inputs (see the status line); correct them to get FSK data");
        // One FSK window, reading the plan and the multiplier box afresh at every press.
        row("FSK of the live plan", "Reg2FSK;GenNewD;Odiv=2;Reg2FSK;GenNewD",
            "FSKShift NewDResults:4", "-400|New Denom    501605");
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

    // Only a left click into Res means an MFSK spacing typed by hand.
    void typingClicksAndEnter() {
        MainWindow window;
        auto& c = window.controls();
        QTest::keyClicks(c.Text1, "typed");
        QVERIFY(c.Text1->toPlainText().contains("typed"));
        QTest::mouseClick(c.Res, Qt::RightButton);
        QTest::mouseClick(c.Res, Qt::MiddleButton);
        QCOMPARE(c.WSJT->text(), "WSJT Mode Step");
        c.Reg2FSK->click();
        QTest::keyClick(window.findChild<QLineEdit*>("FSKShift"), Qt::Key_Return);
        QCOMPARE(shownStates(window, "NewDResults:4"), "New Denom    1001603");
    }

    // The output divider dragged from 1 to 7 rounds Fo from the VCO once, at the end.
    void thumbDragNotifiesAtItsEnd() {
        const QList<QPair<QString, int>> drags{
            {"Rscroll", 4}, {"Odiv", 7},    {"CPGscroll", 15}, {"Dither", 3},  {"Order", 0},
            {"Mux", 7},     {"OutTerm", 8}, {"VcoGain", 15},   {"DivGain", 9}, {"ChgWSJT", 4}};
        for (const auto& [name, to] : drags) {
            MainWindow window;
            auto* bar = window.findChild<QScrollBar*>(name);
            QSignalSpy changes(bar, &QScrollBar::valueChanged);
            const int step = to > bar->value() ? 1 : -1;
            bar->setSliderDown(true);
            for (int position = bar->value() + step; position != to + step; position += step)
                bar->setSliderPosition(position);
            QVERIFY2(changes.isEmpty(), qPrintable(name));
            bar->setSliderDown(false);
            QVERIFY2(changes.count() == 1 && bar->value() == to, qPrintable(name));
            QCOMPARE(window.controls().Fo->text(), name == "Odiv" ? "331.46429" : " 2320.25");
        }
    }

    // Values after Up, Down, PageUp, PageDown, Home, End and the wheel turned up, for a bar
    // with its largest value at the top and one with its smallest.
    void upMovesTowardsTheTop() {
        for (const auto& [name, expected] : {std::pair{"CPGscroll", "16 15 16 15 31 0 1"},
                                             std::pair{"Odiv", "30 31 30 31 1 63 62"}}) {
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
            QCOMPARE(moves.join(' ') + " " + QString::number(bar->value()), expected);
        }
    }

    // A click also gives a bar the focus for its keys.
    void tabFollowsReadingOrder() {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.controls().Fo->setFocus();
        QStringList visited{"Fo"};
        for (int i = 0; i < 19; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited.join(' '), "Fo Fr Res RFMultText Rscroll RefDbl Odiv LockFo ExtVCO "
                                    "CPGscroll Mux Order Dither OutTerm VcoGain DivGain Text1 "
                                    "CPNo SetCP ChgWSJT");
        for (const char* bar : {"Rscroll", "Odiv", "CPGscroll", "Mux"})
            QCOMPARE(window.findChild<QWidget*>(bar)->focusPolicy(), Qt::StrongFocus);
    }

    // Only controls without a caption carry an accessible name, so that a screen reader
    // reads a label's or button's live caption.
    void everyControlNamesAndExplainsItself() {
        MainWindow window;
        QCOMPARE(window.objectName(), "LMX2541");
        act(window, "Reg2FSK;Export");
        int named = 0;
        for (const QWidget* widget : window.findChildren<QWidget*>()) {
            const QString name = widget->objectName();
            if (name.isEmpty() || name.startsWith("qt_")) continue;
            ++named;
            QCOMPARE(widget->accessibleDescription(), name);
            const bool button = qobject_cast<const QAbstractButton*>(widget);
            const bool captioned = button || qobject_cast<const QLabel*>(widget);
            const bool input =
                qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QScrollBar*>(widget);
            if (captioned || input || qobject_cast<const QPlainTextEdit*>(widget))
                QVERIFY2(captioned == widget->accessibleName().isEmpty(), qPrintable(name));
            if (widget->window() == &window && (input || button))
                QVERIFY2(!widget->toolTip().isEmpty(), qPrintable(name));
        }
        QVERIFY(named >= 75);
        QCOMPARE(window.controls().Fo->accessibleName(), "Output frequency, MHz");
        QVERIFY(evenlySpaced(window.controls().Text1));
        for (const char* display :
             {"Fv", "Fc", "Dn", "Frlabel", "Nlabel", "StepLbl", "OPerr", "ChipType", "Text1"})
            QVERIFY2(!window.findChild<QWidget*>(display)->toolTip().isEmpty(), display);
    }

    // Captions of another length leave the boxes and bars in place; the largest listing fits.
    void layoutHoldsStill() {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto& c = window.controls();
        const auto lefts = [&] {
            QList<int> xs;
            for (QWidget* widget : QList<QWidget*>{c.Fo, c.Rscroll, c.Odiv, c.VcoGain, c.DivGain})
                xs << widget->mapTo(&window, QPoint()).x();
            return xs;
        };
        const QList<int> before = lefts();
        act(window, "Odiv=2;Rscroll=4096;OutTerm=5;CPGscroll=31");
        QApplication::processEvents();
        QCOMPARE(lefts(), before);

        c.Export->click();
        auto* form = window.findChild<kelvane::ui::ExportWindow*>();
        form->setListing(kelvane::picListing({.fo = "3999.99999999", .res = "0.001"},
                                             {.r = 4096, .rfMult = 16},
                                             {.denom = 4194303, .n = 262143, .fract = 4194303}, {})
                             .text);
        QVERIFY(QTest::qWaitForWindowExposed(form));
        auto* box = form->findChild<QPlainTextEdit*>("PasteText");
        QVERIFY(evenlySpaced(box));
        QCOMPARE(box->verticalScrollBar()->maximum() + box->horizontalScrollBar()->maximum(), 0);
    }

    // OK writes the reference box as typing does; a measurement it refuses leaves OK off.
    void calibrate() {
        MainWindow window;
        kelvane::ui::ToolsMenu& tools = window.tools();
        const std::tuple<QString, QString, QString> cases[]{
            {"1160.125", "Measured output 1160.125 MHz lies 500000.0 ppm from the achieved",
             " 10|10000. kHz #0000ff"},
            {"2320.25232025", "\nCorrected reference: 10.00001 MHz",
             "10.00001|10000.01 kHz #0000ff"}};
        for (const auto& [measured, result, reference] : cases) {
            QString shown;
            QTimer::singleShot(0, &window, [&] {
                auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                dialog->findChild<QLineEdit*>("Measured")->setText(measured);
                shown = shownStates(*dialog, "Achieved Result");
                auto* buttons = dialog->findChild<QDialogButtonBox*>("Buttons");
                const bool ok = buttons->button(QDialogButtonBox::Ok)->isEnabled();
                buttons->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
            });
            tools.calibrateAction()->trigger();
            QVERIFY2(shown.startsWith("2320.25 MHz|") && shown.contains(result), qPrintable(shown));
            QCOMPARE(shownStates(window, "Fr Fc"), reference);
        }
    }

    void openGivesWhatTypingGives_data() {
        QTest::addColumn<QString>("typing");
        QTest::newRow("plan refused") << "Res=1e9;Odiv=3;Fo=800";
        QTest::newRow("low ends, divided, text as typed")
            << "Fr= 12.8;Res= 1;Rscroll=4;Odiv=2;Fo=  1160.125 ;CPGscroll=0;Dither=0;Order=0;"
               "Mux=0;OutTerm=0;VcoGain=0;DivGain=0";
        QTest::newRow("high ends, doubler, fixed output, external VCO")
            << "RFMultText=2;Rscroll=4096;RefDbl=1;LockFo=1;Fo=100;Odiv=63;ExtVCO=1;CPP=1;"
               "CPGscroll=31;Dither=3;Order=4;Mux=13;OutTerm=15;VcoGain=15;DivGain=15";
    }
    void openGivesWhatTypingGives() {
        QFETCH(QString, typing);
        MainWindow typed;
        act(typed, typing);
        const QString path = dir_.filePath(QTest::currentDataTag() + QString(".kelvane"));
        QVERIFY(typed.setups().saveAs(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        // The words of the listing on screen, Reg0 last; none for a refused plan.
        const QString listing = typed.controls().Text1->toPlainText().trimmed();
        QCOMPARE(QJsonDocument::fromJson(file.readAll())["registers"]["0"].toString(),
                 typed.planDefined() ? listing.right(8) : "");
        MainWindow fresh;
        QVERIFY(fresh.setups().open(path));
        QCOMPARE(snapshot(fresh), snapshot(typed));
        QVERIFY(fresh.inputs() == typed.inputs());
        QVERIFY(reusedSetups_->open(path));
        QCOMPARE(snapshot(*reused_), snapshot(typed));
    }

    // The caption's "*" marks inputs that differ from the file.
    void setupFileAndCaption() {
        MainWindow window;
        SetupController& setups = window.setups();
        act(window, "Odiv=5");
        const auto before = snapshot(window);
        const QString bad = writeSetup(dir_, "bad.kelvane", R"("inputs": {"fo": "1", "mux": 14})");
        {
            BoxCloser closer;
            QVERIFY(!setups.open(bad));
            QVERIFY(closer.text.startsWith("Open Setup: " + bad + ": input \"mux\""));
        }
        QCOMPARE(snapshot(window), before);
        QCOMPARE(window.windowTitle(), "Kelvane " KELVANE_VERSION);

        const QString path =
            writeSetup(dir_, "lo.kelvane", R"("name": "10368 LO", "inputs": {"fo": "10368"})");
        QVERIFY(setups.open(path));
        QCOMPARE(window.windowTitle(), "10368 LO[*] - Kelvane " KELVANE_VERSION);
        QVERIFY(!window.isWindowModified());
        act(window, "Mux=5");
        QVERIFY(window.isWindowModified());
        act(window, "Mux=3");
        QVERIFY(!window.isWindowModified());
        act(window, "Mux=5");
        window.show();
        for (const auto answer : {QMessageBox::Cancel, QMessageBox::Save}) {
            BoxCloser closer(answer);
            QCOMPARE(window.close(), answer == QMessageBox::Save);
            QVERIFY(closer.shown());
        }
        QVERIFY(setups.open(path, true)); // Open and Send, with no port open
        QCOMPARE(shownStates(window, "LinkStatus"),
                 "Update all registers: the port is not open; nothing sent");
        QCOMPARE(window.controls().Mux->value(), 5);
        QCOMPARE(windowSettings()->value("Setups/Recent").toStringList().first(), path);
    }

    // A setup opened inside a hold leaves the outer hold in force: the listing
    // waits for whoever took it, who learns that a recalculation was skipped.
    void holdsNest() {
        const QString path = writeSetup(dir_, "held.kelvane", R"("inputs": {"mux": 5})");
        MainWindow window;
        const QString listing = window.controls().Text1->toPlainText();
        {
            const auto outer = window.holdRecalculation();
            QVERIFY(window.setups().open(path));
            QVERIFY(window.recalculationHeld());
            QVERIFY(window.recalculationSkipped());
            QCOMPARE(window.controls().Text1->toPlainText(), listing);
        }
        QVERIFY(!window.recalculationHeld());
        window.recalculate();
        QVERIFY(window.controls().Text1->toPlainText() != listing);
    }

    // Not the path typed into the box the file is dropped on: the setup itself.
    void droppedOnATextBoxOpens() {
        const QString path = writeSetup(dir_, "dropped.kelvane", R"("inputs": {"fr": " 12.8"})");
        MainWindow window;
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        data.setText(path);
        QLineEdit* box = window.controls().Fo;
        QDragEnterEvent enter({1, 1}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &enter);
        QDropEvent drop({1, 1}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &drop);
        QTRY_COMPARE(window.controls().Fr->text(), " 12.8");
        QCOMPARE(box->text(), " 2320.25");
    }

    // Stored in twips (96 dpi here: 15 a pixel); closing writes back what was read unless
    // the window moved. The unreadable store comes last, as it stays a folder.
    void position_data() {
        QTest::addColumn<QByteArray>("stored"); // "<folder>": a store that cannot be read
        QTest::addColumn<QPoint>("movedTo");    // (0, 0): not moved
        QTest::addColumn<QString>("shown");     // where it opens, then what closing stores
        auto row = [](const char* name, const QByteArray& stored, QPoint movedTo,
                      const char* shown) { QTest::newRow(name) << stored << movedTo << shown; };
        row("left-hand monitor", "[FormPLace]\nLeft=-1000\nTop=\" 1000.5\"\n", {},
            "-67,67 -1000| 1000.5");
        row("off every screen", "[FormPLace]\nLeft=1000000\nTop=-1000000\n", {}, "0,7  0| 105");
        row("moved", "", {150, 200}, "0,7  2250| 3000");
        row("unreadable", "<folder>", {}, "0,7  0| 100");
    }
    void position() {
        QFETCH(QByteArray, stored);
        QFETCH(QPoint, movedTo);
        const QString path = windowSettings()->fileName();
        QDir(path).removeRecursively();
        QFile::remove(path);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path); // root reads any file, but no folder as a file
        QVERIFY(stored == "<folder>" ? QDir().mkpath(path)
                                     : file.open(QIODevice::WriteOnly) && file.write(stored) >= 0);
        file.close();
        auto window = std::make_unique<MainWindow>();
        QString shown = QString("%1,%2 ").arg(window->pos().x()).arg(window->pos().y());
        if (!movedTo.isNull()) window->move(movedTo);
        window->close();
        window.reset();
        const auto settings = windowSettings();
        shown += settings->value("FormPLace/Left").toString() + "|" +
                 settings->value("FormPLace/Top").toString();
        QTEST(shown, "shown");
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
