// Setup files: what is refused and why, and that whatever is written reads
// back the same, with the register words in transfer order.

#include <QTemporaryDir>
#include <QtTest>

#include "setup/setup_file.h"

using namespace kelvane;
using namespace kelvane::setup;

namespace {

const QByteArray header = R"({"format": "kelvane-setup", "version": 1, )";

QByteArray withInputs(const QByteArray& inputs) {
    return header + R"("inputs": {)" + inputs + "}}";
}

} // namespace

class TestSetupFile : public QObject {
    Q_OBJECT
private slots:
    void refusals_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QString number = "input \"%1\" must be a whole number from %2, not %3";
        QTest::newRow("not JSON") << QByteArray("fo=10368") << "not JSON (illegal value at byte 1)";
        QTest::newRow("other format") << QByteArray(R"({"format": "other", "version": 1})")
                                      << R"(not a Kelvane setup ("format" is not "kelvane-setup"))";
        QTest::newRow("newer") << QByteArray(R"({"format": "kelvane-setup", "version": 2})")
                               << "version 2 is newer than this Kelvane reads (version 1)";
        QTest::newRow("fo number")
            << withInputs(R"("fo": 10368)") << R"(input "fo" must be a text, not 10368)";
        QTest::newRow("odiv 0") << withInputs(R"("odiv": 0)") << number.arg("odiv", "1 to 63", "0");
        QTest::newRow("mux 14") << withInputs(R"("mux": 14)") << number.arg("mux", "0 to 13", "14");
        QTest::newRow("cpg fraction")
            << withInputs(R"("cpg": 2.5)") << number.arg("cpg", "0 to 31", "2.5");
        QTest::newRow("last field bad after good ones")
            << withInputs(R"("fo": "10368", "divgain": 12, "cpp": "yes")")
            << R"(input "cpp" must be true or false, not "yes")";
    }
    void refusals() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const SetupRead read = parseSetup(bytes, "a.kelvane");
        QVERIFY(std::holds_alternative<SetupError>(read));
        QCOMPARE(std::get<SetupError>(read).message, "a.kelvane: " + message);
    }

    // A hand-written file with one input and a key this version does not know.
    void missingInputsKeepStartUp() {
        Inputs expected;
        expected.fo = "10368";
        QCOMPARE(std::get<Setup>(parseSetup(withInputs(R"("fo": "10368", "colour": "blue")"), "")),
                 (Setup{"", "", expected}));
    }

    // Both ends of every input read back equal; the words in transfer order.
    void roundTrip() {
        for (const bool low : {true, false}) {
            const Setup setup{"10368 \"LO\" ü", low ? "" : "line one\nline two",
                              Inputs{"  10368", "", " 1e1", "-4", low ? 1 : 4096, low ? 1 : 63,
                                     low ? 0 : 31, low ? 0 : 3, low ? 0 : 4, low ? 0 : 13,
                                     low ? 0 : 15, low ? 0 : 15, low ? 0 : 15, !low, !low, !low,
                                     !low}};
            RegisterImage words;
            for (int address = 0; address < 14; ++address)
                words[address] = 0x11 * address;
            QTemporaryDir folder;
            const QString path = folder.filePath("a.kelvane");
            QCOMPARE(writeSetup(path, setup, low ? std::optional(words) : std::nullopt),
                     std::nullopt);
            QCOMPARE(std::get<Setup>(readSetup(path)), setup);
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray text = file.readAll();
            QCOMPARE(text.contains("\"registers\""), low);
            QCOMPARE(text.contains("    \"registers\": {\n        \"7\": \"00000077\",\n        "
                                   "\"13\": \"000000DD\",\n        \"12\": \"000000CC\",\n"),
                     low);
        }
    }

    void oversizedFileIsRefused() {
        QTemporaryFile huge;
        QVERIFY(huge.open());
        huge.write(QByteArray((1 << 20) + 1, ' '));
        huge.close();
        QCOMPARE(std::get<SetupError>(readSetup(huge.fileName())).message,
                 huge.fileName() + ": not a Kelvane setup (larger than 1 MiB)");
    }
};

QTEST_GUILESS_MAIN(TestSetupFile)
#include "tst_setup_file.moc"
