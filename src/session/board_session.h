#pragma once
// The board session: the one owner of the serial link and of the board's byte
// stream. Every operation on the board goes through it, for the window and
// kelvanectl alike:
//   - the transfers (Update all registers, Quick Freq Update, Store to EE) and
//     the read-back (the read request and the 1.5 s wait for the answer), with
//     the bytes and pauses of link/transfers.h;
//   - runs: a list of steps planned and checked before anything is sent
//     (a sweep, a hop list, ...), each step's lines followed by the link's
//     pause, then the step's dwell.
//
// Everything runs on the caller's thread; every wait is a nested event loop,
// so the program keeps servicing its events. A transfer or read-back may run
// inside another's pause (a button pressed meanwhile runs at once, as it always
// has); a run needs the board to itself: it is refused while anything else is
// in progress, and transfers and read-backs are refused while it runs. Stop
// (or Ctrl-C, or closing) ends a run after the lines of the step on the wire,
// at once during a dwell or a wait for a step's time; a board that answered
// before and then stays silent for 12 lines and 2 s ends it too, as does a
// port that fails. Each run ends with one RunOutcome.
//
// A sample exchange: a sweep of 2320.25, 2320.35 and 2320.45 MHz with the
// start-up plan and a dwell of 1 s, stopped during the dwell after the second
// frequency (| marks a pause of just over 50 ms; the replies are those of
// kelvane-board-sim):
//
//   host -> board                          board -> host         session
//   R00000017\r\n |                        OK 00000017\r\n        setUpLines of the
//   ... registers 13, 12, 9, 8, 6, 5, 4, 3 ...                    run, once
//   R04F42402\r\n |                        OK 04F42402\r\n        step 0's lines
//   R00000011\r\n |                        OK 00000011\r\n
//   R61A80E80\r\n |                        OK 61A80E80\r\n
//                                                                stepSent(0), dwell 1 s
//   R04F42402\r\n |                        OK 04F42402\r\n        step 1's lines
//   R00000011\r\n |                        OK 00000011\r\n
//   R88B80E80\r\n |                        OK 88B80E80\r\n
//                                                                stepSent(1), dwell;
//                                                                stop(): the dwell ends
//   runEnded: "Stopped; the board is at 2320.350000 MHz", 2 steps sent.

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "link/serial_link.h"
#include "link/transfers.h"
#include "modes/run_report.h"

namespace kelvane::session {

// One step of a run: its lines go out in order, each followed by the link's
// own pause (just over 50 ms), then the step's dwell.
struct RunStep {
    std::vector<QByteArray> lines; // link::registerLine(word) for each word
    double mhz = 0;                // the output once the lines are out
    std::string label;             // what the step is called: "2320.250000 MHz"
    // Earliest moment the step's first line may leave (system clock); none: at once.
    std::optional<std::chrono::system_clock::time_point> notBefore;
    std::chrono::milliseconds dwell{0};
};

struct Run {
    std::string name; // "Sweep", "Hop", ...: what busyLine() calls it
    // Sent once, just before the first step's lines and as part of that step
    // (the registers that stay, in a frequency run).
    std::vector<QByteArray> setUpLines;
    std::vector<RunStep> steps; // planned and checked before the run starts
    long long passes = 1;       // 0: until stopped
};

struct RunOutcome {
    using End = RunEnd;
    End end = End::Completed;
    long long stepsSent = 0;
    std::optional<RunStep> boardAt; // the last step whose lines all went out
    std::string cause;              // the port's line (PortFailed), why (Refused)
    // One line, the same words in the window and kelvanectl (see run_report.h).
    std::string line() const;
};

// A transfer's result. `replies` counts the lines the board sent from the
// transfer's start to its end; when other transfers ran inside its pauses,
// their lines are in `linesInside` and their replies among `replies`.
struct TransferOutcome {
    bool completed = false; // the whole sequence went out
    bool refused = false;   // a run has the board: nothing was sent
    int linesSent = 0;
    int replies = 0;
    int linesInside = 0;
    explicit operator bool() const { return completed; }
};

class BoardSession : public QObject {
    Q_OBJECT
public:
    enum class Activity { Idle, Transfer, ReadBack, Run };

    explicit BoardSession(QObject* parent = nullptr);
    ~BoardSession() override;

    // Opens the port a text names (link/port_choice.h); refused during a run.
    link::OpenOutcome open(const QString& portText);
    // Releases the port; a transfer or read-back in progress stops there. During
    // a run, the run ends after its step's lines and the port closes then.
    void close();
    bool isOpen() const { return link_.isOpen(); }
    // The device of the last open attempt, such as "/dev/ttyUSB0".
    QString device() const { return link_.device(); }

    // What is in progress: the outermost operation, and its name ("Sweep",
    // "Init from EE", ...).
    Activity activity() const;
    QString activityName() const;
    bool busy() const { return activity() != Activity::Idle; }
    // Why something else cannot use the board now: busyLine() of the outermost
    // operation; empty when idle.
    QString busyReason() const;

    // The transfers of link/transfers.h, each word taken from `image` when its
    // turn comes. `name` is the transfer's name in busyReason().
    TransferOutcome sendAll(const link::RegisterSource& image,
                            const QString& name = QStringLiteral("Update all registers"));
    TransferOutcome sendFrequency(const link::RegisterSource& image,
                                  const QString& name = QStringLiteral("Quick Freq Update"));
    TransferOutcome store(const link::RegisterSource& image,
                          const QString& name = QStringLiteral("Store to EE"));
    // The read request and the 1.5 s wait: the bytes the board sent meanwhile
    // (Latin-1), or nothing when the port failed or closed, or a run has the board.
    std::optional<std::string> readStoredSet(const QString& name = QStringLiteral("Init from EE"));
    // Services events for just over `length` with nothing sent; false when the
    // port closed.
    bool wait(std::chrono::milliseconds length);

    // Sends a planned run and returns when it ends.
    RunOutcome run(const Run& run);
    // Ends a run after the current step's lines (at once in a dwell or a wait
    // for a step's time). Does nothing when no run is in progress.
    void stop();

signals:
    // Bytes from the board, as they arrive.
    void received(const QByteArray& bytes);
    // The port failed while open: the link has closed, closed() follows.
    void failed(const QString& message);
    void closed();
    void activityChanged();
    // Once the step's lines are all out; `index` is its place in Run::steps.
    void stepSent(long long index, const kelvane::session::RunStep& step);
    void runEnded(const kelvane::session::RunOutcome& outcome);
    // Nothing is in progress any more: work that waited may go.
    void idle();
    // stop() was called during a run.
    void stopping();

private:
    struct Operation {
        Activity activity;
        QString name;
        int linesInside = 0; // sent by transfers that ran inside this one
    };
    class Scope;
    using Sequence = bool (*)(link::SerialLink&, const link::RegisterSource&);

    TransferOutcome transfer(const QString& name, Sequence sequence,
                             const link::RegisterSource& image, int lines);
    void countReplies(const QByteArray& bytes);
    // False when the wait ended early: Stop, the port closed, the program quitting.
    bool waitFor(std::chrono::milliseconds length);
    bool waitUntil(std::chrono::system_clock::time_point moment);
    bool sendStep(const Run& run, const RunStep& step, bool first);
    RunOutcome::End whyEnded() const;
    // idle() once the outermost operation has ended.
    void announceIdle();
    bool boardFellSilent() const;

    link::SerialLink link_;
    std::vector<Operation> operations_; // outermost first
    long long replyLines_ = 0;          // every line the board sent
    bool replyCr_ = false;              // the board's last piece ended in CR
    // The current run's state.
    bool stopRequested_ = false;
    bool closeAfterRun_ = false;
    QString portFailure_;
    bool answered_ = false;
    int linesSinceReply_ = 0;
    QElapsedTimer sinceReply_;
};

} // namespace kelvane::session
