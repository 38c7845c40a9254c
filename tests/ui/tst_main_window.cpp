// The main window as outside tools find it, and the position it opens at and
// stores, whatever the settings store holds.

#include <QDir>
#include <QFontInfo>

#include "ui/main_window_controls.h"
#include "window_support.h"

using kelvane::ui::MainWindow;
using namespace window_support;

class TestMainWindow : public QObject {
    Q_OBJECT
    QTemporaryDir settingsDir_;

private slots:
    void initTestCase() { isolateSettings(settingsDir_); }

    // Every control, the FSK and export windows' included, carries its name as
    // its accessible description; only controls without a caption of their
    // own carry an accessible name, so that a screen reader reads a label's or
    // button's live caption.
    void everyControlNamesItself() {
        MainWindow window;
        QCOMPARE(window.objectName(), "LMX2541");
        QCOMPARE(window.windowTitle(), QStringLiteral("Kelvane " KELVANE_VERSION));
        window.controls().Reg2FSK->click();
        int named = 0;
        for (const QWidget* widget : window.findChildren<QWidget*>()) {
            const QString name = widget->objectName();
            if (name.isEmpty() || name.startsWith("qt_")) continue;
            ++named;
            QCOMPARE(widget->accessibleDescription(), name);
            const bool captioned =
                qobject_cast<const QLabel*>(widget) || qobject_cast<const QAbstractButton*>(widget);
            if (captioned || qobject_cast<const QLineEdit*>(widget) ||
                qobject_cast<const QPlainTextEdit*>(widget) ||
                qobject_cast<const QScrollBar*>(widget))
                QVERIFY2(captioned == widget->accessibleName().isEmpty(), qPrintable(name));
        }
        QVERIFY(named >= 75);
        QCOMPARE(window.controls().Fo->accessibleName(), "Output frequency, MHz");
        QVERIFY(QFontInfo(window.controls().Text1->font()).fixedPitch());
    }

    // Positions are stored in twips (96 dpi here: 15 twips a pixel), off the
    // pixel grid; a position off every screen, or a store that cannot be read,
    // gives the default. Closing writes back what was read unless the window
    // moved.
    void position_data() {
        QTest::addColumn<QByteArray>("stored"); // "<folder>": a store that cannot be read
        QTest::addColumn<QPoint>("movedTo");    // (0, 0): not moved
        QTest::addColumn<QString>("shown");     // where it opens, then what closing stores
        auto row = [](const char* name, const QByteArray& stored, QPoint movedTo,
                      const char* shown) { QTest::newRow(name) << stored << movedTo << shown; };
        row("nothing stored", "", {}, "0,7  0| 100");
        row("left-hand monitor", "[FormPLace]\nLeft=-1000\nTop=\" 1000.5\"\n", {},
            "-67,67 -1000| 1000.5");
        row("off every screen", "[FormPLace]\nLeft=1000000\nTop=-1000000\n", {}, "0,7  0| 105");
        row("moved", "", {150, 200}, "0,7  2250| 3000");
        row("binary garbage", QByteArray("\x00\xFF\xFE[[[\x01=\n\x80", 10), {}, "0,7  0| 100");
        row("not a number", "[FormPLace]\nLeft=NaN\nTop=nan\n", {}, "0,0  0| 0");
        row("unreadable", "<folder>", {}, "0,7  0| 100"); // last: the store stays a folder
    }

    void position() {
        QFETCH(QByteArray, stored);
        QFETCH(QPoint, movedTo);
        const QString path = windowSettings()->fileName();
        QDir(path).removeRecursively();
        QFile::remove(path);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        if (stored == "<folder>") {
            QVERIFY(QDir().mkpath(path)); // root reads any file, but no folder as a file
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(stored) == stored.size());
        }
        QString shown;
        {
            MainWindow window;
            shown = QString("%1,%2 ").arg(window.pos().x()).arg(window.pos().y());
            if (!movedTo.isNull()) window.move(movedTo);
            window.close();
        }
        const auto settings = windowSettings();
        shown += settings->value("FormPLace/Left").toString() + "|" +
                 settings->value("FormPLace/Top").toString();
        QTEST(shown, "shown");
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
