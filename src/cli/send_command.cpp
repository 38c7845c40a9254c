// kelvanectl send: puts the register image of a plan on the board, with the
// window's bytes and pauses, and prints the board's replies as they come.

#include <QJsonArray>
#include <cstdio>
#include <utility>

#include "cli/board_tools.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/port_session.h"
#include "cli/setup_inputs.h"
#include "cli/terminal_output.h"
#include "cli/warnings.h"
#include "link/transfers.h"
#include "model/display_text.h"
#include "model/hex.h"
#include "model/recalculation.h"

namespace kelvane::cli {
namespace {

// A reply line of the board as text, its CR LF ending "\n".
std::string replyLine(QByteArray line) {
    if (line.endsWith('\r')) line.chop(1);
    return escapedText(line.toStdString()) + "\n";
}

} // namespace

int runSend(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Sends the register words of the plan that the options give, as the window's\n"
        "\"Update all registers\" does (or \"Quick Freq Update\", or \"Store to EE\"),\n"
        "at 9600 baud, 8 data bits, no parity, 2 stop bits, with a pause of just over\n"
        "50 ms after every register line. The board's replies are printed as they\n"
        "come, a line at a time with unprintable bytes escaped; they are not checked.");
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
    const auto recalculation = recalculateOrReport(*inputs);
    if (!recalculation) return exitUsage;
    const Recalculation& result = *recalculation;
    const RegisterImage image = result.registers;
    QStringList warnings = planWarnings(*inputs, result);
    const bool json = parser.isSet("json");
    if (const auto beyond = wordBeyond32Bits(image)) {
        printError(QString::fromStdString(*beyond));
        return exitUsage;
    }

    session::BoardSession board;
    if (auto exit = openPort(board, parser)) return *exit;
    reportFailures(board);
    // The replies are shown line by line as text: a board's stray NUL, DEL or
    // other byte must not reach the terminal as it came.
    QByteArray replies, unshown;
    const auto showReplies = [&unshown](bool all) {
        for (qsizetype end; (end = unshown.indexOf('\n')) >= 0; unshown.remove(0, end + 1))
            writeOut(replyLine(unshown.left(end)), true);
        if (all && !unshown.isEmpty()) writeOut(replyLine(std::exchange(unshown, {})), true);
    };
    QObject::connect(&board, &session::BoardSession::received,
                     [&replies, &unshown, &showReplies, json](const QByteArray& bytes) {
                         replies += bytes;
                         if (json) return;
                         unshown += bytes;
                         showReplies(false);
                     });
    const link::RegisterSource source = [&image] { return image; };
    const bool completed = bool(parser.isSet("quick")   ? board.sendFrequency(source)
                                : parser.isSet("store") ? board.store(source)
                                                        : board.sendAll(source));

    // A board that answers nothing within a second of the last line is not there.
    if (completed && replies.isEmpty()) board.wait(std::chrono::seconds(1));
    showReplies(true);
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
