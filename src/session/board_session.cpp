#include "session/board_session.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace kelvane::session {
namespace {

// A board that answered before is taken as gone silent when neither this many
// lines nor this much time have brought a byte.
constexpr int silentLines = 12;
constexpr qint64 silentMs = 2000;

// The longest piece of a wait for a step's time: the system clock is read
// again after it, so that a clock set meanwhile is followed.
constexpr std::chrono::milliseconds clockCheck{1000};

BoardWork workOf(BoardSession::Activity activity) {
    switch (activity) {
    case BoardSession::Activity::ReadBack:
        return BoardWork::ReadBack;
    case BoardSession::Activity::Run:
        return BoardWork::Run;
    default:
        return BoardWork::Transfer;
    }
}

} // namespace

std::string RunOutcome::line() const {
    return runEndLine(end, stepsSent, boardAt ? std::optional(boardAt->mhz) : std::nullopt, cause);
}

// An operation in progress, from its start to every way out of it.
class BoardSession::Scope {
public:
    Scope(BoardSession& session, Activity activity, const QString& name) : session_(session) {
        session_.operations_.push_back({activity, name});
        if (session_.operations_.size() == 1) emit session_.activityChanged();
    }
    ~Scope() {
        session_.operations_.pop_back();
        if (session_.operations_.empty()) emit session_.activityChanged();
    }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

private:
    BoardSession& session_;
};

BoardSession::BoardSession(QObject* parent) : QObject(parent) {
    connect(&link_, &link::SerialLink::received, this, [this](const QByteArray& bytes) {
        countReplies(bytes);
        emit received(bytes);
    });
    connect(&link_, &link::SerialLink::failed, this, [this](const QString& message) {
        portFailure_ = message;
        emit failed(message);
    });
    connect(&link_, &link::SerialLink::closed, this, &BoardSession::closed);
    sinceReply_.start();
}

BoardSession::~BoardSession() = default;

link::OpenOutcome BoardSession::open(const QString& portText) {
    if (activity() == Activity::Run)
        return {link::OpenOutcome::Result::Failed, link_.device(), busyReason()};
    return link_.open(portText);
}

void BoardSession::close() {
    if (activity() == Activity::Run) {
        closeAfterRun_ = true;
        stop();
        return;
    }
    link_.close();
}

BoardSession::Activity BoardSession::activity() const {
    return operations_.empty() ? Activity::Idle : operations_.front().activity;
}

QString BoardSession::activityName() const {
    return operations_.empty() ? QString() : operations_.front().name;
}

QString BoardSession::busyReason() const {
    if (operations_.empty()) return {};
    return QString::fromStdString(busyLine(workOf(activity()), activityName().toStdString()));
}

// Lines end in CR LF, or in either alone; a CR LF split between two pieces is
// one line end.
void BoardSession::countReplies(const QByteArray& bytes) {
    for (const char byte : bytes) {
        if (byte == '\r' || (byte == '\n' && !replyCr_)) ++replyLines_;
        replyCr_ = byte == '\r';
    }
    if (!bytes.isEmpty()) {
        answered_ = true;
        linesSinceReply_ = 0;
        sinceReply_.restart();
    }
}

TransferOutcome BoardSession::transfer(const QString& name, Sequence sequence,
                                       const link::RegisterSource& image, int lines) {
    TransferOutcome outcome;
    if (activity() == Activity::Run || !link_.isOpen()) {
        outcome.refused = activity() == Activity::Run;
        return outcome;
    }
    const long long repliesBefore = replyLines_;
    {
        Scope scope(*this, Activity::Transfer, name);
        outcome.completed = sequence(link_, image);
        outcome.linesInside = operations_.back().linesInside;
    }
    outcome.linesSent = lines;
    outcome.replies = static_cast<int>(replyLines_ - repliesBefore);
    if (outcome.completed)
        for (Operation& outer : operations_)
            outer.linesInside += lines;
    announceIdle();
    return outcome;
}

TransferOutcome BoardSession::sendAll(const link::RegisterSource& image, const QString& name) {
    return transfer(name, link::sendAllRegisters, image, int(transferOrder.size()));
}

TransferOutcome BoardSession::sendFrequency(const link::RegisterSource& image,
                                            const QString& name) {
    return transfer(name, link::sendFrequencyRegisters, image, 3);
}

// Per word its line, the store mark and the line again.
TransferOutcome BoardSession::store(const link::RegisterSource& image, const QString& name) {
    return transfer(name, link::storeAllRegisters, image, 3 * int(transferOrder.size()));
}

std::optional<std::string> BoardSession::readStoredSet(const QString& name) {
    if (activity() == Activity::Run || !link_.isOpen()) return std::nullopt;
    QByteArray answer;
    bool answered = false;
    {
        Scope scope(*this, Activity::ReadBack, name);
        const auto collect = connect(&link_, &link::SerialLink::received, this,
                                     [&answer](const QByteArray& bytes) { answer += bytes; });
        answered = link::requestStoredSet(link_);
        disconnect(collect);
    }
    announceIdle();
    if (!answered) return std::nullopt;
    return answer.toStdString();
}

bool BoardSession::wait(std::chrono::milliseconds length) {
    return link_.pause(length);
}

bool BoardSession::waitFor(std::chrono::milliseconds length) {
    if (stopRequested_ || !link_.isOpen()) return false;
    QElapsedTimer clock; // monotonic
    clock.start();
    QEventLoop loop;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setSingleShot(true);
    bool timedOut = false;
    connect(&timer, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    connect(&link_, &link::SerialLink::closed, &loop, &QEventLoop::quit);
    connect(this, &BoardSession::stopping, &loop, &QEventLoop::quit);
    // A timer may fire a little early: it is armed again for what is left.
    while (clock.elapsed() < length.count()) {
        timedOut = false;
        timer.start(static_cast<int>(
            std::min<qint64>(length.count() - clock.elapsed(), std::numeric_limits<int>::max())));
        loop.exec();
        // Ended by Stop, by the port closing, or by the program quitting (which
        // ends every event loop and keeps new ones from running).
        if (!timedOut || stopRequested_ || !link_.isOpen()) return false;
    }
    return true;
}

bool BoardSession::waitUntil(std::chrono::system_clock::time_point moment) {
    using namespace std::chrono;
    // Timers wake a millisecond or so late: the events are serviced until just
    // before the moment, and the rest is spun out on the clock, so that a keyed
    // line leaves on its symbol boundary.
    constexpr auto spunOut = milliseconds(2);
    for (;;) {
        const auto sleep = floor<milliseconds>(moment - system_clock::now() - spunOut);
        if (sleep <= milliseconds(0)) break;
        if (!waitFor(std::min(sleep, clockCheck))) return false;
    }
    while (system_clock::now() < moment) {
    }
    return !stopRequested_ && link_.isOpen();
}

// The step's lines, each with its pause; Stop does not cut them short.
bool BoardSession::sendStep(const Run& run, const RunStep& step, bool first) {
    if (step.notBefore && !waitUntil(*step.notBefore)) return false;
    int lines = 0;
    for (const auto* list : {first ? &run.setUpLines : nullptr, &step.lines}) {
        if (!list) continue;
        for (const QByteArray& line : *list) {
            if (!link_.waitResponse(line)) return false;
            ++lines;
        }
    }
    linesSinceReply_ += lines;
    return true;
}

bool BoardSession::boardFellSilent() const {
    return answered_ && linesSinceReply_ >= silentLines && sinceReply_.elapsed() >= silentMs;
}

RunOutcome::End BoardSession::whyEnded() const {
    return portFailure_.isEmpty() ? RunOutcome::End::Stopped : RunOutcome::End::PortFailed;
}

RunOutcome BoardSession::run(const Run& run) {
    RunOutcome outcome;
    if (busy() || !link_.isOpen() || run.steps.empty()) {
        outcome.end = RunOutcome::End::Refused;
        outcome.cause = busy()            ? busyReason().toStdString()
                        : !link_.isOpen() ? "The board's port is not open"
                                          : "The run holds no step";
        emit runEnded(outcome);
        return outcome;
    }
    stopRequested_ = false;
    closeAfterRun_ = false;
    portFailure_.clear();
    answered_ = false;
    linesSinceReply_ = 0;
    sinceReply_.restart();
    {
        Scope scope(*this, Activity::Run, QString::fromStdString(run.name));
        outcome.end = RunOutcome::End::Completed;
        for (long long pass = 1; run.passes == 0 || pass <= run.passes; ++pass) {
            for (std::size_t index = 0; index < run.steps.size(); ++index) {
                const RunStep& step = run.steps[index];
                if (stopRequested_ || !sendStep(run, step, outcome.stepsSent == 0)) {
                    outcome.end = whyEnded();
                    break;
                }
                ++outcome.stepsSent;
                outcome.boardAt = step;
                emit stepSent(static_cast<long long>(index), step);
                if (boardFellSilent()) {
                    outcome.end = RunOutcome::End::BoardSilent;
                    break;
                }
                if (step.dwell.count() > 0 && !waitFor(step.dwell)) {
                    outcome.end = whyEnded();
                    break;
                }
            }
            if (outcome.end != RunOutcome::End::Completed) break;
        }
        if (outcome.end == RunOutcome::End::PortFailed) outcome.cause = portFailure_.toStdString();
    }
    if (closeAfterRun_) link_.close();
    closeAfterRun_ = false;
    emit runEnded(outcome);
    announceIdle();
    return outcome;
}

void BoardSession::announceIdle() {
    if (!busy()) emit idle();
}

void BoardSession::stop() {
    if (activity() != Activity::Run) return;
    stopRequested_ = true;
    emit stopping();
}

} // namespace kelvane::session
