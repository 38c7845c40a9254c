// kelvanectl verify: whether the board's EEPROM holds the words of a plan.

#include "cli/board_tools.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/port_session.h"
#include "cli/setup_inputs.h"

namespace kelvane::cli {

int runVerify(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Asks the board for the register set stored in its EEPROM, as the window's\n"
        "\"Init from EE\" does (\"init\", then 1.5 s for the answer), and compares every\n"
        "stored word, all 32 bits, with the word of the plan that the options give.\n"
        "Prints one line: \"EEPROM matches the plan: 12 of 12 words\", or the words that\n"
        "differ in the order they are sent (Reg7, Reg13, Reg12, Reg9 ... Reg0), such as\n"
        "\"EEPROM differs from the plan: Reg3 stored 00A87313, plan 00A87303; Reg0 not\n"
        "stored\". Nothing is sent to the board but the read request.");
    addPortOption(parser);
    addControlOptions(parser);
    parser.addOption({"json", "Print one JSON object: match, compared, differences."});
    if (auto exit = parseOrExit(parser, arguments)) return *exit;
    const auto controls = readInputOptions(parser);
    if (!controls) return exitUsage;
    const auto result = recalculateOrReport(*controls);
    if (!result) return exitUsage;

    session::BoardSession board;
    if (auto exit = openPort(board, parser)) return *exit;
    reportFailures(board);
    return verifyOnBoard(board, result->registers, parser.isSet("json"));
}

} // namespace kelvane::cli
