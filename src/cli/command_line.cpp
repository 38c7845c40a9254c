#include "cli/command_line.h"

#include <QJsonDocument>
#include <cerrno>
#include <cstdio>

#include "cli/commands.h"
#include "cli/terminal_output.h"
#include "model/plan_variables.h"
#include "modes/wsjt_modes.h"

namespace kelvane::cli {
namespace {

struct WholeNumberOption {
    const char* name;
    const char* description;
    int low;
    int high;
    int Inputs::*field;
};

constexpr WholeNumberOption wholeNumberOptions[] = {
    {"r", "Reference divider R (Rscroll).", 1, 4096, &Inputs::r},
    {"odiv", "Output divider (Odiv).", 1, 63, &Inputs::odiv},
    {"cpg", "Charge pump gain setting (CPGscroll).", 0, 31, &Inputs::cpg},
    {"dither", "Modulator dither (Dither).", 0, 3, &Inputs::dither},
    {"order", "Modulator order (Order).", 0, 4, &Inputs::order},
    {"mux", "Multiplexed output selection (Mux).", 0, 13, &Inputs::mux},
    {"outterm", "Output termination (OutTerm).", 0, 15, &Inputs::outTerm},
    {"vcogain", "VCO gain (VcoGain).", 0, 15, &Inputs::vcoGain},
    {"divgain", "Divider gain (DivGain).", 0, 15, &Inputs::divGain},
};

struct TextOption {
    const char* name;
    const char* description;
    std::string Inputs::*field;
};

constexpr TextOption textOptions[] = {
    {"fo", "Output frequency, MHz (Fo).", &Inputs::fo},
    {"fr", "Reference frequency, MHz (Fr).", &Inputs::fr},
    {"res", "Output resolution, Hz (Res).", &Inputs::res},
    {"rfmult", "Final RF multiplication (RFMultText).", &Inputs::rfMult},
};

QString defaultText(const std::string& text) {
    return "\"" + qText(text) + "\"";
}

// The parser's help with the command line a user types, the command's
// examples and what its exit codes mean.
QString commandHelp(const QCommandLineParser& parser, const QString& invocation) {
    QString text = parser.helpText();
    // Qt names the program by the path it was started from; the arguments that
    // follow "[options]" stay.
    const qsizetype end = text.indexOf('\n');
    const QString arguments = text.left(end).section(" [options]", 1);
    text.replace(0, end + 1, "Usage: " + invocation + " [options]" + arguments + "\n\n");
    if (const Command* command = findCommand(invocation.section(' ', 1))) {
        text += "\nExamples:\n";
        for (const QString& line : QString(command->examples).split('\n'))
            text += "  " + line + "\n";
        text += "\n" + QString(command->exitStatus) + "\n";
    }
    return text;
}

} // namespace

void addControlOptions(QCommandLineParser& parser) {
    const Inputs defaults;
    for (const auto& option : textOptions) {
        parser.addOption(
            {option.name,
             QString("%1 Default %2.").arg(option.description, defaultText(defaults.*option.field)),
             "text"});
    }
    for (const auto& option : wholeNumberOptions) {
        parser.addOption({option.name,
                          QString("%1 %2 to %3, default %4.")
                              .arg(option.description)
                              .arg(option.low)
                              .arg(option.high)
                              .arg(defaults.*option.field),
                          "n"});
    }
    parser.addOption({"wsjt",
                      QString("WSJT mode (ChgWSJT), %1 to %2: sets the resolution text as the mode "
                              "selector does. Not with --res.")
                          .arg(wsjtModeMin)
                          .arg(wsjtModeMax),
                      "n"});
    parser.addOption({"doubler", "Reference doubler on (RefDbl); R is then 1 and -r is ignored."});
    parser.addOption({"ext-vco", "External VCO in use (ExtVCO)."});
    parser.addOption({"cpp", "Positive charge pump polarity (CPP); counts only with --ext-vco."});
    parser.addOption({"fix-fout",
                      "Fix Fout with divider (LockFo): kept in a saved setup; the plan is the "
                      "same either way."});
    parser.addOption({"setup",
                      "Start from the inputs of this setup file instead of the start-up ones; "
                      "the options given override them.",
                      "file"});
}

std::optional<int> readWholeNumber(const QCommandLineParser& parser, const QString& name, int low,
                                   int high) {
    bool ok = false;
    const int value = parser.value(name).trimmed().toInt(&ok);
    if (!ok || value < low || value > high) {
        usageError(QString("--%1 must be a whole number from %2 to %3, not \"%4\"")
                       .arg(name)
                       .arg(low)
                       .arg(high)
                       .arg(parser.value(name)));
        return std::nullopt;
    }
    return value;
}

std::optional<Inputs> readControlOptions(const QCommandLineParser& parser, const Inputs& start) {
    Inputs inputs = start;
    for (const auto& option : textOptions)
        if (parser.isSet(option.name))
            inputs.*option.field = parser.value(option.name).toStdString();
    for (const auto& option : wholeNumberOptions) {
        if (!parser.isSet(option.name)) continue;
        const auto value = readWholeNumber(parser, option.name, option.low, option.high);
        if (!value) return std::nullopt;
        inputs.*option.field = *value;
    }
    if (parser.isSet("wsjt")) {
        if (parser.isSet("res")) {
            usageError("--wsjt and --res both set the resolution text; give only one of them");
            return std::nullopt;
        }
        const auto mode = readWholeNumber(parser, "wsjt", wsjtModeMin, wsjtModeMax);
        if (!mode) return std::nullopt;
        inputs.res = selectWsjtMode(*mode).resText;
    }
    inputs.doubler = inputs.doubler || parser.isSet("doubler");
    inputs.fixFout = inputs.fixFout || parser.isSet("fix-fout");
    inputs.externalVco = inputs.externalVco || parser.isSet("ext-vco");
    // The window offers CPP only while ExtVCO is checked.
    inputs.cpp = inputs.externalVco && (inputs.cpp || parser.isSet("cpp"));
    return inputs;
}

std::optional<int> parseOrExit(QCommandLineParser& parser, const QStringList& arguments,
                               qsizetype positionals) {
    const QCommandLineOption help({"h", "help"}, "Show this help.");
    const QCommandLineOption version({"v", "version"}, "Show the version.");
    parser.addOption(help);
    parser.addOption(version);
    // Also when the line cannot be parsed: a script asking for JSON gets its object.
    setJsonOutput(arguments.contains("--json"));
    if (!parser.parse(arguments)) return usageError(parser.errorText());
    setJsonOutput(parser.optionNames().contains("json"));
    if (parser.isSet(help)) {
        std::fputs(commandHelp(parser, arguments.value(0)).toUtf8().constData(), stdout);
        return exitOk;
    }
    if (parser.isSet(version)) {
        std::printf("kelvanectl %s\n", KELVANE_VERSION);
        return exitOk;
    }
    if (parser.positionalArguments().size() > positionals)
        return usageError("unexpected argument \"" + parser.positionalArguments().at(positionals) +
                          "\"");
    return std::nullopt;
}

std::optional<Recalculation> recalculateOrReport(const Inputs& inputs) {
    auto outcome = recalculate(inputs, planVariablesFrom(inputs));
    if (const auto* refused = std::get_if<RefusedPlan>(&outcome)) {
        printError("no plan: " + qText(refused->reason), qText(refused->reason));
        return std::nullopt;
    }
    return std::get<Recalculation>(std::move(outcome));
}

int usageError(const QString& message) {
    printError(message);
    return exitUsage;
}

void writeJson(const QJsonObject& object) {
    writeOut(QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString() + "\n", true);
    noteJsonWritten();
}

void writeOut(const std::string& text, bool keepCrLf) {
    std::string out;
    if (keepCrLf) {
        out = text;
    } else {
        out.reserve(text.size());
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
            out.push_back(text[i]);
        }
    }
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0)
        noteOutputFailure(errno);
}

} // namespace kelvane::cli
