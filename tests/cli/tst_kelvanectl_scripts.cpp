// What a script gets from kelvanectl besides the texts: warnings on standard
// error, --check turning them into exit status 3, and --json on every command.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include "board_process.h"
#include "run_kelvanectl.h"

class TestKelvanectlScripts : public QObject {
    Q_OBJECT
private slots:
    void warnings_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("warning");
        const QString vco = "VCO %1 MHz is outside the chip's 1900-4000 MHz: %2 brings it in range";
        QTest::newRow("none") << QStringList{"plan", "--check"} << 0 << "";
        QTest::newRow("D too wide, checked")
            << QStringList{"fsk", "--res", "1", "--check"} << 3
            << "D = 10000000 does not fit register 2 (it must stay below 4194304): choose a "
               "coarser resolution";
        QTest::newRow("VCO below the chip") << QStringList{"plan", "--fo", "1160.125", "--check"}
                                            << 3 << vco.arg("1160.125", "output divider 2");
        QTest::newRow("VCO above every divider")
            << QStringList{"plan", "--fo", "4500"} << 0
            << vco.arg("4500.0", "no output divider from 1 to 63");
        QTest::newRow("number read in part") << QStringList{"plan", "--fr", "10,5"} << 0
                                             << "--fr \"10,5\" is read as 10: use a point";
        QTest::newRow("long text cut")
            << QStringList{"export", "--rfmult", "1xxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"} << 0
            << "--rfmult \"1xxxxxxxxxxxxxxxxxxx...\" is read as 1";
    }
    // Standard error holds the warning alone, one line.
    void warnings() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, warning);
        const Run result = kelvanectl(arguments);
        QTEST(result.exitCode, "exitCode");
        QCOMPARE(QString::fromUtf8(result.err),
                 warning.isEmpty() ? "" : "kelvanectl: warning: " + warning + "\n");
    }

    // Every command answers --json with one object; those with a plan also say
    // whether D and the VCO fit, and list the words in sending order.
    void jsonOnEveryCommand_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("firstWord");
        QTest::newRow("export") << QStringList{"export"} << "listing"
                                << "00000017";
        QTest::newRow("fsk") << QStringList{"fsk"} << "report"
                             << "00000017";
        QTest::newRow("ports") << QStringList{"ports"} << "ports"
                               << "";
        QTest::newRow("send") << QStringList{"send", "--quick"} << "sent"
                              << "04F42402";
        QTest::newRow("save") << QStringList{"save", "SETUP"} << "file"
                              << "00000017";
        // A sweep prints one object a line; the first has the twelve words.
        QTest::newRow("sweep") << QStringList{"sweep",  "--from", "2320", "--to",
                                              "2320.1", "--step", "0.1"}
                               << "mhz"
                               << "";
        QTest::newRow("send to a silent board")
            << QStringList{"send", "--quick", "--no-reply"} << "sent"
            << "04F42402";
    }
    void jsonOnEveryCommand() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, key);
        QFETCH(QString, firstWord);
        const bool silent = arguments.removeAll("--no-reply") > 0;
        std::unique_ptr<BoardProcess> board;
        QTemporaryDir folder;
        arguments.replaceInStrings("SETUP", folder.filePath("s.kelvane"));
        if (key == "sent" || key == "mhz") {
            board =
                std::make_unique<BoardProcess>(silent ? QStringList{"--no-reply"} : QStringList{});
            arguments << "--port" << board->device;
        }
        const Run result = kelvanectl(arguments << "--json");
        QCOMPARE(result.exitCode, 0);
        QJsonParseError error;
        const QByteArray first = key == "mhz" ? result.out.split('\n').first() : result.out;
        const QJsonObject object = QJsonDocument::fromJson(first, &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QVERIFY2(object.contains(key), result.out.constData());
        if (firstWord.isEmpty()) return;
        QCOMPARE(object.value("denominatorFits"), QJsonValue(true));
        QCOMPARE(object.value("vcoInRange"), QJsonValue(true));
        QCOMPARE(object.value(key == "sent" ? "sent" : "words")[0].toString(), firstWord);
        if (key != "sent") return;
        QCOMPARE(object.value("replies").toString().isEmpty(), silent);
        QCOMPARE(object.value("warnings").toArray().size(), silent ? 1 : 0);
    }
};

QTEST_MAIN(TestKelvanectlScripts)
#include "tst_kelvanectl_scripts.moc"
