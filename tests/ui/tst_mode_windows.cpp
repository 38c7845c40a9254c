// The export and FSK windows on their own: controls, accessibility, texts,
// and copying from their boxes.

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

#include "export/pic_listing.h"
#include "ui/exp_form.h"
#include "ui/fsk_reg2.h"

using namespace kelvane;
using kelvane::ui::ExpForm;
using kelvane::ui::FSKReg2;

namespace {

FskInputs startUp() {
    return {2320.25, 10, 1000000, 1, 1, 1, 10};
}

template <typename T> T* control(QWidget* window, const char* name) {
    T* widget = window->findChild<T*>(name);
    if (!widget) qFatal("no control %s", name);
    return widget;
}

// Selects everything in the box and presses the platform's copy keys.
QString copied(QPlainTextEdit* box) {
    QApplication::clipboard()->clear();
    box->setFocus();
    box->selectAll();
    const QKeySequence copy(QKeySequence::Copy);
    QTest::keySequence(box, copy);
    return QApplication::clipboard()->text();
}

} // namespace

class TestModeWindows : public QObject {
    Q_OBJECT
private slots:
    void accessibility_data();
    void accessibility();
    void exportWindow();
    void fskWindowStartState();
    void generateReadsInputsAtEveryPress();
    void generateShowsWhatToCorrect();
};

void TestModeWindows::accessibility_data() {
    QTest::addColumn<QString>("window");
    QTest::newRow("ExpForm") << "ExpForm";
    QTest::newRow("FSKReg2") << "FSKReg2";
}

void TestModeWindows::accessibility() {
    QFETCH(QString, window);
    std::unique_ptr<QWidget> w;
    if (window == "ExpForm")
        w = std::make_unique<ExpForm>();
    else
        w = std::make_unique<FSKReg2>(startUp);
    QCOMPARE(w->objectName(), window);
    QCOMPARE(w->accessibleDescription(), window);
    int controls = 0;
    for (QWidget* child : w->findChildren<QWidget*>()) {
        const bool textBox =
            qobject_cast<QPlainTextEdit*>(child) || qobject_cast<QLineEdit*>(child);
        if (!textBox && !qobject_cast<QLabel*>(child) && !qobject_cast<QPushButton*>(child))
            continue;
        ++controls;
        QCOMPARE(child->accessibleDescription(), child->objectName());
        QCOMPARE(child->accessibleName().isEmpty(), !textBox);
    }
    QCOMPARE(controls, window == "ExpForm" ? 1 : 4);
}

void TestModeWindows::exportWindow() {
    ExpForm form;
    QCOMPARE(form.windowTitle(), "PIC Cut-and-paste");
    QVERIFY(form.isWindow());
    auto* box = control<QPlainTextEdit>(&form, "PasteText");
    QVERIFY(!box->isReadOnly());
    QVERIFY(QFontInfo(box->font()).fixedPitch());
    QCOMPARE(box->toPlainText(), "");

    // A listing with large plan values shows whole, without scrolling.
    ExportInputs large;
    large.foText = "3999.99999999";
    large.resText = "0.001";
    large.rfMult = 16;
    large.r = 4096;
    large.denom = 4194303;
    large.n = 262143;
    large.fract = 4194303;
    const std::string listing = picListing(large).text;
    form.setListing(listing);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(box->toPlainText(), QString::fromStdString(listing).replace("\r\n", "\n"));
    QCOMPARE(box->verticalScrollBar()->maximum(), 0);
    QCOMPARE(box->horizontalScrollBar()->maximum(), 0);
    QCOMPARE(copied(box), box->toPlainText());

    // The user may edit the listing; the next one replaces it whole.
    QTest::keyClicks(box, "edited");
    form.setListing("x\r\n");
    QCOMPARE(box->toPlainText(), "x\n");
}

void TestModeWindows::fskWindowStartState() {
    FSKReg2 window(startUp);
    QCOMPARE(window.windowTitle(), "FSK Generated using Reg2 only");
    QVERIFY(window.isWindow());
    QCOMPARE(control<QLabel>(&window, "Label1")->text(), "FSK Shift");
    QCOMPARE(control<QLineEdit>(&window, "FSKShift")->text(), "-400");
    QCOMPARE(control<QPushButton>(&window, "GenNewD")->text(), "Generate D data");
    auto* results = control<QPlainTextEdit>(&window, "NewDResults");
    QCOMPARE(results->toPlainText(), "");
    QVERIFY(QFontInfo(results->font()).fixedPitch());
}

void TestModeWindows::generateReadsInputsAtEveryPress() {
    FskInputs current = startUp();
    int reads = 0;
    FSKReg2 window([&] {
        ++reads;
        return current;
    });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* button = control<QPushButton>(&window, "GenNewD");
    auto* results = control<QPlainTextEdit>(&window, "NewDResults");

    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(reads, 1);
    const QString report =
        QString::fromStdString(fskReport(startUp(), "-400").text).replace("\r\n", "\n");
    QCOMPARE(results->toPlainText(), report);
    QCOMPARE(copied(results), report);

    current.resolution = 20;
    control<QLineEdit>(&window, "FSKShift")->setText("400");
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(reads, 2);
    const QStringList lines = results->toPlainText().split('\n');
    QCOMPARE(lines.at(3), "New Denom    998403");
    QCOMPARE(lines.at(9), "F = 313      D = 12500");
}

void TestModeWindows::generateShowsWhatToCorrect() {
    FSKReg2 window(startUp);
    auto* results = control<QPlainTextEdit>(&window, "NewDResults");
    control<QLineEdit>(&window, "FSKShift")->setText("minus 400");
    QTest::mouseClick(control<QPushButton>(&window, "GenNewD"), Qt::LeftButton);
    QCOMPARE(results->toPlainText(), "FSK Shift must be a number, for example -400");
}

QTEST_MAIN(TestModeWindows)
#include "tst_mode_windows.moc"
