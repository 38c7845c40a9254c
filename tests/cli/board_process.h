#pragma once
// kelvane-board-sim run as its own program for a test, with a log of what it received.

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

// A board program, its device and the bytes its log shows it received.
class BoardProcess {
public:
    explicit BoardProcess(const QStringList& options = {}) {
        process_.start(BOARD_SIM_PATH, QStringList{"--log", dir_.filePath("log")} + options);
        if (!process_.waitForReadyRead(5000)) qFatal("the board printed no device");
        device = QString::fromUtf8(process_.readLine()).trimmed();
    }
    ~BoardProcess() {
        process_.terminate();
        process_.waitForFinished(5000);
    }
    QByteArray received() const {
        QFile log(dir_.filePath("log"));
        QByteArray bytes;
        if (log.open(QIODevice::ReadOnly))
            for (const QByteArray& line : log.readAll().split('\n')) {
                const QJsonObject entry = QJsonDocument::fromJson(line).object();
                if (entry.value("dir") == "rx") bytes += entry.value("data").toString().toLatin1();
            }
        return bytes;
    }
    QString device;

private:
    QTemporaryDir dir_;
    QProcess process_;
};
