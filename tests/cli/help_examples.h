#pragma once
// The example command lines that 'kelvanectl <command> --help' shows, so that
// the tests can run them as a user would copy them.

#include <QByteArray>
#include <QList>
#include <QStringList>

// Each example as the arguments after "kelvanectl"; a redirection of the
// output ("> file") is left out.
inline QList<QStringList> helpExamples(const QByteArray& help) {
    QList<QStringList> examples;
    const QList<QByteArray> lines = help.split('\n');
    const qsizetype heading = lines.indexOf("Examples:");
    if (heading < 0) return examples;
    for (qsizetype i = heading + 1; i < lines.size() && lines[i].startsWith("  kelvanectl "); ++i) {
        QStringList words = QString::fromUtf8(lines[i]).split(' ', Qt::SkipEmptyParts);
        words.removeFirst();
        const qsizetype redirect = words.indexOf(">");
        examples << (redirect < 0 ? words : words.mid(0, redirect));
    }
    return examples;
}
