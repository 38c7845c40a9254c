// Pacing and processor use of the transfers and of a kelvanectl sweep, against
// kelvane-board-sim run as its own program: the gap the board sees after every
// register line (target: 50 to 52 ms) and the CPU time while a transfer runs
// (target: under 5% of its wall time, since the pauses wait rather than spin).

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <sys/resource.h>

#include "link/serial_link.h"
#include "link/transfers.h"
#include "model/recalculation.h"

namespace {

double monotonicSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double cpuSeconds(int who = RUSAGE_SELF) {
    rusage usage{};
    ::getrusage(who, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Arrival times of the pieces the board received after `since`; pieces within
// 10 ms of each other (a store mark and the line behind it) count as one.
std::vector<double> arrivals(const QString& logPath, double since) {
    QFile log(logPath);
    if (!log.open(QIODevice::ReadOnly)) qFatal("cannot read %s", qPrintable(logPath));
    std::vector<double> times;
    for (const QByteArray& line : log.readAll().split('\n')) {
        const QJsonObject entry = QJsonDocument::fromJson(line).object();
        const double t = entry.value("t").toDouble();
        if (entry.value("dir") != "rx" || t < since) continue;
        if (!times.empty() && t - times.back() < 0.010) continue;
        times.push_back(t);
    }
    return times;
}

struct Figures {
    std::vector<double> gapsMs;
    double cpuPercent = 0;
};

Figures measure(kelvane::link::SerialLink& link, const QString& logPath,
                const std::function<bool()>& transfer) {
    const double start = monotonicSeconds();
    const double cpuStart = cpuSeconds();
    if (!transfer()) qFatal("the transfer stopped");
    const double end = monotonicSeconds();
    const double cpu = cpuSeconds() - cpuStart;
    // Let the board's log catch up with the last piece.
    link.pause(std::chrono::milliseconds(100));

    std::vector<double> times = arrivals(logPath, start);
    times.push_back(end); // the pause after the last line ends with the transfer
    Figures figures;
    for (std::size_t i = 1; i < times.size(); ++i)
        figures.gapsMs.push_back((times[i] - times[i - 1]) * 1000);
    figures.cpuPercent = cpu / (end - start) * 100;
    return figures;
}

void report(const char* name, std::vector<Figures> rounds) {
    std::vector<double> gaps;
    double cpuWorst = 0;
    for (const auto& figures : rounds) {
        gaps.insert(gaps.end(), figures.gapsMs.begin(), figures.gapsMs.end());
        cpuWorst = std::max(cpuWorst, figures.cpuPercent);
    }
    std::sort(gaps.begin(), gaps.end());
    const auto within =
        std::count_if(gaps.begin(), gaps.end(), [](double g) { return g >= 50 && g <= 52; });
    std::printf(
        "%s: gap after each line min %.2f ms, median %.2f ms, max %.2f ms; %zd of %zu within "
        "50..52 ms; CPU %.2f%% of wall time at most (%zu rounds; targets 50..52 ms, < 5%%)\n",
        name, gaps.front(), gaps[gaps.size() / 2], gaps.back(), within, gaps.size(), cpuWorst,
        rounds.size());
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString logPath = dir.filePath("board.jsonl");
    QProcess board;
    board.start(BOARD_SIM_PATH, {"--log", logPath});
    if (!board.waitForReadyRead(5000)) qFatal("kelvane-board-sim printed no device");
    const QString device = QString::fromUtf8(board.readLine()).trimmed();

    kelvane::link::SerialLink link;
    const auto opened = link.open(device);
    if (opened.result != kelvane::link::OpenOutcome::Result::Opened)
        qFatal("%s", qPrintable(opened.cause));
    const kelvane::Inputs inputs;
    const auto image = std::get<kelvane::Recalculation>(
                           kelvane::recalculate(inputs, kelvane::planVariablesFrom(inputs)))
                           .registers;
    const kelvane::link::RegisterSource source = [&image] { return image; };

    constexpr int rounds = 5;
    std::vector<Figures> updates, stores;
    for (int i = 0; i < rounds; ++i) {
        updates.push_back(
            measure(link, logPath, [&] { return kelvane::link::sendAllRegisters(link, source); }));
        stores.push_back(
            measure(link, logPath, [&] { return kelvane::link::storeAllRegisters(link, source); }));
    }
    report("Update all registers", updates);
    report("Store to EE", stores);

    // The host's own pause, without the board's reading in the measurement.
    std::vector<double> pauses;
    for (int i = 0; i < 100; ++i) {
        const double start = monotonicSeconds();
        link.pause(kelvane::link::linePause);
        pauses.push_back((monotonicSeconds() - start) * 1000);
    }
    std::sort(pauses.begin(), pauses.end());
    std::printf("line pause alone: min %.3f ms, median %.3f ms, max %.3f ms (100 pauses; target "
                "over 50, at most 52 ms)\n",
                pauses.front(), pauses[pauses.size() / 2], pauses.back());

    link.close();
    // A sweep as kelvanectl sends it, with the port to itself: the gaps between
    // the lines the board receives, across the Update all registers and the
    // quick updates after it.
    std::vector<Figures> sweeps;
    for (int i = 0; i < 3; ++i) {
        const double start = monotonicSeconds();
        const double cpuStart = cpuSeconds(RUSAGE_CHILDREN);
        QProcess sweep;
        sweep.start(KELVANECTL_PATH, {"sweep", "--port", device, "--from", "2320", "--to", "2321",
                                      "--step", "0.05"});
        if (!sweep.waitForFinished(30000) || sweep.exitCode() != 0)
            qFatal("the sweep failed: %s", sweep.readAllStandardError().constData());
        const double wall = monotonicSeconds() - start;
        const double cpu = cpuSeconds(RUSAGE_CHILDREN) - cpuStart;
        QThread::msleep(100); // the board's log catches up with the last line
        const std::vector<double> times = arrivals(logPath, start);
        Figures figures;
        for (std::size_t j = 1; j < times.size(); ++j)
            figures.gapsMs.push_back((times[j] - times[j - 1]) * 1000);
        figures.cpuPercent = cpu / wall * 100;
        sweeps.push_back(figures);
    }
    report("kelvanectl sweep of 21 frequencies (CPU including its start-up)", sweeps);

    board.terminate();
    board.waitForFinished(5000);
    return 0;
}
