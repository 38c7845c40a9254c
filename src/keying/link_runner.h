#pragma once
// Sends a planned run over the serial link: each step's lines at the step's
// time, each line followed by the link's pause. Waiting for a step's time is
// a nested event loop, so the window stays live; the last two milliseconds
// are spun out, as the event loop's timers are only good to a millisecond.
//
// A sample exchange, a beacon's first three steps (times from its period):
//   -0.800  R00000017 ... R0D1A0000  (Update all registers, 12 lines)
//   -0.0126 R04009D72                (PI4 symbol 0, early by its wire time)
//    0.1541 R0400A0C2                (PI4 symbol 1)
// The board's replies are not checked; they only tell that it is there.

#include <QObject>
#include <atomic>

#include "keying/run.h"
#include "link/serial_link.h"

namespace kelvane::keying {

class LinkRunner : public QObject {
    Q_OBJECT
public:
    explicit LinkRunner(link::SerialLink& link, QObject* parent = nullptr);

    // Returns when the run ends: completed, stopped, the board silent (it
    // answered before, then 12 lines and 2 s brought nothing) or the port failed.
    RunOutcome run(const Run& run);
    // Ends a run after the lines of the step on the wire; a wait ends at once.
    void stop();
    bool running() const { return running_; }

signals:
    void stepSent(long long index, const kelvane::keying::RunStep& step);

private:
    bool waitUntil(std::chrono::system_clock::time_point moment);

    link::SerialLink& link_;
    bool running_ = false;
    bool stopRequested_ = false;
};

} // namespace kelvane::keying
