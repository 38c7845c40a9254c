#pragma once
// A planned run of register lines, sent step by step at set times: the shape
// the board's runs share (a beacon's keying is one).

#include <QByteArray>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace kelvane::keying {

// One step of a run: its lines go out in order, each followed by the link's
// own pause (just over 50 ms), then the step's dwell.
struct RunStep {
    std::vector<QByteArray> lines;
    double mhz = 0;    // output frequency once the lines are out
    std::string label; // "PI4 OZ7IGY symbol 12"
    // Earliest moment the first line may leave (system clock); none: at once.
    std::optional<std::chrono::system_clock::time_point> notBefore;
    std::chrono::milliseconds dwell{0};
};

struct Run {
    std::string name; // "Beacon"
    std::vector<RunStep> steps;
    long long passes = 1; // 0: until stopped
};

struct RunOutcome {
    enum class End { Completed, Stopped, BoardSilent, PortFailed };
    End end = End::Completed;
    long long stepsSent = 0;
    std::optional<RunStep> boardAt; // the last step whose lines all went out
    // "Beacon stopped; the board is at PI4 OZ7IGY symbol 12", the same words
    // in the window and kelvanectl.
    std::string line(const std::string& runName) const;
};

} // namespace kelvane::keying
