// kelvane-board-sim: a virtual synthesizer board on a pseudo-terminal, so that
// every button of the window can be tried without hardware. The first line it
// prints is the device to open; it runs until interrupted, or until it hangs up.

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <pthread.h>
#include <stdexcept>
#include <string>
#include <string_view>

#include "pty_board.h"

namespace {

constexpr const char* usage =
    "Usage: kelvane-board-sim [options]\n"
    "\n"
    "A virtual synthesizer board on a pseudo-terminal, for trying the window\n"
    "program and kelvanectl without hardware. The first line it prints is the\n"
    "terminal's device, such as /dev/pts/3: type it into the window's port box or\n"
    "give it to kelvanectl --port. Then it answers every line as the board's\n"
    "firmware does, until it is interrupted (Ctrl+C, SIGTERM or SIGHUP):\n"
    "\n"
    "  R0000008D  load the register word         OK 0000008D\n"
    "  W          store the next register word   OK W, then OK 0000008D stored\n"
    "  init       read the stored set back       twelve lines such as 0x00 00 00 8D\n"
    "  other      (or a line over 64 bytes)      ERR bad line\n"
    "\n"
    "Options:\n"
    "  --eeprom FILE         keep the EEPROM in FILE: read at start, rewritten on\n"
    "                        every store; one word per line as eight hexadecimal\n"
    "                        digits, lines starting with # ignored. Without it the\n"
    "                        EEPROM starts with the window's start-up register set\n"
    "                        and lives in memory\n"
    "  --log FILE            write every piece received and sent, with its monotonic\n"
    "                        time, to FILE, one JSON object per line; a piece that\n"
    "                        loads a register word also gives \"outputHz\", the\n"
    "                        output frequency of the loaded registers\n"
    "  --reference MHZ       the reference frequency for \"outputHz\"; default 10\n"
    "  -h, --help            show this text\n"
    "  --version             show the version\n"
    "\n"
    "Faults, for trying how a host copes:\n"
    "  --flood BYTES         after the first line, send BYTES of text lines\n"
    "  --garbage             put NUL and non-ASCII bytes before every reply\n"
    "  --hangup-after N      hang up, as an unplugged adapter, after N lines\n"
    "  --silent-after N      answer the first N lines, then nothing\n"
    "  --slow-reply SECONDS  send every reply SECONDS late (0 or more)\n"
    "  --no-reply            answer nothing\n"
    "\n"
    "Example:\n"
    "  kelvane-board-sim --eeprom board-eeprom.txt\n"
    "\n"
    "Exit status: 0 interrupted, or hung up by --hangup-after; 1 the terminal or\n"
    "a file could not be used; 2 bad usage.\n";

int usageError(const std::string& message) {
    std::fprintf(stderr, "kelvane-board-sim: %s\n", message.c_str());
    return 2;
}

// A whole number or a non-negative decimal, the whole text.
std::optional<double> number(const char* text, bool whole) {
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || errno != 0 || value < 0) return std::nullopt;
    if (whole && value != static_cast<double>(static_cast<long long>(value))) return std::nullopt;
    return value;
}

constexpr int stopSignalNumbers[] = {SIGINT, SIGTERM, SIGHUP};

bool stopSignalPending() {
    sigset_t pending;
    sigpending(&pending);
    for (int signal : stopSignalNumbers)
        if (sigismember(&pending, signal) == 1) return true;
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    kelvane::sim::BoardOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        if (option == "--help" || option == "-h") {
            std::fputs(usage, stdout);
            return 0;
        }
        if (option == "--version") {
            std::printf("kelvane-board-sim %s\n", KELVANE_VERSION);
            return 0;
        }
        if (option == "--garbage") {
            options.faults.garbage = true;
            continue;
        }
        if (option == "--no-reply") {
            options.faults.noReply = true;
            continue;
        }
        if (i + 1 >= argc)
            return usageError("unknown option or missing value: " + std::string(option));
        const char* value = argv[++i];
        if (option == "--eeprom") {
            options.eepromPath = value;
        } else if (option == "--log") {
            options.logPath = value;
        } else if (option == "--flood" || option == "--hangup-after" ||
                   option == "--silent-after") {
            const auto n = number(value, true);
            if (!n || *n < 1)
                return usageError(std::string(option) + " needs a whole number from 1 up");
            if (option == "--flood")
                options.faults.floodBytes = static_cast<std::size_t>(*n);
            else if (option == "--silent-after")
                options.faults.silentAfterLines = static_cast<int>(*n);
            else
                options.faults.hangupAfterLines = static_cast<int>(*n);
        } else if (option == "--reference") {
            const auto mhz = number(value, false);
            if (!mhz || *mhz <= 0)
                return usageError("--reference needs a frequency in MHz above 0");
            options.referenceMhz = *mhz;
        } else if (option == "--slow-reply") {
            const auto seconds = number(value, false);
            if (!seconds) return usageError("--slow-reply needs a number of seconds, 0 or more");
            options.faults.slowReplySeconds = *seconds;
        } else {
            return usageError("unknown option " + std::string(option) + "; see --help");
        }
    }

    // No thread may take these signals: they stay pending until the main
    // thread sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    for (int signal : stopSignalNumbers)
        sigaddset(&stopSignals, signal);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    try {
        kelvane::sim::PtyBoard board(options);
        std::printf("%s\n", board.devicePath().c_str());
        std::fflush(stdout);
        const timespec tick{0, 100'000'000};
        while (!board.hungUp()) {
            if (stopSignalPending()) return 0;
            nanosleep(&tick, nullptr);
        }
        std::fprintf(stderr, "kelvane-board-sim: hung up\n");
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kelvane-board-sim: %s\n", error.what());
        return 1;
    }
}
