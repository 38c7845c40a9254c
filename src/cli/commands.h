#pragma once
// The kelvanectl subcommands. Each takes its own argument list, the first
// entry being "kelvanectl <command>", and returns the process exit code.

#include <QString>
#include <QStringList>
#include <span>

namespace kelvane::cli {

int runPlan(const QStringList& arguments);
int runExport(const QStringList& arguments);
int runFsk(const QStringList& arguments);
int runSend(const QStringList& arguments);
int runSave(const QStringList& arguments);
int runRead(const QStringList& arguments);
int runPorts(const QStringList& arguments);
int runVerify(const QStringList& arguments);
int runCalibrate(const QStringList& arguments);
int runSweep(const QStringList& arguments);
int runHop(const QStringList& arguments);
int runBeacon(const QStringList& arguments);
int runBeaconKeying(const QStringList& arguments);
int runServe(const QStringList& arguments);

struct Command {
    const char* name;
    const char* summary;    // one line in 'kelvanectl --help'
    const char* examples;   // one command line per line; the first is also in 'kelvanectl --help'
    const char* exitStatus; // what the exit codes mean for this command
    int (*run)(const QStringList&);
};

// Every subcommand, in the order 'kelvanectl --help' lists them.
std::span<const Command> commandTable();

// The subcommand called `name`, or nullptr.
const Command* findCommand(const QString& name);

} // namespace kelvane::cli
