// Whatever is typed into the window's text boxes, and whatever the settings
// store holds, the window neither crashes nor hangs: a plan is shown, or it is
// refused with the reason in the status line and the last plan kept; the port
// box opens nothing and says why, or does nothing; the FSK window shows its
// report or one line saying what to correct.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStatusBar>
#include <QtTest>

#include "box_closer.h"
#include "link/serial_link.h"
#include "ui/fsk_window.h"
#include "ui/link_controller.h"
#include "ui/main_window_controls.h"
#include "window_support.h"

using kelvane::ui::MainWindow;
using namespace window_support;

namespace {

// The texts every box is fed, by row name.
QList<QPair<const char*, QString>> badTexts() {
    return {
        {"empty", ""},
        {"letters", "abc"},
        {"overflow", "1e999"},
        {"hex", "&HFFFFFFFF"},
        {"long", QString(10000, QChar('9'))},
        {"non-ASCII", QString::fromUtf8("２３２０ µ ☃ \xF0\x9F\x93\xBB")},
    };
}

} // namespace

class TestBadInput : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void textBoxesTakeAnyText_data();
    void textBoxesTakeAnyText();
    void portBoxTakesAnyText_data();
    void portBoxTakesAnyText();
    void fskShiftTakesAnyText_data();
    void fskShiftTakesAnyText();
    void corruptSettingsGiveTheDefaults_data();
    void corruptSettingsGiveTheDefaults();

private:
    QTemporaryDir settingsDir_;
};

void TestBadInput::initTestCase() {
    isolateSettings(settingsDir_);
}

void TestBadInput::textBoxesTakeAnyText_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    const QStringList boxes{"Fo", "Fr", "Res", "RFMultText"};
    QList<QPair<const char*, QString>> texts = badTexts();
    // Numbers that are read, but take the arithmetic out of its range.
    texts += {{"huge", "1e308"}, {"negative", "-2320.25"}};
    for (const QString& box : boxes)
        for (const auto& [name, text] : texts)
            QTest::newRow(qPrintable(box + " " + name)) << box << text;
}

void TestBadInput::textBoxesTakeAnyText() {
    QFETCH(QString, box);
    QFETCH(QString, text);
    MainWindow window;
    const QString listingBefore = window.controls().Text1->toPlainText();
    auto* status = window.findChild<QLabel*>("PlanStatus");
    QVERIFY(status);

    auto* edit = window.findChild<QLineEdit*>(box);
    QVERIFY(edit);
    edit->setText(text);

    const QString listing = window.controls().Text1->toPlainText();
    if (window.planDefined()) {
        // A plan was formed: six listing lines of eight-digit words.
        QCOMPARE(listing.count('\n'), 6);
    } else {
        // Refused: the last plan stays, D is red.
        QCOMPARE(listing, listingBefore);
        QCOMPARE(window.controls().Dn->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    }
    for (const QString& word : QStringList{"Fv", "Fc", "Frlabel", "Nlabel", "OPerr"}) {
        const QString caption = window.findChild<QLabel*>(word)->text();
        QVERIFY2(!caption.contains("nan", Qt::CaseInsensitive), qPrintable(word + ": " + caption));
    }

    // The window recovers as soon as the text is sound again.
    edit->setText(box == "Fo" ? " 2320.25" : box == "RFMultText" ? "1" : " 10");
    QCOMPARE(status->text(), QString());
    QCOMPARE(window.controls().Text1->toPlainText(), listingBefore);
}

void TestBadInput::portBoxTakesAnyText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("detail"); // how the refusal's detail begins; empty: nothing at all
    for (const auto& [name, text] : badTexts())
        QTest::newRow(name) << text
                            << (QString(name) == "hex"
                                    ? "4294967295 is not a port number: ports are "
                                      "numbered from 1 to 32767."
                                    : "");
    const QString longDevice = "/dev/" + QString(9995, QChar('x'));
    const QList<QPair<QString, QString>> rows{
        {"0", ""},
        {"-1e-300", "There is no port 0: ports are numbered from 1."},
        {"40000", "40000 is not a port number"},
        {"1000.5", "There is no serial port 1000:"}, // ties go to even
        {"1001.5", "There is no serial port 1002:"},
        {"/dev/pts/999999", "/dev/pts/999999 was not found."},
        {longDevice, longDevice + " cannot be opened: File name too long."},
        {QString::fromUtf8("/dev/ttyÜ☃"), QString::fromUtf8("/dev/ttyÜ☃ was not found.")},
    };
    for (const auto& [text, detail] : rows)
        QTest::newRow(qPrintable(text.left(16))) << text << detail;
}

// Nothing opens, and the window stays as it was.
void TestBadInput::portBoxTakesAnyText() {
    QFETCH(QString, text);
    QFETCH(QString, detail);
    MainWindow window;
    auto& c = window.controls();
    c.CPNo->setText(text);
    const auto before = snapshot(window);
    BoxCloser closer;
    c.SetCP->click();
    QCOMPARE(snapshot(window), before);
    QCOMPARE(window.linkController().portNumber(), 0.0);
    QVERIFY(!window.linkController().serialLink().isOpen());
    if (detail.isEmpty()) {
        QVERIFY2(!closer.shown(), qPrintable(closer.detail));
        return;
    }
    QCOMPARE(closer.title, "Kelvane");
    QCOMPARE(closer.text, "Invalid COM port");
    QCOMPARE(closer.icon, QMessageBox::Warning);
    QVERIFY2(closer.detail.startsWith(detail), qPrintable(closer.detail.left(200)));
}

void TestBadInput::fskShiftTakesAnyText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line"); // the one line shown; empty: the report
    const QString notANumber = "FSK Shift must be a number, for example -400";
    for (const auto& [name, text] : badTexts())
        QTest::newRow(name) << text << notANumber;
    QTest::newRow("tiny negative") << "-1e-300"
                                   << "";
    QTest::newRow("huge") << "1e308"
                          << ""; // a report with a New Denom of 0
}

// Through the window's own button, with the plan the main window holds.
void TestBadInput::fskShiftTakesAnyText() {
    QFETCH(QString, text);
    QFETCH(QString, line);
    MainWindow window;
    window.controls().Reg2FSK->click();
    auto* fsk = window.findChild<kelvane::ui::FskWindow*>();
    QVERIFY(fsk);
    fsk->findChild<QLineEdit*>("FSKShift")->setText(text);
    fsk->findChild<QPushButton*>("GenNewD")->click();
    const QString shown = fsk->findChild<QPlainTextEdit*>("NewDResults")->toPlainText();
    if (line.isEmpty())
        QCOMPARE(shown.count('\n'), 13);
    else
        QCOMPARE(shown, line);
}

void TestBadInput::corruptSettingsGiveTheDefaults_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("defaults");
    // A store that cannot be parsed or read gives the default position; texts
    // that are readable but hold no number (overflow included) read as 0.
    QTest::newRow("binary garbage") << QByteArray("\x00\xFF\xFE[[[\x01=\n\x80", 10) << true;
    QTest::newRow("broken section")
        << QByteArray("[FormPLace\nLeft=@Variant(\\0\\0\nTop=\"\n") << true;
    QTest::newRow("unreadable") << QByteArray("<directory>") << true;
    QTest::newRow("numbers beyond range")
        << QByteArray("[FormPLace]\nLeft=1e999\nTop=-1e999\n") << false;
    QTest::newRow("NaN") << QByteArray("[FormPLace]\nLeft=NaN\nTop=nan\n") << false;
}

void TestBadInput::corruptSettingsGiveTheDefaults() {
    QFETCH(QByteArray, content);
    const QString path = windowSettings()->fileName();
    QDir(path).removeRecursively();
    QFile::remove(path);
    QPoint defaultPosition;
    {
        MainWindow fresh;
        defaultPosition = fresh.pos();
    }
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    if (content == "<directory>") {
        // A store that cannot be read at all (root reads any file, so use a folder).
        QVERIFY(QDir().mkpath(path));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }
    MainWindow window;
    QFETCH(bool, defaults);
    QCOMPARE(window.pos(), defaults ? defaultPosition : QPoint(0, 0));
}

QTEST_MAIN(TestBadInput)
#include "tst_bad_input.moc"
