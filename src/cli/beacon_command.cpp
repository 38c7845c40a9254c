// kelvanectl beacon: the channel symbols of a message, a beacon's tone table,
// its export for the firmware, and keying it live (beacon_run.cpp).

#include <QJsonArray>
#include <QJsonObject>
#include <cstdio>

#include "cli/beacon_options.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/warnings.h"
#include "export/beacon_export.h"
#include "model/hex.h"

namespace kelvane::cli {
namespace {

QString hz(double value, int decimals = 4) {
    return QString::number(value, 'f', decimals);
}

int runSymbols(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Prints the channel symbols of a message as tone numbers 0 to 3, one blank\n"
        "between them, on one line.");
    parser.addOption({"mode", "pi4, jt4 or wspr.", "mode"});
    parser.addOption({"message", "The message.", "text"});
    parser.addOption(
        {"jt4-submode", "JT4 sub-mode A to G, for its tone spacing. Default A.", "letter", "A"});
    parser.addOption({"json", "Print {\"mode\", \"message\", \"symbols\", \"symbolSeconds\", "
                              "\"toneSpacingHz\"}."});
    addCheckOption(parser);
    if (auto exit = parseOrExit(parser, arguments)) return *exit;
    const auto mode = beacon::modeFromName(parser.value("mode").toStdString());
    if (!mode || *mode == beacon::Mode::Cw || *mode == beacon::Mode::Carrier)
        return usageError("--mode must be pi4, jt4 or wspr");
    if (!parser.isSet("message")) return usageError("--message is required");
    const QString submode = parser.value("jt4-submode").toUpper();
    const double spacing = *mode == beacon::Mode::Pi4    ? beacon::pi4ToneSpacingHz
                           : *mode == beacon::Mode::Wspr ? beacon::wsprToneSpacingHz
                           : submode.size() == 1
                               ? beacon::jt4ToneSpacingHz(submode.at(0).toLatin1())
                               : 0;
    if (spacing == 0) return usageError("--jt4-submode must be a letter A to G");

    beacon::Element element;
    element.mode = *mode;
    element.message = parser.value("message").toStdString();
    const auto encoded = beacon::elementSymbols(element);
    if (const auto* refusal = std::get_if<beacon::EncodeRefusal>(&encoded))
        return usageError(qText(refusal->line));
    const auto& symbols = std::get<beacon::Symbols>(encoded);
    if (parser.isSet("json")) {
        QJsonArray list;
        for (int symbol : symbols)
            list << symbol;
        writeJson({{"mode", parser.value("mode")},
                   {"message", parser.value("message")},
                   {"symbols", list},
                   {"symbolSeconds", beacon::symbolSeconds(*mode)},
                   {"toneSpacingHz", spacing}});
        return finish(parser, {}, exitOk);
    }
    std::string line;
    for (int symbol : symbols)
        line += (line.empty() ? "" : " ") + std::to_string(symbol);
    writeOut(line + "\n", true);
    return finish(parser, {}, exitOk);
}

int runTonePlan(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Prints the beacon's tone table: each tone's wanted and achieved offset from\n"
        "the carrier, its error in Hz and its Reg2 word, then the keying set as\n"
        "\"Update all registers\" sends it. Every tone is made by Reg2 alone.");
    addSequenceOptions(parser);
    parser.addOption({"json", "Print one JSON object: {\"wantedHz\", \"carrierHz\", \"tones\", "
                              "\"registers\"}."});
    if (auto exit = parseOrExit(parser, arguments)) return *exit;
    const auto planned = readPlannedBeacon(parser);
    if (!planned) return exitUsage;
    const auto& plan = planned->tones;
    if (parser.isSet("json")) {
        QJsonArray tones;
        for (const auto& tone : plan.tones)
            tones << QJsonObject{{"name", qText(tone.name)},
                                 {"offsetHz", tone.offsetHz},
                                 {"achievedOffsetHz", tone.achievedOffsetHz},
                                 {"errorHz", tone.errorHz},
                                 {"reg2", qText(hexWord(tone.reg2))}};
        QJsonObject registers;
        for (int address : transferOrder)
            registers[QString::number(address)] = qText(hexWord(plan.registers[address]));
        writeJson({{"wantedHz", plan.wantedHz},
                   {"carrierHz", plan.carrierHz},
                   {"tones", tones},
                   {"registers", registers}});
        return finish(parser, {}, exitOk);
    }
    QString text = QString("Carrier %1 Hz for %2 Hz; N = %3, F = %4\n")
                       .arg(hz(plan.carrierHz, 3), hz(plan.wantedHz, 3))
                       .arg(plan.n)
                       .arg(plan.f);
    text += QString("%1 %2 %3 %4 %5 %6\n")
                .arg("Tone", -10)
                .arg("Wanted Hz", 11)
                .arg("Achieved Hz", 12)
                .arg("Error Hz", 9)
                .arg("D", 8)
                .arg("Reg2", 9);
    for (const auto& tone : plan.tones)
        text += QString("%1 %2 %3 %4 %5 %6\n")
                    .arg(qText(tone.name), -10)
                    .arg(hz(tone.offsetHz), 11)
                    .arg(hz(tone.achievedOffsetHz), 12)
                    .arg(hz(tone.errorHz), 9)
                    .arg(tone.d, 8)
                    .arg(qText(hexWord(tone.reg2)), 9);
    text += "Keying set:\n" + qText(registerListing(plan.registers));
    writeOut(text.toStdString(), false);
    return finish(parser, {}, exitOk);
}

int runBeaconExport(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Prints the beacon for the board's firmware: the keying set in transfer order,\n"
        "one Reg2 word per tone, and each element's tones as indices into that table,\n"
        "one per symbol (per dot for CW), with the timing in comments.");
    addSequenceOptions(parser);
    parser.addOption(
        {"format", "pic (assembler data lines) or c (a C header). Default pic.", "format", "pic"});
    parser.addOption({"crlf", "End lines with CR LF."});
    parser.addOption({"json", "Print one JSON object: {\"export\": the text, \"format\"}."});
    if (auto exit = parseOrExit(parser, arguments)) return *exit;
    const QString format = parser.value("format");
    if (format != "pic" && format != "c") return usageError("--format must be pic or c");
    const auto planned = readPlannedBeacon(parser);
    if (!planned) return exitUsage;
    const std::string text =
        beacon::exportBeacon(planned->sequence, planned->tones,
                             format == "c" ? beacon::ExportFormat::C : beacon::ExportFormat::Pic);
    if (parser.isSet("json"))
        writeJson({{"export", qText(text).replace("\r\n", "\n")}, {"format", format}});
    else
        writeOut(text, parser.isSet("crlf"));
    return finish(parser, {}, exitOk);
}

} // namespace

int runBeacon(const QStringList& arguments) {
    static const std::pair<const char*, int (*)(const QStringList&)> actions[] = {
        {"symbols", runSymbols},
        {"plan", runTonePlan},
        {"export", runBeaconExport},
        {"run", runBeaconKeying},
    };
    const QString action = arguments.value(1);
    for (const auto& [name, run] : actions) {
        if (action != name) continue;
        QStringList rest = arguments.mid(2);
        rest.prepend(arguments.value(0) + " " + name);
        return run(rest);
    }
    if (action == "--help" || action == "-h") {
        std::fputs("Usage: kelvanectl beacon symbols|plan|export|run [options]\n"
                   "'kelvanectl beacon <action> --help' lists the options of each.\n",
                   stdout);
        return exitOk;
    }
    return usageError("beacon needs an action: symbols, plan, export or run");
}

} // namespace kelvane::cli
