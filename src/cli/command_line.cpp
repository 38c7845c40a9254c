#include "cli/command_line.h"

#include <QJsonDocument>
#include <cerrno>
#include <cstdio>

#include "cli/commands.h"
#include "cli/terminal_output.h"
#include "model/input_table.h"
#include "model/plan_variables.h"
#include "modes/wsjt_modes.h"

namespace kelvane::cli {
namespace {

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

// Text and whole-number options first, then --wsjt, which sets the resolution
// text, then the switches.
void addControlOptions(QCommandLineParser& parser) {
    const Inputs defaults;
    for (const InputSpec& input : inputTable()) {
        const QString name = qText(std::string(input.key));
        const QString help = qText(std::string(input.optionHelp));
        if (const auto* text = std::get_if<std::string Inputs::*>(&input.field))
            parser.addOption({name,
                              QString("%1 Default %2.").arg(help, defaultText(defaults.*(*text))),
                              "text"});
        else if (const auto* number = std::get_if<int Inputs::*>(&input.field))
            parser.addOption({name,
                              QString("%1 %2 to %3, default %4.")
                                  .arg(help)
                                  .arg(input.low)
                                  .arg(input.high)
                                  .arg(defaults.*(*number)),
                              "n"});
    }
    parser.addOption({"wsjt",
                      QString("WSJT mode, %1 to %2: sets the resolution text as the window's mode "
                              "selector does. Not with --res.")
                          .arg(wsjtModeMin)
                          .arg(wsjtModeMax),
                      "n"});
    for (const InputSpec& input : inputTable())
        if (input.isSwitch())
            parser.addOption({qText(std::string(input.key)), qText(std::string(input.optionHelp))});
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

// A switch given turns its box on over the start; one that counts only with
// another box checked is cleared without it, as the window clears it.
std::optional<Inputs> readControlOptions(const QCommandLineParser& parser, const Inputs& start) {
    Inputs inputs = start;
    for (const InputSpec& input : inputTable()) {
        const QString name = qText(std::string(input.key));
        if (const auto* text = std::get_if<std::string Inputs::*>(&input.field)) {
            if (parser.isSet(name)) inputs.*(*text) = parser.value(name).toStdString();
        } else if (const auto* number = std::get_if<int Inputs::*>(&input.field)) {
            if (!parser.isSet(name)) continue;
            const auto value = readWholeNumber(parser, name, input.low, input.high);
            if (!value) return std::nullopt;
            inputs.*(*number) = *value;
        } else {
            bool& box = inputs.*std::get<bool Inputs::*>(input.field);
            box = box || parser.isSet(name);
        }
    }
    for (const InputSpec& input : inputTable())
        if (const InputSpec* offering = offeringInput(input))
            inputs.*std::get<bool Inputs::*>(input.field) =
                inputs.*std::get<bool Inputs::*>(offering->field) &&
                inputs.*std::get<bool Inputs::*>(input.field);
    if (parser.isSet("wsjt")) {
        if (parser.isSet("res")) {
            usageError("--wsjt and --res both set the resolution text; give only one of them");
            return std::nullopt;
        }
        const auto mode = readWholeNumber(parser, "wsjt", wsjtModeMin, wsjtModeMax);
        if (!mode) return std::nullopt;
        inputs.res = selectWsjtMode(*mode).resText;
    }
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
