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

#include "box_closer.h"
#include "ui/main_window_controls.h"
#include "ui/setup_controller.h"
#include "ui/setups_window.h"
#include "window_support.h"

using kelvane::ui::MainWindow;
using kelvane::ui::SetupController;
using namespace window_support;

namespace {

// Control name and value, in the order a user might type them.
using Typing = QList<QPair<QString, QString>>;

// Answers the next Save / Discard / Cancel question with `button`, once it shows.
void answerNextQuestion(QMessageBox::StandardButton button) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        timer->deleteLater();
        box->button(button)->click();
    });
    timer->start(5);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestSetups : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void openGivesWhatTypingGives_data();
    void openGivesWhatTypingGives();
    void refusedFileChangesNothing();
    void captionFollowsTheFile();
    void setupsWindowListsAFolder();
    void droppedOnATextBoxOpens();

private:
    QTemporaryDir dir_;
    std::unique_ptr<MainWindow> reused_; // opens every row's setup over the one before
    SetupController* reusedSetups_ = nullptr;
};

void TestSetups::initTestCase() {
    isolateSettings(dir_);
    reused_ = std::make_unique<MainWindow>();
    reusedSetups_ = new SetupController(*reused_, *reused_);
}

void TestSetups::openGivesWhatTypingGives_data() {
    QTest::addColumn<Typing>("typing");
    QTest::newRow("low ends, divided, text as typed")
        << Typing{{"Fr", " 12.8"},       {"Res", " 1"},      {"Rscroll", "4"}, {"Odiv", "2"},
                  {"Fo", "  1160.125 "}, {"CPGscroll", "0"}, {"Dither", "0"},  {"Order", "0"},
                  {"Mux", "0"},          {"OutTerm", "0"},   {"VcoGain", "0"}, {"DivGain", "0"}};
    QTest::newRow("high ends, doubler, fixed output, external VCO")
        << Typing{{"RFMultText", "2"}, {"Rscroll", "4096"}, {"RefDbl", "1"},  {"LockFo", "1"},
                  {"Fo", "100"},       {"Odiv", "63"},      {"ExtVCO", "1"},  {"CPP", "1"},
                  {"CPGscroll", "31"}, {"Dither", "3"},     {"Order", "4"},   {"Mux", "13"},
                  {"OutTerm", "15"},   {"VcoGain", "15"},   {"DivGain", "15"}};
    QTest::newRow("plan refused") << Typing{{"Res", "1e9"}, {"Odiv", "3"}, {"Fo", "800"}};
}

// Displays, words, captions, colours and the status line alike; the inputs
// read back as saved.
void TestSetups::openGivesWhatTypingGives() {
    QFETCH(Typing, typing);
    MainWindow typed;
    for (const auto& [name, value] : typing)
        setControl(control(typed, name), value);
    SetupController typedSetups(typed, typed);
    const QString path = dir_.filePath(QTest::currentDataTag() + QString(".kelvane"));
    QVERIFY(typedSetups.saveAs(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QJsonObject words = QJsonDocument::fromJson(file.readAll())["registers"].toObject();
    // The words of the listing on screen, Reg0 last; none for a refused plan.
    const QString listing = typed.controls().Text1->toPlainText().trimmed();
    QCOMPARE(words["0"].toString(), typed.planDefined() ? listing.right(8) : "");

    MainWindow fresh;
    SetupController freshSetups(fresh, fresh);
    QVERIFY(freshSetups.open(path));
    QCOMPARE(snapshot(fresh), snapshot(typed));
    // A refused plan keeps the displays of the window's last plan, as typing does.
    QVERIFY(reusedSetups_->open(path));
    if (typed.planDefined()) QCOMPARE(snapshot(*reused_), snapshot(typed));
    QVERIFY(fresh.inputs() == typed.inputs());
}

void TestSetups::refusedFileChangesNothing() {
    MainWindow window;
    SetupController setups(window, window);
    setControl(control(window, "Odiv"), "5");
    const auto before = snapshot(window);
    const QString path = dir_.filePath("bad.kelvane");
    writeFile(path, R"({"format": "kelvane-setup", "version": 1,
                        "inputs": {"fo": "10368", "odiv": 2, "mux": 14}})");
    BoxCloser closer;
    QVERIFY(!setups.open(path));
    QCOMPARE(closer.text, path + ": input \"mux\" must be a whole number from 0 to 13, not 14");
    QCOMPARE(snapshot(window), before);
    QCOMPARE(window.windowTitle(), "Kelvane " KELVANE_VERSION);
}

// The name and "*" while the inputs differ from the file; closing with
// changes asks, and Cancel keeps the window open.
void TestSetups::captionFollowsTheFile() {
    const QString path = dir_.filePath("lo.kelvane");
    writeFile(path, R"({"format": "kelvane-setup", "version": 1, "name": "10368 LO",
                        "inputs": {"fo": "10368", "rfmult": "4"}})");
    MainWindow window;
    SetupController setups(window, window);
    QVERIFY(setups.open(path));
    QCOMPARE(window.windowTitle(), "10368 LO[*] - Kelvane " KELVANE_VERSION);
    QVERIFY(!window.isWindowModified());
    setControl(control(window, "Mux"), "5");
    QVERIFY(window.isWindowModified());
    setControl(control(window, "Mux"), "3");
    QVERIFY(!window.isWindowModified());

    setControl(control(window, "Mux"), "5");
    window.show();
    answerNextQuestion(QMessageBox::Cancel);
    QVERIFY(!window.close());
    answerNextQuestion(QMessageBox::Save);
    QVERIFY(window.close());
    QVERIFY(setups.open(path));
    QCOMPARE(window.controls().Mux->value(), 5);
    QCOMPARE(windowSettings()->value("Setups/Recent").toStringList().first(), path);
}

void TestSetups::setupsWindowListsAFolder() {
    QTemporaryDir folder;
    writeFile(folder.filePath("a.kelvane"),
              R"({"format": "kelvane-setup", "version": 1, "name": "Beacon",
                  "note": "24048 MHz\nsecond line", "inputs": {"fo": " 2004", "rfmult": "12"}})");
    writeFile(folder.filePath("b.kelvane"), "{");
    MainWindow window;
    SetupController setups(window, window);
    setups.setupsWindow().setFolder(folder.path());
    auto* list = setups.setupsWindow().findChild<QTreeWidget*>("SetupList");
    QCOMPARE(list->topLevelItemCount(), 2);
    QCOMPARE(list->topLevelItem(0)->text(0) + "|" + list->topLevelItem(0)->text(1) + "|" +
                 list->topLevelItem(0)->text(2),
             "Beacon|2004 MHz|24048 MHz");
    QVERIFY(list->topLevelItem(1)->text(2).contains("b.kelvane: not JSON"));
    emit list->itemDoubleClicked(list->topLevelItem(0), 0);
    QCOMPARE(window.controls().Fo->text(), " 2004");
    QCOMPARE(setups.path(), folder.filePath("a.kelvane"));
}

// Not the path typed into the box the file is dropped on: the setup itself.
void TestSetups::droppedOnATextBoxOpens() {
    const QString path = dir_.filePath("dropped.kelvane");
    writeFile(path, R"({"format": "kelvane-setup", "version": 1, "inputs": {"fr": " 12.8"}})");
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

QTEST_MAIN(TestSetups)
#include "tst_setups.moc"
