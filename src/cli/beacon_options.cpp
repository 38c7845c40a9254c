#include "cli/beacon_options.h"

#include "cli/board_tools.h"
#include "cli/command_line.h"
#include "cli/setup_inputs.h"
#include "cli/warnings.h"

namespace kelvane::cli {

void addSequenceOptions(QCommandLineParser& parser) {
    parser.addOption(
        {"mode", "One element at the start of the period: pi4, jt4, wspr or cw.", "mode"});
    parser.addOption({"message",
                      "The element's message: a call for PI4, free text for JT4, "
                      "\"CALL GRID dBm\" for WSPR, text for CW.",
                      "text"});
    parser.addOption({"jt4-submode", "JT4 sub-mode A to G. Default A.", "letter", "A"});
    parser.addOption({"wpm", "CW speed, words a minute, at most about 19. Default 12.", "n", "12"});
    parser.addOption(
        {"shift", "CW key-up shift from the carrier, Hz. Default -400.", "Hz", "-400"});
    parser.addOption({"preset",
                      "\"mixed\": the one-minute sequence of PI4, CW and the carrier "
                      "(with --call and --locator).",
                      "name"});
    parser.addOption({"call", "The call sign of --preset mixed.", "call"});
    parser.addOption({"locator", "The locator of --preset mixed.", "locator"});
    addCheckOption(parser);
    addControlOptions(parser);
}

std::optional<std::pair<Inputs, beacon::Sequence>>
readSequenceOptions(const QCommandLineParser& parser) {
    const auto setup = readSetupOptions(parser);
    if (!setup) return std::nullopt;
    const QString submode = parser.value("jt4-submode").toUpper();
    if (submode.size() != 1 || submode < "A" || submode > "G") {
        usageError("--jt4-submode must be a letter A to G");
        return std::nullopt;
    }
    QStringList warnings = inputTextWarnings(setup->inputs);
    const auto wpm = readNumberOption(parser, "wpm", "12", NumberRule::AboveZero, warnings);
    const auto shift =
        wpm ? readNumberOption(parser, "shift", "-400", NumberRule::Any, warnings) : std::nullopt;
    if (!shift) return std::nullopt;
    printWarnings(warnings);

    if (parser.isSet("preset")) {
        if (parser.value("preset") != "mixed") {
            usageError("--preset must be \"mixed\"");
            return std::nullopt;
        }
        if (!parser.isSet("call") || !parser.isSet("locator")) {
            usageError("--preset mixed needs --call and --locator");
            return std::nullopt;
        }
        return std::pair{setup->inputs, beacon::mixedSequence(parser.value("call").toStdString(),
                                                              parser.value("locator").toStdString(),
                                                              *wpm, *shift)};
    }
    if (parser.isSet("mode")) {
        const auto mode = beacon::modeFromName(parser.value("mode").toStdString());
        if (!mode || *mode == beacon::Mode::Carrier) {
            usageError("--mode must be pi4, jt4, wspr or cw");
            return std::nullopt;
        }
        if (!parser.isSet("message")) {
            usageError("--mode needs --message");
            return std::nullopt;
        }
        return std::pair{setup->inputs,
                         beacon::singleElement(*mode, parser.value("message").toStdString(),
                                               submode.at(0).toLatin1(), *wpm, *shift)};
    }
    if (setup->beacon) return std::pair{setup->inputs, *setup->beacon};
    usageError("give --mode and --message, --preset mixed, or a --setup with a \"beacon\" object");
    return std::nullopt;
}

std::optional<beacon::PlannedBeacon> readPlannedBeacon(const QCommandLineParser& parser) {
    const auto read = readSequenceOptions(parser);
    if (!read) return std::nullopt;
    auto planned = beacon::planBeacon(read->first, read->second);
    if (const auto* refusal = std::get_if<std::string>(&planned)) {
        usageError(QString::fromStdString(*refusal));
        return std::nullopt;
    }
    return std::get<beacon::PlannedBeacon>(std::move(planned));
}

} // namespace kelvane::cli
