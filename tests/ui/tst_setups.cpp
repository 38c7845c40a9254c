// Setups in the window: a saved setup opens to the same window as typing its
// values, over whatever the window showed before; a refused file changes
// nothing; the caption follows the file; the Setups window lists a folder.

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QMimeData>
#include <QTreeWidget>
#include <QtTest>

#include "ui/main_window_controls.h"
#include "ui/setup_controller.h"
#include "ui/setups_window.h"
#include "window_support.h"

using kelvane::ui::MainWindow;
using kelvane::ui::SetupController;
using namespace window_support;

namespace {

// Answers the next Save / Discard / Cancel question with `button`, once it shows.
void answerNextQuestion(QMessageBox::StandardButton button) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, button] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            timer->deleteLater();
            box->button(button)->click();
        }
    });
    timer->start(5);
}

// Writes a setup file of the given JSON members into the folder.
QString writeSetup(const QTemporaryDir& dir, const QString& name, const QByteArray& members) {
    QFile file(dir.filePath(name));
    if (file.open(QIODevice::WriteOnly))
        file.write(R"({"format": "kelvane-setup", "version": 1, )" + members + "}");
    return file.fileName();
}

} // namespace

class TestSetups : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    std::unique_ptr<MainWindow> reused_; // opens every row's setup over the one before
    SetupController* reusedSetups_ = nullptr;

private slots:
    void initTestCase() {
        isolateSettings(dir_);
        reused_ = std::make_unique<MainWindow>();
        reusedSetups_ = new SetupController(*reused_, *reused_);
    }

    // Control=value, in the order a user might type them.
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
    // Displays, words, captions, colours and the status line alike, in a new
    // window and over the last row's; the inputs read back as saved.
    void openGivesWhatTypingGives() {
        QFETCH(QString, typing);
        MainWindow typed;
        act(typed, typing);
        const QString path = dir_.filePath(QTest::currentDataTag() + QString(".kelvane"));
        QVERIFY(SetupController(typed, typed).saveAs(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        // The words of the listing on screen, Reg0 last; none for a refused plan.
        const QString listing = typed.controls().Text1->toPlainText().trimmed();
        QCOMPARE(QJsonDocument::fromJson(file.readAll())["registers"]["0"].toString(),
                 typed.planDefined() ? listing.right(8) : "");
        MainWindow fresh;
        QVERIFY(SetupController(fresh, fresh).open(path));
        QCOMPARE(snapshot(fresh), snapshot(typed));
        QVERIFY(fresh.inputs() == typed.inputs());
        QVERIFY(reusedSetups_->open(path));
        QCOMPARE(snapshot(*reused_), snapshot(typed));
    }

    void refusedFileChangesNothing() {
        MainWindow window;
        SetupController setups(window, window);
        act(window, "Odiv=5");
        const auto before = snapshot(window);
        const QString path = writeSetup(dir_, "bad.kelvane", R"("inputs": {"fo": "1", "mux": 14})");
        BoxCloser closer;
        QVERIFY(!setups.open(path));
        QVERIFY(closer.text.startsWith("Open Setup: " + path + ": input \"mux\""));
        QCOMPARE(snapshot(window), before);
        QCOMPARE(window.windowTitle(), "Kelvane " KELVANE_VERSION);
    }

    // The name and "*" while the inputs differ from the file; closing with
    // changes asks, Cancel keeps the window open, Save writes the file.
    void captionFollowsTheFile() {
        const QString path =
            writeSetup(dir_, "lo.kelvane", R"("name": "10368 LO", "inputs": {"fo": "10368"})");
        MainWindow window;
        SetupController setups(window, window);
        QVERIFY(setups.open(path));
        QCOMPARE(window.windowTitle(), "10368 LO[*] - Kelvane " KELVANE_VERSION);
        QVERIFY(!window.isWindowModified());
        act(window, "Mux=5");
        QVERIFY(window.isWindowModified());
        act(window, "Mux=3");
        QVERIFY(!window.isWindowModified());
        act(window, "Mux=5");
        window.show();
        answerNextQuestion(QMessageBox::Cancel);
        QVERIFY(!window.close());
        answerNextQuestion(QMessageBox::Save);
        QVERIFY(window.close());
        QVERIFY(setups.open(path));
        QCOMPARE(window.controls().Mux->value(), 5);
        QCOMPARE(windowSettings()->value("Setups/Recent").toStringList().first(), path);
    }

    void setupsWindowListsAFolder() {
        QTemporaryDir folder;
        const QString path = writeSetup(folder, "a.kelvane", R"("name": "Beacon",
            "note": "24048 MHz\nsecond line", "inputs": {"fo": " 2004", "rfmult": "12"})");
        QFile bad(folder.filePath("b.kelvane"));
        QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write("{") == 1);
        bad.close();
        MainWindow window;
        SetupController setups(window, window);
        setups.setupsWindow().setFolder(folder.path());
        auto* list = setups.setupsWindow().findChild<QTreeWidget*>("SetupList");
        QCOMPARE(list->topLevelItemCount(), 2);
        const QTreeWidgetItem* good = list->topLevelItem(0);
        QCOMPARE(good->text(0) + "|" + good->text(1) + "|" + good->text(2),
                 "Beacon|2004 MHz|24048 MHz");
        QVERIFY(list->topLevelItem(1)->text(2).contains("b.kelvane: not JSON"));
        emit list->itemDoubleClicked(list->topLevelItem(0), 0);
        QCOMPARE(window.controls().Fo->text(), " 2004");
        QCOMPARE(setups.path(), path);
    }

    // Not the path typed into the box the file is dropped on: the setup itself.
    void droppedOnATextBoxOpens() {
        const QString path = writeSetup(dir_, "dropped.kelvane", R"("inputs": {"fr": " 12.8"})");
        MainWindow window;
        SetupController setups(window, window);
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
};

QTEST_MAIN(TestSetups)
#include "tst_setups.moc"
