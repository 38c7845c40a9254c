#pragma once
// The kelvanectl subcommands. Each takes its own argument list, the first
// entry being "kelvanectl <command>", and returns the process exit code.

#include <QStringList>

namespace kelvane::cli {

int runPlan(const QStringList& arguments);
int runExport(const QStringList& arguments);
int runFsk(const QStringList& arguments);
int runSend(const QStringList& arguments);
int runRead(const QStringList& arguments);
int runPorts(const QStringList& arguments);

} // namespace kelvane::cli
