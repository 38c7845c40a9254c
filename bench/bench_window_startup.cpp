// Start-up of the main window: time from the start of main() (and, on Linux,
// from the start of the process) to the window's first paint, and the
// resident memory once it is on screen. One start-up per run; run it a few
// times, the first run after a build also pays for a cold disk cache.

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "ui/main_window.h"

namespace {

// Seconds since the process started, from the kernel (10 ms resolution);
// negative where /proc is not available.
double secondsSinceProcessStart() {
    QFile stat("/proc/self/stat");
    QFile uptime("/proc/uptime");
    if (!stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly)) return -1;
    const QByteArray statText = stat.readAll();
    // Fields after the command name, which is in parentheses and may hold blanks.
    const QList<QByteArray> fields = statText.mid(statText.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble(); // field 22 of the whole line
    const double upSeconds = uptime.readAll().split(' ').value(0).toDouble();
    return upSeconds - startTicks / 100.0;
}

QByteArray residentMemory() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return "n/a";
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).simplified();
    return "n/a";
}

class FirstPaint : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted = true;
        return false;
    }
};

} // namespace

int main(int argc, char* argv[]) {
    QElapsedTimer sinceMain;
    sinceMain.start();
    QApplication app(argc, argv);
    const qint64 applicationMs = sinceMain.elapsed();

    QTemporaryDir settingsDir; // never the user's stored position
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());

    kelvane::ui::MainWindow window;
    const qint64 builtMs = sinceMain.elapsed();
    FirstPaint firstPaint;
    window.installEventFilter(&firstPaint);
    window.show();

    // The whole window is painted in one pass; the first event-loop turn
    // after the window's own paint event is the first frame on screen.
    QTimer poll;
    poll.setInterval(0);
    qint64 paintedMs = -1;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!firstPaint.painted) return;
        paintedMs = sinceMain.elapsed();
        app.quit();
    });
    poll.start();
    QTimer::singleShot(10000, &app, &QApplication::quit);
    QApplication::exec();

    if (paintedMs < 0) {
        std::fprintf(stderr, "window start-up: no paint within 10 s\n");
        return 1;
    }
    const double processSeconds = secondsSinceProcessStart();
    std::printf("window start-up on %s: first paint %lld ms after main() (QApplication %lld ms, "
                "window built %lld ms)",
                qPrintable(QApplication::platformName()), static_cast<long long>(paintedMs),
                static_cast<long long>(applicationMs), static_cast<long long>(builtMs));
    if (processSeconds >= 0) std::printf(", %.0f ms after process start", processSeconds * 1000);
    std::printf("; resident memory %s\n", residentMemory().constData());
    return 0;
}
