// kelvanectl run as a user runs it, on kelvane-board-sim's terminal where a board is needed.

#include <QtTest>
#include <csignal>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out, err;
};

// Runs kelvanectl, or a program that starts it with the arguments.
Run kelvanectl(const QStringList& arguments, const QString& program = KELVANECTL_PATH,
               const QString& output = {}) {
    QProcess process;
    if (!output.isEmpty()) process.setStandardOutputFile(output);
    process.start(program, arguments);
    if (!process.waitForFinished(20000)) qFatal("%s did not finish", qPrintable(program));
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

// The board program, its terminal and the bytes its log shows it received.
class Board {
public:
    explicit Board(const QStringList& options = {}) {
        process_.start(BOARD_SIM_PATH, QStringList{"--log", dir_.filePath("log")} + options);
        if (!process_.waitForReadyRead(5000)) qFatal("the board printed no device");
        device = QString::fromUtf8(process_.readLine()).trimmed();
    }
    ~Board() {
        process_.terminate();
        process_.waitForFinished(5000);
    }
    QByteArray received() const {
        QFile log(dir_.filePath("log"));
        QByteArray bytes;
        if (log.open(QIODevice::ReadOnly))
            for (const QByteArray& line : log.readAll().split('\n'))
                if (const auto entry = QJsonDocument::fromJson(line); entry["dir"] == "rx")
                    bytes += entry["data"].toString().toLatin1();
        return bytes;
    }
    QString device;

private:
    QTemporaryDir dir_;
    QProcess process_;
};

const QByteArray startUpPlan = "Fvco 2320.25 MHz\nFcomp 10000. kHz\nD = 1000000\nF = 25000\n"
                               "N = 232\nChip Version(s) allowed LMX2541-2380E\n\n"
                               "          7    00000017        13   0000008D\n"
                               "         12   0000001C         9    28001409\n"
                               "          8    0111CE58         6    001F3326\n"
                               "          5    A0040005         4    FF4810A4\n"
                               "          3    00A87303         2    04F42402\n"
                               "          1    00000011         0    61A80E80\n";

// The register lines of the start-up set, Update all registers.
const QByteArray startUpLines = "R00000017\r\nR0000008D\r\nR0000001C\r\nR28001409\r\nR0111CE58\r\n"
                                "R001F3326\r\nRA0040005\r\nRFF4810A4\r\nR00A87303\r\n"
                                "R04F42402\r\nR00000011\r\nR61A80E80\r\n";

// Quick Freq Update of a start-up plan whose Reg0 is given.
QByteArray quick(const char* reg0) {
    return QByteArray("R04F42402\r\nR00000011\r\nR") + reg0 + "\r\n";
}

void row(const char* name, const QStringList& arguments, int exitCode, const QByteArray& out,
         const QByteArray& err = "", const QByteArray& received = "",
         const QStringList& board = {}) {
    QTest::newRow(name) << arguments << exitCode << out << err << received << board;
}

// The same lines stored: each one loaded, the store mark, then the line again.
QByteArray stored(const QByteArray& lines) {
    QByteArray bytes;
    for (const QByteArray& line : lines.split('\n'))
        if (!line.isEmpty()) bytes += line + "\nW\r\n" + line + "\n";
    return bytes;
}

// Refused: nothing on stdout, one line on stderr, nothing sent.
void refused(const char* name, const QStringList& arguments, const QByteArray& message) {
    row(name, arguments, 2, "", "kelvanectl: " + message + "\n");
}

QByteArray warning(const QByteArray& text) {
    return "kelvanectl: warning: " + text + "\n";
}

} // namespace

class TestKelvanectl : public QObject {
    Q_OBJECT
    QTemporaryDir folder_; // where the commands read and write their files

private slots:
    void initTestCase() {
        QVERIFY(QDir::setCurrent(folder_.path()));
        QFile list("list");
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write("# two channels\n2320.25\n\n2320.35 MHz\n");
        QFile partly("partly"), binary("binary"), hostile("hostile.kelvane");
        QVERIFY(partly.open(QIODevice::WriteOnly) && binary.open(QIODevice::WriteOnly) &&
                hostile.open(QIODevice::WriteOnly));
        partly.write("2320.25\n2320,35\n");
        binary.write("\x1b[2J\x7f\xff\n");
        hostile.write("{\"format\": \"kelvane-setup\", \"version\": 1, "
                      "\"inputs\": {\"fo\": \"2320.25\\u001b[2J\\u0000\"}}");
        QCOMPARE(::mkfifo("fifo.kelvane", 0600), 0);
        QVERIFY(QFile::link("/dev/zero", "zero.kelvane"));
        QVERIFY(QFile::link("missing.kelvane", "dangling.kelvane"));
        // Its own charge pump gain, and an output a line's --fo replaces.
        QCOMPARE(kelvanectl({"save", "lo.kelvane", "--fo", "2320.5", "--cpg", "20"}).exitCode, 0);
        QFile odd("odd.kelvane");
        QVERIFY(odd.open(QIODevice::WriteOnly));
        odd.write(R"({"format": "kelvane-setup", "version": 1, "inputs": {"colour": "red"}})");
    }
    void runs_data();
    void runs();
    void lostOutputFails_data();
    void lostOutputFails();
    void jsonRefusalsAreOneObject_data();
    void jsonRefusalsAreOneObject();
    void setups();
    void storeThenReadRestoresThePlan();
    void signalsLeaveTheBoardAtTheLastFrequency_data();
    void signalsLeaveTheBoardAtTheLastFrequency();
    void permissionDeniedNamesTheGroup();
};

// "PORT" runs a board with the row's options. Expected stdout: "...part" or "start...";
// in stderr "..." stands for any text within a line, where timing decides it, and the
// board's bytes then go unchecked.
void TestKelvanectl::runs_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");
    QTest::addColumn<QByteArray>("received");
    QTest::addColumn<QStringList>("board");

    row("plan, checked, no warning", {"plan", "--check"}, 0, startUpPlan);
    row("plan --crlf", {"plan", "--crlf"}, 0, QByteArray(startUpPlan).replace("\n", "\r\n"));
    row("plan, --cpp counts only with --ext-vco", {"plan", "--cpp"}, 0, startUpPlan);
    row("help", {"save", "--help"}, 0, "...Usage: kelvanectl save [options] file\n\n");
    row("help in the user's words", {"plan", "--help"}, 0,
        "...Reference divider R. 1 to 4096, default 1.\n");
    row("setup with an unknown input", {"plan", "--setup", "odd.kelvane"}, 0, "...",
        warning("odd.kelvane: unknown input \"colour\" ignored"));
    row("a setup's warning counts for --check", {"plan", "--setup", "odd.kelvane", "--check"}, 3,
        "...", warning("odd.kelvane: unknown input \"colour\" ignored"));
    row("export, divided, --crlf", {"export", "--crlf", "--odiv", "2", "--fo", "1160.125"}, 0,
        "...   de  0x30, 0xD4, 0x0E, 0x80    ;  Reg0   \r\n");
    row("fsk, mode and shift, --crlf", {"fsk", "--wsjt", "5", "--shift", "400", "--crlf"}, 0,
        "...Old Denom D  285714\r\nNew Denom    285258\r\n");
    const QStringList dividedJson{"plan", "--fo", "1160.125", "--odiv", "2", "--json"};
    row("plan, JSON, head", dividedJson, 0,
        R"({"captions":{"ChipType":"LMX2541-2380E ","Dn":"D =    500000","Fc":"10000. kHz",)"
        R"("Frlabel":"F =      12500","Fv":"2320.25 MHz","Nlabel":"N =       232","OPerr":"",)"
        R"("StepLbl":"Step =  20."},"colors":{"ChipType":"#408001","Dn":"#000000",)"
        R"("OPerr":"#FF0000"},"denominatorFits":true,"listing":"          7    00000017 ...)");
    row("plan, JSON, tail", dividedJson, 0,
        R"(...","plan":{"Denom":500000,"EffN":232.025,"Fcomp":10,"Fcorr":1160.125,"Ferror":0,)"
        R"("Fract":12500,"N":232},"registers":{"Reg0":"30D40E80","Reg1":"00000011",)"
        R"("Reg12":"0000001C","Reg13":"000000CD","Reg2":"047A1202",)");
    row("plan refused, JSON", {"plan", "--res", "1e9", "--json"}, 2,
        R"({"error":"Resolution is coarser than the comparison frequency allows: )"
        R"(no denominator"})",
        "kelvanectl: no plan: Resolution is coarser than the comparison frequency allows: no "
        "denominator\n");

    row("D too wide, JSON", {"fsk", "--res", "1", "--json"}, 0,
        R"({"denominatorFits":false,"report":"Orig Fraction 0.025\r\n...)",
        warning("D = 10000000 does not fit register 2 (it must stay below 4194304): choose a "
                "coarser resolution"));
    row("VCO below the chip, checked", {"plan", "--fo", "1160.125", "--check"}, 3,
        "...allowed Invalid Frequency Range\n",
        warning("VCO 1160.125 MHz is outside the chip's 1900-4000 MHz: output divider 2 brings "
                "it in range"));
    row("VCO above every divider, JSON", {"plan", "--fo", "4500", "--json"}, 0,
        R"(..."vcoInRange":false,"warnings":["VCO 4500.0 MHz is outside)",
        warning("VCO 4500.0 MHz is outside the chip's 1900-4000 MHz: no output divider from 1 "
                "to 63 brings it in range"));
    row("number read in part", {"plan", "--fr", "10,5"}, 0, "...Fcomp 10000. kHz\n",
        warning("--fr \"10,5\" is read as 10: use a point"));
    row("long text cut", {"export", "--rfmult", "1xxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"}, 0,
        "...Resolution  10Hz\n", warning("--rfmult \"1xxxxxxxxxxxxxxxxxxx...\" is read as 1"));

    row("calibrate, JSON", {"calibrate", "--measured", "2320.250023", "--json"}, 0,
        R"({"achievedMhz":2320.25,"errorHz":0.0991272504...)");
    row("calibrate", {"calibrate", "--measured", "2320.250023"}, 0,
        "...Reference error: 0.010 ppm, 0.099 Hz\nCorrected reference: 10.0000000991 MHz\n");

    refused("not a number", {"plan", "--cpg", "x"},
            "--cpg must be a whole number from 0 to 31, not \"x\"");
    refused("divider 64, send", {"send", "--port", "1", "--odiv", "64"},
            "--odiv must be a whole number from 1 to 63, not \"64\"");
    refused("unknown option", {"plan", "--bogus"}, "Unknown option 'bogus'.");
    refused("unknown command", {"plot"},
            "unknown command \"plot\"; 'kelvanectl --help' lists them");
    refused("export, no plan", {"export", "--res", "1e9"},
            "no plan: Resolution is coarser than the comparison frequency allows: no denominator");
    refused("Reg2 beyond 32 bits, send", {"send", "--port", "1", "--res", "0.01"},
            "Reg2 = 3BDACA002 does not fit in 32 bits; correct the plan");
    refused("mode and resolution", {"export", "--wsjt", "3", "--res", "10"},
            "--wsjt and --res both set the resolution text; give only one of them");
    refused("both kinds", {"send", "--port", "1", "--quick", "--store"},
            "--quick and --store cannot be combined");
    refused("verify without store", {"send", "--port", "1", "--verify"},
            "--verify checks what --store wrote; give both");
    refused("step 0", {"sweep", "--port", "1", "--from", "2320", "--to", "2321", "--step", "0"},
            "--step must be a number other than 0, for example 0.1");
    refused("no port", {"send"}, "--port is required");
    refused("port 0", {"read", "--port", "0"}, "--port \"0\" names no port");
    refused("setup not there", {"send", "--setup", "none.kelvane"},
            "none.kelvane: cannot be read (No such file or directory)");
    refused("save over a file", {"save", "."}, ".: exists; give --force to replace it");

    refused("setup is a FIFO", {"plan", "--setup", "fifo.kelvane"},
            "fifo.kelvane: cannot be read (not a regular file)");
    refused("setup links to /dev/zero", {"export", "--setup", "zero.kelvane"},
            "zero.kelvane: cannot be read (not a regular file)");
    refused("list is a FIFO", {"hop", "--port", "1", "--list", "fifo.kelvane"},
            "cannot read the list fifo.kelvane: not a regular file");
    row("save onto a FIFO, forced", {"save", "fifo.kelvane", "--force"}, 1, "",
        "kelvanectl: cannot write fifo.kelvane: not a regular file\n");
    row("save through a dangling link", {"save", "dangling.kelvane"}, 1, "",
        "kelvanectl: cannot write dangling.kelvane: a link to a file that does not exist\n");
    row("control bytes from a setup, escaped", {"plan", "--setup", "hostile.kelvane"}, 0,
        "Fvco 2320.25 MHz...",
        warning(R"(hostile.kelvane: input "fo": "2320.25\x1b[2J\0" is read as 2320.25)") +
            warning(R"(--fo "2320.25\x1b[2J\0" is read as 2320.25)"));
    refused("binary list line, escaped", {"hop", "--port", "1", "--list", "binary"},
            R"(Line 1 of the list, "\x1b[2J\x7f)"
            "\xEF\xBF\xBD" // U+FFFD
            R"(", is no output frequency in MHz above 0; nothing was sent)");
    refused("measured value read in part", {"calibrate", "--measured", "2320,250023"},
            R"(--measured "2320,250023" is read as 2320: use a point; give the whole reading )"
            "as one number");
    refused("port 1.5", {"send", "--port", "1.5"},
            R"(--port must be a whole number or a device, not "1.5")");
    row("save, number read in part, checked",
        {"save", "partly.kelvane", "--fo", "2320,25", "--check"}, 3, "wrote partly.kelvane\n",
        warning(R"(--fo "2320,25" is read as 2320: use a point)"));
    row("sweep read in part, checked: nothing sent",
        {"sweep", "--port", "PORT", "--from", "2320,25", "--to", "2320.5", "--step", "0.1",
         "--dwell", "0x10", "--res", "2,5", "--check"},
        3, "",
        warning(R"(--from "2320,25" is read as 2320: use a point)") +
            warning(R"(--dwell "0x10" is read as 0)") +
            warning("D = 5000000 does not fit register 2 (it must stay below 4194304): choose a "
                    "coarser resolution") +
            warning(R"(--res "2,5" is read as 2: use a point)") +
            "kelvanectl: --check: nothing was sent, for the warnings above\n");
    row("hop line read in part", {"hop", "--port", "PORT", "--list", "partly"}, 0,
        "2320.250000 MHz\n2320.000000 MHz\n",
        warning(R"(line 2 of the list: "2320,35" is read as 2320: use a point)"),
        startUpLines + quick("00000E80"));

    row("send", {"send", "--port", "PORT"}, 0, "...OK 61A80E80\n", "", startUpLines);
    row("quick send to a silent board, checked, JSON",
        {"send", "--port", "PORT", "--quick", "--check", "--json"}, 3,
        R"(..."replies":"","sent":["04F42402","00000011","61A80E80"],"vcoInRange":true,)"
        R"("warnings":["no reply from the board within a second of the send: check power, )"
        R"(cable and 9600 8N2"],"words":["00000017",)",
        warning("no reply from the board within a second of the send: check power, cable and "
                "9600 8N2"),
        quick("61A80E80"), {"--no-reply"});
    row("read from a silent board", {"read", "--port", "PORT"}, 1, "",
        "kelvanectl: Init from EE: no answer from the board; nothing changed\n", "init\r\n",
        {"--no-reply"});
    row("send, stored and verified", {"send", "--port", "PORT", "--store", "--verify"}, 0,
        "...0x61 A8 0E 80\nEEPROM matches the plan: 12 of 12 words\n", "",
        stored(startUpLines) + "init\r\n");
    row("verify a setup, an option over it",
        {"verify", "--port", "PORT", "--setup", "lo.kelvane", "--fo", "2320.25"}, 3,
        "EEPROM differs from the plan: Reg3 stored 00A87303, plan 00A87403\n", "", "init\r\n");
    row("verify, differs, JSON", {"verify", "--port", "PORT", "--fo", "2320.5", "--json"}, 3,
        R"({"compared":12,"differences":[{"plan":"C3500E80","register":0,"stored":"61A80E80"}]...)",
        "", "init\r\n");

    const QStringList up{"sweep", "--port",  "PORT",   "--from", "2320.25",
                         "--to",  "2320.45", "--step", "0.1"};
    row("sweep up, JSON", up + QStringList{"--json"}, 0,
        "...{\"mhz\":2320.45,\"sent\":[\"04F42402\",\"00000011\",\"AFC80E80\"]}\n", "",
        startUpLines + quick("88B80E80") + quick("AFC80E80"));
    row("hop list twice",
        {"hop", "--port", "PORT", "--list", "list", "--repeat", "2", "--dwell", "10"}, 0,
        "2320.250000 MHz\n2320.350000 MHz\n2320.250000 MHz\n2320.350000 MHz\n", "",
        startUpLines + quick("88B80E80") + quick("61A80E80") + quick("88B80E80"));
    refused("sweep refused before sending",
            {"sweep", "--port", "PORT", "--from", "2320", "--to", "1800", "--step", "-10"},
            "1890.000000 MHz puts the VCO at 1890 MHz, outside the chip's 1900 to 4000 MHz; "
            "nothing was sent");
    row("board unplugged, the frequency it completed", up, 1, "2320.250000 MHz\n",
        "kelvanectl: The port PORT stopped working (... The board was last set to "
        "2320.250000 MHz.\n",
        "", {"--hangup-after", "14"});
    row("board falls silent", {"hop", "--port", "PORT", "--list", "list", "--repeat", "20"}, 1,
        "...2320.250000 MHz\n", "kelvanectl: the board stopped answering after 2320...\n", "",
        {"--silent-after", "12"});
}

void TestKelvanectl::runs() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    QFETCH(QStringList, board);
    std::optional<Board> sim;
    if (arguments.contains("PORT")) sim.emplace(board);
    const QString port = sim ? sim->device : "PORT";
    arguments.replaceInStrings("PORT", port);

    Run r = kelvanectl(arguments);
    QTEST(r.exitCode, "exitCode");
    if (arguments.contains("--json"))
        if (const QJsonDocument json = QJsonDocument::fromJson(r.out); !json.isNull())
            r.out = json.toJson(QJsonDocument::Compact);
    r.out.replace(port.toUtf8(), "PORT");
    r.err.replace(port.toUtf8(), "PORT");
    QVERIFY2(out.startsWith("...") ? r.out.contains(out.mid(3))
             : out.endsWith("...") ? r.out.startsWith(out.chopped(3))
                                   : r.out == out,
             r.out);
    const bool timed = err.contains("...");
    QStringList pieces;
    for (const QString& piece : QString::fromUtf8(err).split("..."))
        pieces << QRegularExpression::escape(piece);
    const QRegularExpression expected(QRegularExpression::anchoredPattern(pieces.join("[^\n]*")));
    QVERIFY2(expected.match(QString::fromUtf8(r.err)).hasMatch(), r.err);
    if (sim && !timed) QTEST(sim->received(), "received");
}

// Standard output on a full disk: no command may report success.
void TestKelvanectl::lostOutputFails_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("plan") << QStringList{"plan"};
    QTest::newRow("export") << QStringList{"export"};
    QTest::newRow("fsk, JSON") << QStringList{"fsk", "--json"};
    QTest::newRow("calibrate") << QStringList{"calibrate", "--measured", "2320.25"};
    QTest::newRow("ports, JSON") << QStringList{"ports", "--json"};
    QTest::newRow("save, JSON") << QStringList{"save", "--force", "full.kelvane", "--json"};
    QTest::newRow("help") << QStringList{"--help"};
    QTest::newRow("sweep") << QStringList{"sweep", "--port", "PORT",   "--from", "2320",
                                          "--to",  "2320",   "--step", "1"};
}

void TestKelvanectl::lostOutputFails() {
    QFETCH(QStringList, arguments);
    std::optional<Board> board;
    if (arguments.contains("PORT")) arguments.replaceInStrings("PORT", board.emplace().device);
    const Run r = kelvanectl(arguments, KELVANECTL_PATH, "/dev/full");
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, "kelvanectl: cannot write the output: No space left on device\n");
}

// Every command takes --check, and with --json a refusal is one object on one line,
// the exit status as without --json.
void TestKelvanectl::jsonRefusalsAreOneObject_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("error");
    const auto row = [](const char* name, const QStringList& arguments, int exitCode,
                        const QString& error) {
        QTest::newRow(name) << arguments << exitCode << error;
    };
    const QString noPlan = "Resolution is coarser than the comparison frequency allows: no "
                           "denominator";
    row("export, no plan", {"export", "--res", "1e9"}, 2, noPlan);
    row("fsk, no plan", {"fsk", "--res", "1e9"}, 2, noPlan);
    row("send, port 1.5", {"send", "--port", "1.5"}, 2,
        R"(--port must be a whole number or a device, not "1.5")");
    row("save over a file", {"save", "."}, 2, ".: exists; give --force to replace it");
    row("read, port 0", {"read", "--port", "0"}, 2, R"(--port "0" names no port)");
    row("verify, no port", {"verify"}, 2, "--port is required");
    row("calibrate, no plan", {"calibrate", "--measured", "2320.25", "--res", "1e9"}, 2, noPlan);
    row("sweep, step 0", {"sweep", "--from", "1", "--to", "2", "--step", "0"}, 2,
        "--step must be a number other than 0, for example 0.1");
    row("hop, list a FIFO", {"hop", "--list", "fifo.kelvane"}, 2,
        "cannot read the list fifo.kelvane: not a regular file");
    row("ports, an argument", {"ports", "extra"}, 2, R"(unexpected argument "extra")");
    row("serve, no address", {"serve", "--listen", "x"}, 2,
        R"(--listen "x" is no HOST:PORT with a port of 0 to 65535)");
    row("beacon export, a format", {"beacon", "export", "--format", "x"}, 2,
        "--format must be pic or c");
    row("beacon run, no port", {"beacon", "run", "--mode", "pi4", "--message", "X"}, 2,
        "--port is required");
    row("unknown option", {"plan", "--bogus"}, 2, "Unknown option 'bogus'.");
}

void TestKelvanectl::jsonRefusalsAreOneObject() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    const Run r = kelvanectl(arguments + QStringList{"--check", "--json"});
    QTEST(r.exitCode, "exitCode");
    QCOMPARE(r.out.count('\n'), 1);
    QCOMPARE(QJsonDocument::fromJson(r.out).object(), (QJsonObject{{"error", error}}));
    // The line on stderr may say more ("no plan: ...").
    QVERIFY2(r.err.startsWith("kelvanectl: ") && r.err.endsWith(error.toUtf8() + "\n") &&
                 r.err.count('\n') == 1,
             r.err);
}

// A setup gives the plan it was saved from; options override it, its switches stay on.
void TestKelvanectl::setups() {
    const QStringList options{"--fo", "1160.125", "--odiv", "2", "--ext-vco", "--fix-fout"};
    QCOMPARE(kelvanectl(QStringList{"save", "ext.kelvane", "--name", "LO"} + options).exitCode, 0);
    QCOMPARE(kelvanectl({"plan", "--setup", "ext.kelvane", "--json"}).out,
             kelvanectl(QStringList{"plan", "--json"} + options).out);
    QCOMPARE(kelvanectl({"plan", "--setup", "ext.kelvane", "--odiv", "1"}).out,
             kelvanectl({"plan", "--fo", "1160.125", "--ext-vco"}).out);
    // A copy keeps the name and the switches; a refused plan is saved without words.
    const Run copy = kelvanectl({"save", "copy.kelvane", "--setup", "ext.kelvane", "--res", "1e9"});
    QCOMPARE(copy.exitCode, 0);
    QVERIFY2(copy.err.startsWith("kelvanectl: saved without register words: no plan: "), copy.err);
    QFile file("copy.kelvane");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QJsonObject saved = QJsonDocument::fromJson(file.readAll()).object();
    QCOMPARE(saved["name"], "LO");
    QCOMPARE(saved["inputs"]["fix-fout"], true);
    QVERIFY(!saved.contains("registers"));
}

// Read back as text, as a setup file and as JSON.
void TestKelvanectl::storeThenReadRestoresThePlan() {
    Board board;
    const QStringList plan{"--fo", "1160.125", "--odiv", "2", "--mux", "5", "--ext-vco", "--cpp"};
    QCOMPARE(kelvanectl(QStringList{"send", "--store", "--port", board.device} + plan).exitCode, 0);
    const Run read = kelvanectl({"read", "--port", board.device, "--save", "stored.kelvane"});
    const QByteArray command =
        "kelvanectl plan --fo 1160.125 --fr ' 10' --res 10.00 --rfmult 1 --r 1 --odiv 2 --cpg 19 "
        "--dither 1 --order 2 --mux 5 --outterm 12 --vcogain 12 --divgain 12 --ext-vco --cpp";
    QVERIFY2(read.out.startsWith(command + "\n\n"), read.out);
    QCOMPARE(read.out.mid(command.size() + 2), kelvanectl(QStringList{"plan"} + plan).out);
    QCOMPARE(kelvanectl({"plan", "--setup", "stored.kelvane"}).out,
             read.out.mid(command.size() + 2));

    // The reference is not stored: the one given applies.
    const Run json = kelvanectl({"read", "--port", board.device, "--fr", "20", "--json"});
    const QJsonObject o = QJsonDocument::fromJson(json.out).object();
    QCOMPARE(o["command"].toString(),
             "kelvanectl plan --fo 2320.25 --fr 20 --res 20.00 --rfmult 1 --r 1 --odiv 2 --cpg 19 "
             "--dither 1 --order 2 --mux 5 --outterm 12 --vcogain 12 --divgain 12 --ext-vco --cpp");
    QCOMPARE(o["stored"]["Reg4"].toString(), "FF4820A4"); // as stored
    QCOMPARE(o["plan"]["registers"]["Reg4"].toString(), "FF482144");
}

// A signal lets the frequency on the wire finish, in the dwell or in a transfer, and
// the board is left at the last one printed; the exit status names the signal.
void TestKelvanectl::signalsLeaveTheBoardAtTheLastFrequency_data() {
    QTest::addColumn<int>("signal");
    QTest::addColumn<QString>("dwell");
    QTest::newRow("Ctrl-C in the dwell") << int(SIGINT) << "20000";
    QTest::newRow("SIGTERM in the dwell") << int(SIGTERM) << "20000";
    QTest::newRow("hang-up while sending") << int(SIGHUP) << "0";
}

void TestKelvanectl::signalsLeaveTheBoardAtTheLastFrequency() {
    QFETCH(int, signal);
    QFETCH(QString, dwell);
    Board board;
    QProcess sweep;
    sweep.start(KELVANECTL_PATH, {"sweep", "--port", board.device, "--from", "2320.25", "--to",
                                  "2321", "--step", "0.1", "--dwell", dwell});
    QVERIFY(sweep.waitForReadyRead(5000));
    ::kill(static_cast<pid_t>(sweep.processId()), signal);
    QVERIFY(sweep.waitForFinished(5000));
    QCOMPARE(sweep.exitCode(), 128 + signal);
    const QList<QByteArray> printed = sweep.readAllStandardOutput().trimmed().split('\n');
    QCOMPARE(sweep.readAllStandardError(),
             "kelvanectl: stopped; the board is at " + printed.last() + "\n");
    // Every frequency whole: the first set, then Reg2, Reg1, Reg0 for each later one.
    const QByteArray received = board.received();
    QVERIFY2(received.startsWith(startUpLines), received);
    QCOMPARE(received.count('\n'), 12 + 3 * (printed.size() - 1));
}

// As root kelvanectl runs as "nobody"; otherwise the terminal loses its permissions.
void TestKelvanectl::permissionDeniedNamesTheGroup() {
    Board board;
    Run r;
    if (::geteuid() == 0) {
        if (QStandardPaths::findExecutable("setpriv").isEmpty())
            QSKIP("setpriv is needed to drop root");
        r = kelvanectl({"--reuid=nobody", "--regid=nogroup", "--clear-groups", KELVANECTL_PATH,
                        "send", "--port", board.device},
                       "setpriv");
    } else {
        QVERIFY(QFile::setPermissions(board.device, {}));
        r = kelvanectl({"send", "--port", board.device});
    }
    const QByteArray group = QFileInfo(board.device).group().toUtf8();
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, "kelvanectl: Invalid COM port: Permission denied for " + board.device.toUtf8() +
                        ": your user must be in the group \"" + group +
                        "\" that owns it (sudo usermod -aG " + group +
                        " $USER), then log in again.\n");
}

QTEST_GUILESS_MAIN(TestKelvanectl)
#include "tst_kelvanectl.moc"
