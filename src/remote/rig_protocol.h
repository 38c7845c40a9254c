#pragma once
// The line protocol of the common rig-control network daemon, as far as a
// synthesizer board can answer it: rig-control, logging, satellite-tracking
// and digital-mode programs retune the board through it.
//
// A client sends lines of commands; each command is one letter or a
// backslash and a long name, then its arguments, separated by blanks. A
// leading "+", ";", "|" or "," asks for the extended answer: the command's
// name, each value with its label, and the result, "+" putting them on lines
// of their own, the others joining them with that character. A sample
// exchange (client lines marked >, answers below them):
//
//   > \chk_vfo                        > +f
//   0                                 get_freq:
//   > \dump_state                     Frequency: 1296500000
//   1                                 RPRT 0
//   ... (the board's description)     > ;F 1296500000
//   done                              set_freq: 1296500000;RPRT 0
//   > F 1296500000.000000             > F 99
//   RPRT 0                            RPRT -1
//   > f                               > M USB 0
//   1296500000                        RPRT -11
//   > q
//   RPRT 0                            (and the connection closes)
//
// Every line is answered on its own: a command missing its argument is a
// malformed command, not a wait for the next line.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane::remote {

// Longer lines end the client's connection.
inline constexpr std::size_t longestLine = 1024;

enum class Command {
    SetFrequency,   // F, \set_freq HERTZ
    GetFrequency,   // f, \get_freq
    GetVfo,         // v, \get_vfo
    GetSplitVfo,    // s, \get_split_vfo
    GetMode,        // m, \get_mode
    CheckVfo,       // \chk_vfo
    DumpState,      // \dump_state
    GetPowerStatus, // \get_powerstat
    Quit,           // q, Q
    Unknown         // anything else: the rest of its line is not read
};

// The result codes the answers carry ("RPRT -1").
enum Result : int {
    resultOk = 0,
    invalidParameter = -1, // malformed argument, or a frequency the board cannot make
    ioError = -6,          // the board's port is closed or failed
    rejected = -9,         // the plan inputs are locked
    notImplemented = -11,
};

struct Request {
    Command command = Command::Unknown;
    // 0 for the plain answer; the extended answer's separator otherwise.
    char separator = 0;
    std::string argument; // as written, for the extended answer's echo
};

// The commands of one line, without its line end, in order. Stops after the
// first Unknown or Quit command.
std::vector<Request> parseLine(std::string_view line);

// A frequency argument in hertz: a decimal number above 0 ("1296500000",
// "1296500000.000000", "1.2965e9"), or nothing.
std::optional<double> readHertz(std::string_view text);

// What the board says about itself: the output frequency wanted now, and the
// range it can be tuned over with the inputs in force.
struct RigState {
    long long hertz = 0;
    double lowestHertz = 0;
    double highestHertz = 0;
    std::string version; // "Kelvane 0.1.0"
};

// The answer to one request: `result` is how a SetFrequency ended (the other
// commands always succeed, Unknown always fails).
std::string answer(const Request& request, const RigState& state, int result = resultOk);

// The whole frequency in hertz, rounded to the nearest.
long long wholeHertz(double mhz);

} // namespace kelvane::remote
