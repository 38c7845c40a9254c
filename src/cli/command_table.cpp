// The subcommands with the one-line summaries and examples their help shows.
// The examples run as written (those of send and read with a board on the port).

#include <algorithm>

#include "cli/commands.h"

namespace kelvane::cli {
namespace {

constexpr const char* calculationExit =
    "Exit status: 0 printed; 2 bad usage, or no plan for these inputs (the reason\n"
    "goes to standard error).";

constexpr Command commands[] = {
    {"plan", "print the frequency plan and the register listing",
     "kelvanectl plan --fo 2320.25 --fr 10 --res 10\n"
     "kelvanectl plan --fo 1296.1 --odiv 2 --json\n"
     "kelvanectl plan --fo 2400.05 --wsjt 3",
     "Exit status: 0 printed; 2 bad usage, or no plan for these inputs (the reason\n"
     "goes to standard error, and with --json into the object's \"error\").",
     runPlan},
    {"export", "print the register set as PIC assembler lines",
     "kelvanectl export --fo 2304.1 > registers.inc\n"
     "kelvanectl export --fo 1296.1 --odiv 2 --crlf > registers.inc",
     calculationExit, runExport},
    {"fsk", "print the FSK-by-Reg2 denominators for a shift",
     "kelvanectl fsk --fo 2320.25 --shift -400\n"
     "kelvanectl fsk --fo 2304.1 --wsjt 2 --shift 250",
     calculationExit, runFsk},
    {"send", "send the register words of a plan to the board",
     "kelvanectl send --port /dev/ttyUSB0 --fo 2320.25\n"
     "kelvanectl send --port 1 --quick --fo 2320.26\n"
     "kelvanectl send --port COM3 --store --verify --fo 2304.1 --res 10",
     "Exit status: 0 sent (with --verify: and stored as planned); 1 the port could not\n"
     "be opened, or closed before the last line, or with --verify no register entry\n"
     "came back; 3 with --verify, the stored set differs from the plan; 2 bad usage,\n"
     "no --port or port 0, no plan for these inputs, or a word beyond 32 bits.",
     runSend},
    {"save", "write the inputs as a setup file for the window and --setup",
     "kelvanectl save lo-10368.kelvane --name LO-10368 --fo 10368 --rfmult 4\n"
     "kelvanectl save lo-10368-fine.kelvane --setup lo-10368.kelvane --res 1",
     "Exit status: 0 written; 1 the file could not be written; 2 bad usage, a bad\n"
     "--setup file, or the file exists and --force is not given.",
     runSave},
    {"read", "read the board's stored set back and print its plan",
     "kelvanectl read --port /dev/ttyUSB0\n"
     "kelvanectl read --port COM3 --fr 10 --json\n"
     "kelvanectl read --port /dev/ttyUSB0 --save board.kelvane",
     "Exit status: 0 read and printed; 1 the port could not be opened or failed, or\n"
     "the board's answer held no register set to restore; 2 bad usage, no --port\n"
     "or port 0.",
     runRead},
    {"verify", "compare the board's stored set with the words of a plan",
     "kelvanectl verify --port /dev/ttyUSB0 --fo 2320.25\n"
     "kelvanectl verify --port COM3 --fr 10 --json",
     "Exit status: 0 every stored word matches the plan; 3 they differ; 1 the port\n"
     "could not be opened or failed, or no register entry came back; 2 bad usage, no\n"
     "--port or port 0, or no plan for these inputs.",
     runVerify},
    {"calibrate", "work out the corrected reference from a measured output",
     "kelvanectl calibrate --measured 2320.250023\n"
     "kelvanectl calibrate --measured 1160.1249884 --fo 1160.125 --odiv 2 --json",
     "Exit status: 0 printed; 2 bad usage, no plan for these inputs, or a measured\n"
     "value that is no number above 0 or lies more than 1000 ppm from the plan's\n"
     "output.",
     runCalibrate},
    {"sweep", "step the board's output from one frequency to another",
     "kelvanectl sweep --port /dev/ttyUSB0 --from 2320 --to 2321 --step 0.1 --dwell 1000\n"
     "kelvanectl sweep --port 1 --from 2304.2 --to 2304 --step -0.001 --forever",
     "Exit status: 0 sent; 130 stopped by Ctrl-C, 143 by SIGTERM, 129 by a hang-up;\n"
     "3 a warning with --check (nothing is sent then); 1 the port could not be opened or\n"
     "failed, or the board stopped answering; 2 bad usage, no --port or port 0, or a\n"
     "frequency of the sweep that cannot be sent (nothing is sent then).",
     runSweep},
    {"hop", "send the output frequencies of a list file in turn",
     "kelvanectl hop --port /dev/ttyUSB0 --list beacons.txt --dwell 60000 --forever\n"
     "kelvanectl hop --port COM3 --list channels.txt --repeat 3 --odiv 2",
     "Exit status: 0 sent; 130 stopped by Ctrl-C, 143 by SIGTERM, 129 by a hang-up;\n"
     "3 a warning with --check (nothing is sent then); 1 the port could not be opened or\n"
     "failed, or the board stopped answering; 2 bad usage, no --port or port 0, a\n"
     "list that cannot be read, or a frequency in it that cannot be sent (nothing\n"
     "is sent then).",
     runHop},
    {"beacon", "beacon keying: symbols, tone table, firmware export, live run",
     "kelvanectl beacon plan --preset mixed --call OZ7IGY --locator JO55WM\n"
     "kelvanectl beacon symbols --mode pi4 --message OZ7IGY\n"
     "kelvanectl beacon export --mode wspr --message \"K1ABC FN42 37\" --format c\n"
     "kelvanectl beacon run --port /dev/ttyUSB0 --preset mixed --call OZ7IGY --locator JO55WM "
     "--forever",
     "Exit status: 0 printed or keyed; 130 stopped by Ctrl-C; 1 the port could not be\n"
     "opened or failed, or the board stopped answering; 2 bad usage, or a message,\n"
     "sequence or tone table that cannot be keyed (one line names the field and the\n"
     "rule; nothing is sent then).",
     runBeacon},
    {"serve", "let rig-control programs retune the board over the network",
     "kelvanectl serve --port /dev/ttyUSB0\n"
     "kelvanectl serve --port COM3 --listen 4533 --setup lo-10368.kelvane",
     "Exit status: 0 ended by Ctrl-C; 1 the port could not be opened or failed, or\n"
     "the address cannot be listened on; 2 bad usage, no --port or port 0, a bad\n"
     "--listen address or --setup file.",
     runServe},
    {"ports", "list the serial ports with their numbers", "kelvanectl ports",
     "Exit status: 0 listed, also when there is no port; 2 bad usage.", runPorts},
};

} // namespace

std::span<const Command> commandTable() {
    return commands;
}

const Command* findCommand(const QString& name) {
    const auto found =
        std::find_if(std::begin(commands), std::end(commands),
                     [&name](const Command& command) { return name == command.name; });
    return found == std::end(commands) ? nullptr : found;
}

} // namespace kelvane::cli
