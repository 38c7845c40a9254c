// kelvanectl send: puts the register image of a plan on the board, with the
// window's bytes and pauses, and prints the board's replies as they come.

#include <QJsonArray>
#include <cstdio>

#include "cli/board_tools.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/port_session.h"
#include "cli/setup_inputs.h"
#include "cli/warnings.h"
#include "model/hex.h"
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
    parser.addOption({"verify", "With --store: then read the stored set back and compare it with "
                                "the plan, as 'kelvanectl verify' does."});
    addControlOptions(parser);
    parser.addOption({"json", "Print one JSON object at the end: the words sent in sending order, "
                              "the replies and the warnings."});
    addCheckOption(parser);
    if (auto exit = parseOrExit(parser, arguments)) return *exit;
    if (parser.isSet("quick") && parser.isSet("store"))
        return usageError("--quick and --store cannot be combined");
    if (parser.isSet("verify") && !parser.isSet("store"))
        return usageError("--verify checks what --store wrote; give both");
    if (parser.isSet("verify") && parser.isSet("json"))
        return usageError("--verify and --json cannot be combined; after the store, "
                          "'kelvanectl verify --json' gives the comparison as JSON");
    const auto inputs = readInputOptions(parser);
    if (!inputs) return exitUsage;
    const auto outcome = recalculate(*inputs, planVariablesFrom(*inputs));
    if (const auto* refused = std::get_if<RefusedPlan>(&outcome)) {
        std::fprintf(stderr, "kelvanectl: no plan: %s\n", refused->reason.c_str());
        return exitUsage;
    }
    const auto& result = std::get<Recalculation>(outcome);
    const RegisterImage image = result.registers;
    QStringList warnings = planWarnings(*inputs, result);
    const bool json = parser.isSet("json");
    if (const auto beyond = wordBeyond32Bits(image)) {
        std::fprintf(stderr, "kelvanectl: %s\n", beyond->c_str());
        return exitUsage;
    }

    session::BoardSession board;
    if (auto exit = openPort(board, parser)) return *exit;
    reportFailures(board);
    QByteArray replies;
    QObject::connect(
        &board, &session::BoardSession::received, [&replies, json](const QByteArray& bytes) {
            replies += bytes;
            if (json) return;
            std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
            std::fflush(stdout);
        });
    const link::RegisterSource source = [&image] { return image; };
    const bool completed = bool(parser.isSet("quick")   ? board.sendFrequency(source)
                                : parser.isSet("store") ? board.store(source)
                                                        : board.sendAll(source));

    // A board that answers nothing within a second of the last line is not there.
    if (completed && replies.isEmpty()) board.wait(std::chrono::seconds(1));
    if (completed && replies.isEmpty())
        warnings << "no reply from the board within a second of the send: check power, cable "
                    "and 9600 8N2";
    if (json) {
        QJsonArray sent;
        for (int address : parser.isSet("quick")
                               ? std::vector{2, 1, 0}
                               : std::vector(transferOrder.begin(), transferOrder.end()))
            sent << qText(hexWord(image[address]));
        writeJson(withPlanFacts({{"port", board.device()},
                                 {"completed", completed},
                                 {"sent", sent},
                                 {"replies", QString::fromLatin1(replies)}},
                                *inputs, result, warnings));
    }
    if (completed && parser.isSet("verify"))
        return finish(parser, warnings, verifyOnBoard(board, image, false));
    return finish(parser, warnings, completed ? exitOk : exitFailure);
}

} // namespace kelvane::cli
