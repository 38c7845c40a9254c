// kelvanectl read: reads the board's stored register set back as "Init from EE"
// does, and prints the inputs it restores as a `kelvanectl plan` command line,
// then the plan they give; with --save, also keeps them as a setup file.

#include <QJsonDocument>
#include <QRegularExpression>
#include <cstdio>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/plan_output.h"
#include "cli/port_session.h"
#include "cli/setup_inputs.h"
#include "model/hex.h"
#include "model/readback.h"

namespace kelvane::cli {
namespace {

// Quoted when it holds anything but plain characters: for a POSIX shell, or
// on Windows as a program's command line is split into its arguments there.
QString shellWord(const QString& text) {
    static const QRegularExpression plain("^[A-Za-z0-9._+-]+$");
    if (plain.match(text).hasMatch()) return text;
#ifdef Q_OS_WIN
    return "\"" + QString(text).replace("\"", "\\\"") + "\"";
#else
    return "'" + QString(text).replace("'", "'\\''") + "'";
#endif
}

QString planCommand(const Inputs& c) {
    QStringList words{"kelvanectl", "plan"};
    auto text = [&](const char* name, const std::string& value) {
        words << QString("--%1").arg(name) << shellWord(qText(value));
    };
    auto number = [&](const char* name, int value) {
        words << QString("--%1").arg(name) << QString::number(value);
    };
    text("fo", c.fo);
    text("fr", c.fr);
    text("res", c.res);
    text("rfmult", c.rfMult);
    if (c.doubler)
        words << "--doubler";
    else
        number("r", c.r);
    number("odiv", c.odiv);
    number("cpg", c.cpg);
    number("dither", c.dither);
    number("order", c.order);
    number("mux", c.mux);
    number("outterm", c.outTerm);
    number("vcogain", c.vcoGain);
    number("divgain", c.divGain);
    if (c.externalVco) words << "--ext-vco";
    if (c.externalVco && c.cpp) words << "--cpp";
    return words.join(' ');
}

QJsonObject inputsJson(const Inputs& c) {
    return QJsonObject{{"fo", qText(c.fo)},
                       {"fr", qText(c.fr)},
                       {"res", qText(c.res)},
                       {"rfmult", qText(c.rfMult)},
                       {"r", c.doubler ? 1 : c.r},
                       {"doubler", c.doubler},
                       {"odiv", c.odiv},
                       {"cpg", c.cpg},
                       {"dither", c.dither},
                       {"order", c.order},
                       {"mux", c.mux},
                       {"outterm", c.outTerm},
                       {"vcogain", c.vcoGain},
                       {"divgain", c.divGain},
                       {"extVco", c.externalVco},
                       {"cpp", c.externalVco && c.cpp}};
}

// The words as the board keeps them, address nibble included.
QJsonObject storedJson(const StoredSet& stored) {
    QJsonObject words;
    for (int address : transferOrder) {
        if (!stored.value[address]) continue;
        const std::int64_t word = std::int64_t(*stored.value[address]) * 16 + address;
        words.insert(QString("Reg%1").arg(address), qText(hexWord(word)));
    }
    return words;
}

} // namespace

int runRead(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Reads the register set stored in the board's EEPROM, as the window's\n"
        "\"Init from EE\" does: sends the read request and takes the answer that\n"
        "comes within 1.5 s. Prints the inputs the set restores as a 'kelvanectl plan'\n"
        "command line, then the plan. The reference frequency and the RF multiplier\n"
        "are not stored: they are taken from --fr and --rfmult.");
    addPortOption(parser);
    parser.addOption({"fr", "Reference frequency, MHz (Fr). Default \" 10\".", "text"});
    parser.addOption({"rfmult", "Final RF multiplication (RFMultText). Default \"1\".", "text"});
    parser.addOption({"json", "Print one JSON object instead of text."});
    parser.addOption(
        {"save", "Also write the set as a setup file, a backup of the board's set.", "file"});
    parser.addOption({"force", "With --save: replace the file if it exists."});
    if (auto exit = parseOrExit(parser, arguments)) return *exit;
    if (parser.isSet("save"))
        if (auto exit = refuseToReplace(parser.value("save"), parser.isSet("force"))) return *exit;
    Inputs before;
    if (parser.isSet("fr")) before.fr = parser.value("fr").toStdString();
    if (parser.isSet("rfmult")) before.rfMult = parser.value("rfmult").toStdString();

    session::BoardSession board;
    if (auto exit = openPort(board, parser)) return *exit;
    reportFailures(board);
    const auto answer = board.readStoredSet();
    if (!answer) return exitFailure;
    board.close();

    const std::string answerText = *answer;
    const auto outcome = restoreFromAnswer(answerText, before, planVariablesFrom(before));
    if (const auto* refusal = std::get_if<RestoreRefusal>(&outcome)) {
        std::fprintf(stderr, "kelvanectl: %s\n", refusal->line.c_str());
        return exitFailure;
    }
    const Inputs after = std::get<Restore>(outcome).inputs;
    const auto recalculation = recalculate(after, planVariablesFrom(after));
    // The restore refuses sets that give no plan.
    const auto& result = std::get<Recalculation>(recalculation);
    if (parser.isSet("json")) {
        const QJsonObject object{{"command", planCommand(after)},
                                 {"inputs", inputsJson(after)},
                                 {"stored", storedJson(parseStoredSet(answerText))},
                                 {"plan", planJson(result)}};
        writeOut(QJsonDocument(object).toJson(QJsonDocument::Indented).toStdString(), true);
    } else {
        writeOut(planCommand(after).toStdString() + "\n\n" + planText(result), false);
    }
    if (parser.isSet("save")) return saveSetup(parser.value("save"), setup::Setup{"", "", after});
    return exitOk;
}

} // namespace kelvane::cli
