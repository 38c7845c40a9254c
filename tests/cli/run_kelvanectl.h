#pragma once
// Runs a program to its end and keeps its exit code and both output streams.

#include <QProcess>
#include <QStringList>

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

inline Run run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(20000)) qFatal("%s did not finish", qPrintable(program));
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

inline Run kelvanectl(const QStringList& arguments) {
    return run(KELVANECTL_PATH, arguments);
}
