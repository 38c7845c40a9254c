// The main window while the board floods its console: kelvane-board-sim, run
// as its own program, answers the first line with 10 MiB of text as fast as the
// pseudo-terminal takes it. Measured: how late a 10 ms timer fires while the
// text comes in (event-loop latency; target under 100 ms) and how much the
// resident memory grows from before the flood to its peak (target under 20 MB).

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "link/serial_link.h"
#include "ui/link_controller.h"
#include "ui/main_window.h"
#include "ui/main_window_controls.h"

namespace {

constexpr qint64 floodBytes = 10 * 1024 * 1024;
constexpr int tickMs = 10;

double residentMegabytes() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).simplified().split(' ')[0].toDouble() / 1024;
    return 0;
}

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * double(values.size() - 1))];
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QTemporaryDir settingsDir; // never the user's stored position
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());

    QProcess board;
    board.start(BOARD_SIM_PATH, {"--flood", QString::number(floodBytes)});
    if (!board.waitForReadyRead(5000)) qFatal("kelvane-board-sim printed no device");
    const QString device = QString::fromUtf8(board.readLine()).trimmed();

    kelvane::ui::MainWindow window;
    window.show();
    auto& session = window.boardSession();
    const auto opened = session.open(device);
    if (opened.result != kelvane::link::OpenOutcome::Result::Opened)
        qFatal("%s", qPrintable(opened.cause));
    qint64 arrived = 0;
    QObject::connect(&session, &kelvane::session::BoardSession::received,
                     [&](const QByteArray& bytes) { arrived += bytes.size(); });

    // Settle, then take the memory the window holds before the flood.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 500)
        app.processEvents(QEventLoop::AllEvents, 50);
    const double before = residentMegabytes();
    double peak = before;

    std::vector<double> lateMs;
    QElapsedTimer clock;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(tickMs);
    qint64 lastNs = 0;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (arrived > 0 && arrived < floodBytes)
            lateMs.push_back(double(now - lastNs) / 1e6 - tickMs);
        lastNs = now;
        peak = std::max(peak, residentMegabytes());
    });
    clock.start();
    tick.start();
    window.linkController().quickFreqUpdate(); // the board floods after its first line
    while (arrived < floodBytes)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    peak = std::max(peak, residentMegabytes());

    const int console = window.controls().Text1->toPlainText().size();
    if (lateMs.empty()) qFatal("the flood came in before the first tick");
    std::printf(
        "flood on %s: %lld bytes into the console in %.2f s (%d characters kept): timer late "
        "by median %.2f ms, 99th percentile %.2f ms, max %.2f ms over %zu ticks (target "
        "under 100 ms); resident memory %.1f MB before, peak %.1f MB, growth %.1f MB "
        "(target under 20 MB)\n",
        qPrintable(QGuiApplication::platformName()), static_cast<long long>(floodBytes), seconds,
        console, percentile(lateMs, 0.5), percentile(lateMs, 0.99), percentile(lateMs, 1.0),
        lateMs.size(), before, peak, peak - before);

    session.close();
    board.terminate();
    board.waitForFinished(5000);
    return 0;
}
