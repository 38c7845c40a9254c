#include "keying/link_runner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace kelvane::keying {
namespace {

constexpr int silentLines = 12;
constexpr qint64 silentMs = 2000;
constexpr auto spinLength = std::chrono::milliseconds(2);

} // namespace

std::string RunOutcome::line(const std::string& runName) const {
    const std::string at = boardAt ? "; the board is at " + boardAt->label : "; nothing was sent";
    switch (end) {
    case End::Completed:
        return runName + " completed" + at;
    case End::Stopped:
        return runName + " stopped" + at;
    case End::BoardSilent:
        return runName + " ended: the board stopped answering; check its power, cable and firmware";
    case End::PortFailed:
        return runName + " ended: the port failed" + at;
    }
    return {};
}

LinkRunner::LinkRunner(link::SerialLink& link, QObject* parent) : QObject(parent), link_(link) {}

void LinkRunner::stop() {
    stopRequested_ = true;
}

bool LinkRunner::waitUntil(std::chrono::system_clock::time_point moment) {
    using namespace std::chrono;
    QEventLoop loop;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(&link_, &link::SerialLink::closed, &loop, &QEventLoop::quit);
    QTimer stopWatch;
    connect(&stopWatch, &QTimer::timeout, &loop, [&] {
        if (stopRequested_) loop.quit();
    });
    stopWatch.start(10);
    for (;;) {
        if (stopRequested_ || !link_.isOpen()) return false;
        const auto left = moment - system_clock::now();
        if (left <= spinLength) break;
        timer.start(static_cast<int>(duration_cast<milliseconds>(left - spinLength).count()));
        loop.exec();
        if (QCoreApplication::closingDown()) return false;
    }
    while (system_clock::now() < moment)
        ;
    return true;
}

RunOutcome LinkRunner::run(const Run& run) {
    RunOutcome outcome;
    running_ = true;
    stopRequested_ = false;
    bool answered = false;
    int linesSinceReply = 0;
    QElapsedTimer sinceReply;
    sinceReply.start();
    const auto replies = connect(&link_, &link::SerialLink::received, this, [&](const QByteArray&) {
        answered = true;
        linesSinceReply = 0;
        sinceReply.restart();
    });
    auto finish = [&](RunOutcome::End end) {
        disconnect(replies);
        running_ = false;
        outcome.end = end;
        return outcome;
    };
    for (long long pass = 1; run.passes == 0 || pass <= run.passes; ++pass) {
        for (const RunStep& step : run.steps) {
            if (stopRequested_) return finish(RunOutcome::End::Stopped);
            if (step.notBefore && !waitUntil(*step.notBefore))
                return finish(stopRequested_ ? RunOutcome::End::Stopped
                                             : RunOutcome::End::PortFailed);
            for (const QByteArray& line : step.lines)
                if (!link_.waitResponse(line)) return finish(RunOutcome::End::PortFailed);
            linesSinceReply += static_cast<int>(step.lines.size());
            outcome.boardAt = step;
            emit stepSent(outcome.stepsSent++, step);
            if (answered && linesSinceReply >= silentLines && sinceReply.elapsed() >= silentMs)
                return finish(RunOutcome::End::BoardSilent);
            if (step.dwell.count() > 0 && !link_.pause(step.dwell))
                return finish(RunOutcome::End::PortFailed);
        }
    }
    return finish(stopRequested_ ? RunOutcome::End::Stopped : RunOutcome::End::Completed);
}

} // namespace kelvane::keying
