// kelvanectl send: puts the register image of a plan on the board, with the
// window's bytes and pauses, and prints the board's replies as they come.

#include <cstdio>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/port_session.h"
#include "link/transfers.h"
#include "model/recalculation.h"

namespace kelvane::cli {

int runSend(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Sends the register words of the plan that the options give, as the window's\n"
        "\"Update all registers\" does (or \"Quick Freq Update\", or \"Store to EE\"),\n"
        "at 9600 baud, 8 data bits, no parity, 2 stop bits, with a pause of just over\n"
        "50 ms after every register line. The board's replies are printed as they\n"
        "come; they are not checked.");
    addPortOption(parser);
    parser.addOption({"quick", "Send only Reg2, Reg1 and Reg0 (Quick Freq Update)."});
    parser.addOption({"store", "Send every word for the board's EEPROM (Store to EE)."});
    addControlOptions(parser);
    if (auto exit = parseOrExit(parser, arguments)) return *exit;
    if (parser.isSet("quick") && parser.isSet("store"))
        return usageError("--quick and --store cannot be combined");
    const auto controls = readControlOptions(parser);
    if (!controls) return exitUsage;
    const auto outcome = recalculate(planInputsFrom(*controls), loopSettingsFrom(*controls));
    if (const auto* refused = std::get_if<RefusedPlan>(&outcome)) {
        std::fprintf(stderr, "kelvanectl: no plan: %s\n", refused->reason.c_str());
        return exitUsage;
    }
    const RegisterImage image = std::get<Recalculation>(outcome).registers;
    if (const auto beyond = wordBeyond32Bits(image)) {
        std::fprintf(stderr, "kelvanectl: %s\n", beyond->c_str());
        return exitUsage;
    }

    link::SerialLink link;
    if (auto exit = openPort(link, parser)) return *exit;
    reportFailures(link);
    QObject::connect(&link, &link::SerialLink::received, [](const QByteArray& bytes) {
        std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
        std::fflush(stdout);
    });
    const link::RegisterSource source = [&image] { return image; };
    bool completed = false;
    if (parser.isSet("quick"))
        completed = link::sendFrequencyRegisters(link, source);
    else if (parser.isSet("store"))
        completed = link::storeAllRegisters(link, source);
    else
        completed = link::sendAllRegisters(link, source);
    return completed ? exitOk : exitFailure;
}

} // namespace kelvane::cli
