// Setup files: what is refused and why, that whatever is written reads back
// the same, with the register words in transfer order, and that a file that
// cannot be read or written whole is refused without harm.

#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "setup/setup_file.h"

using namespace kelvane;
using namespace kelvane::setup;

namespace {

const QByteArray header = R"({"format": "kelvane-setup", "version": 1, )";

QByteArray withInputs(const QByteArray& inputs) {
    return header + R"("inputs": {)" + inputs + "}}";
}

// Puts a file of the named kind at `path`.
void make(const QString& kind, const QString& path) {
    if (kind == "fifo") QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    if (kind == "zero") QVERIFY(QFile::link("/dev/zero", path));
    if (kind == "dangling") QVERIFY(QFile::link(path + ".missing", path));
    if (kind == "folder") QVERIFY(QDir().mkdir(path));
    QFile file(path);
    if (kind == "oversized" || kind == "regular") QVERIFY(file.open(QIODevice::WriteOnly));
    if (kind == "oversized") file.write(QByteArray((1 << 20) + 1, ' '));
    if (kind == "regular") file.write(setupText({"old", "", {}}, std::nullopt));
}

// What stands at `path`, for telling whether a failed write changed it.
QByteArray state(const QString& path) {
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0) return "nothing";
    if (S_ISFIFO(status.st_mode)) return "FIFO";
    if (S_ISLNK(status.st_mode)) return "link to " + QFile::encodeName(QFile::symLinkTarget(path));
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : "unreadable";
}

// Fills the file system that holds `folder` to the last byte.
void fill(const QString& folder) {
    QFile filler(folder + "/filler");
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    while (filler.write(QByteArray(1024, 'x')) > 0) {
    }
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
        QTest::newRow("multiplication in force 0")
            << withInputs(R"("rfmult": "0", "rfmult-in-force": 0)")
            << R"(input "rfmult-in-force" must be a number above 0, not 0)";
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

    // The file opens; what it ignores or reads only in part is told, naming the file and key.
    void warningsNameFileAndKey() {
        const QByteArray bytes = header + R"("colour": "blue", "inputs": {"fo": "2320,25",
            "fr": "abc", "res": " 10 ", "rfmul": "4"}})";
        QCOMPARE(std::get<Setup>(parseSetup(bytes, "a.kelvane")).warnings,
                 (QStringList{"a.kelvane: unknown key \"colour\" ignored",
                              "a.kelvane: unknown input \"rfmul\" ignored",
                              "a.kelvane: input \"fo\": \"2320,25\" is read as 2320: use a point",
                              "a.kelvane: input \"fr\": \"abc\" is read as 0"}));
    }

    // The multiplication in force is kept while the text gives none, and only then.
    void multiplicationInForce() {
        const auto kept = [](const QByteArray& inputs) {
            return std::get<Setup>(parseSetup(withInputs(inputs), "")).inputs.rfMultKept;
        };
        QCOMPARE(kept(R"("rfmult": "0", "rfmult-in-force": 4)"), 4.0);
        QCOMPARE(kept(R"("rfmult": "2", "rfmult-in-force": 4)"), 1.0);
    }

    // Both ends of every input read back equal; the words in transfer order.
    void roundTrip() {
        for (const bool low : {true, false}) {
            const Setup setup{"10368 \"LO\" ü", low ? "" : "line one\nline two",
                              Inputs{"  10368", "", " 1e1", "-4", low ? 1 : 4096, low ? 1 : 63,
                                     low ? 0 : 31, low ? 0 : 3, low ? 0 : 4, low ? 0 : 13,
                                     low ? 0 : 15, low ? 0 : 15, low ? 0 : 15, !low, !low, !low,
                                     !low, low ? 0.3 : 2.5}};
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

    // Refused at once: none of these may block, fill the memory or crash.
    void unreadableFiles_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("FIFO") << "fifo"
                              << "not a regular file";
        QTest::newRow("link to /dev/zero") << "zero"
                                           << "not a regular file";
        QTest::newRow("folder") << "folder"
                                << "not a regular file";
        QTest::newRow("1 MiB and a byte") << "oversized"
                                          << "larger than 1 MiB";
        QTest::newRow("dangling link") << "dangling"
                                       << "No such file or directory";
    }
    void unreadableFiles() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir folder;
        const QString path = folder.filePath("a.kelvane");
        make(kind, path);
        QCOMPARE(std::get<SetupError>(readSetup(path)).message,
                 path + ": cannot be read (" + reason + ")");
    }

    // A save that cannot be made whole leaves whatever stood there as it was.
    void failedSavesChangeNothing_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("onto a FIFO") << "fifo"
                                     << "not a regular file";
        QTest::newRow("onto a link to /dev/zero") << "zero"
                                                  << "not a regular file";
        QTest::newRow("onto a folder") << "folder"
                                       << "not a regular file";
        QTest::newRow("through a dangling link") << "dangling"
                                                 << "a link to a file that does not exist";
        QTest::newRow("full file system") << "full"
                                          << "No space left on device";
        QTest::newRow("file size limit") << "limited"
                                         << "File too large";
    }
    void failedSavesChangeNothing() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir folder;
        const QString path = folder.filePath("a.kelvane");
        // A 64 KiB file system of its own where the test may mount one.
        const QByteArray mountPoint = QFile::encodeName(folder.path());
        if (kind == "full" && ::mount("tmpfs", mountPoint, "tmpfs", 0, "size=64k") != 0)
            QSKIP("no tmpfs can be mounted here");
        const auto unmount = qScopeGuard([&] {
            if (kind == "full") ::umount(mountPoint);
        });
        make(kind == "full" || kind == "limited" ? "regular" : kind, path);
        const QByteArray before = state(path);
        if (kind == "full") fill(folder.path());
        // Writes beyond 1 KiB fail with EFBIG instead of the signal.
        const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY}, small{1024, RLIM_INFINITY};
        if (kind == "limited") {
            std::signal(SIGXFSZ, SIG_IGN);
            QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        }
        const auto error =
            writeSetup(path, {"new", QString(4000, 'n').toStdString(), {}}, std::nullopt);
        ::setrlimit(RLIMIT_FSIZE, &unlimited);
        QVERIFY(error);
        QCOMPARE(error->message, "cannot write " + path + ": " + reason);
        QCOMPARE(state(path), before);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files).filter(".kelvane.").size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestSetupFile)
#include "tst_setup_file.moc"
