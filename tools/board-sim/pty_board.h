#pragma once
// The virtual board on a pseudo-terminal: a thread that reads what the host
// writes to the terminal's device, feeds it to the board's firmware and writes
// the replies back. Tests run it in their own process; kelvane-board-sim runs it
// as a program.
//
// The board holds the device side open itself, so the terminal exists from
// start to end whether a host has it open or not. Hanging up (closing the
// terminal) is what unplugging a serial adapter does to the host.

#include <atomic>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "board.h"

namespace kelvane::sim {

// Ways the board can misbehave, for testing how the host copes.
struct Faults {
    std::size_t floodBytes = 0;  // send this much text after the first line received
    bool garbage = false;        // put NUL and non-ASCII bytes before every reply
    int hangupAfterLines = 0;    // hang up once this many lines have come (0: never)
    int silentAfterLines = 0;    // answer no line after this many (0: answer all)
    double slowReplySeconds = 0; // hold every reply back this long
    bool noReply = false;        // take lines but answer none
};

struct BoardOptions {
    std::string eepromPath; // empty: the EEPROM lives in memory only
    std::string logPath;    // empty: no log file
    Faults faults;
    double referenceMhz = 10; // for the output frequency in the log
};

// One piece of bytes as it passed the terminal, with the monotonic clock's
// time in seconds (the same clock as std::chrono::steady_clock).
struct Chunk {
    double time = 0;
    bool fromHost = false;
    std::string bytes;
    std::optional<double> outputHz; // from the host, when it loaded a register word
};

class PtyBoard {
public:
    // Opens the terminal and starts the board. Throws std::runtime_error.
    explicit PtyBoard(BoardOptions options = {});
    ~PtyBoard();
    PtyBoard(const PtyBoard&) = delete;
    PtyBoard& operator=(const PtyBoard&) = delete;

    // The device a host opens, such as "/dev/pts/3".
    const std::string& devicePath() const { return devicePath_; }

    // Closes the terminal now, as unplugging the adapter would.
    void hangUp();
    bool hungUp() const { return hungUp_; }

    std::vector<Chunk> chunks() const;
    // Everything received from the host so far, in one piece.
    std::string received() const;
    Words eeprom() const;
    Words registers() const;

private:
    void run();
    void handleInput(double now);
    void writePending(double now);
    void record(double time, bool fromHost, const std::string& bytes,
                std::optional<double> outputHz = std::nullopt);
    void closeTerminal();

    BoardOptions options_;
    Board board_;
    std::string devicePath_;
    int master_ = -1;
    int slave_ = -1;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::FILE* log_ = nullptr;

    // Replies waiting for their time (slow replies) and bytes waiting for room.
    struct Scheduled {
        double due;
        std::string bytes;
    };
    std::vector<Scheduled> scheduled_;
    std::string outgoing_;
    bool flooded_ = false;
    std::size_t floodLeft_ = 0; // flood bytes still to send
    std::size_t floodLine_ = 1; // number of the next flood line

    mutable std::mutex mutex_; // guards board_, chunks_ and the terminal's closing
    std::vector<Chunk> chunks_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> hungUp_{false};
    std::atomic<bool> hangUpRequested_{false};
    std::thread thread_;
};

// The monotonic clock in seconds.
double monotonicSeconds();

} // namespace kelvane::sim
