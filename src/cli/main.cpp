// kelvanectl: the headless companion of the window program. It gives scripts,
// firmware builds and tests the exact numbers and texts the window shows.

#include <QCoreApplication>
#include <cstdio>
#include <cstring>

#include "cli/command_line.h"
#include "cli/commands.h"

namespace {

struct Command {
    const char* name;
    const char* summary;
    int (*run)(const QStringList&);
};

constexpr Command commands[] = {
    {"plan", "print the frequency plan and the register listing", kelvane::cli::runPlan},
    {"export", "print the register set as PIC assembler lines", kelvane::cli::runExport},
    {"fsk", "print the FSK-by-Reg2 denominators for a shift", kelvane::cli::runFsk},
    {"send", "send the register words of a plan to the board", kelvane::cli::runSend},
    {"read", "read the board's stored set back and print its plan", kelvane::cli::runRead},
    {"ports", "list the serial ports with their numbers", kelvane::cli::runPorts},
};

void printUsage(std::FILE* to) {
    std::fputs("Usage: kelvanectl <command> [options]\n\nCommands:\n", to);
    for (const auto& command : commands) std::fprintf(to, "  %-8s %s\n", command.name, command.summary);
    std::fputs("\n'kelvanectl <command> --help' lists the options of a command.\n", to);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("kelvanectl");
    QCoreApplication::setApplicationVersion(KELVANE_VERSION);
    QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 2) {
        printUsage(stderr);
        return kelvane::cli::exitUsage;
    }
    const QString name = arguments.at(1);
    if (name == "--help" || name == "-h") {
        printUsage(stdout);
        return kelvane::cli::exitOk;
    }
    if (name == "--version" || name == "-v") {
        std::printf("kelvanectl %s\n", KELVANE_VERSION);
        return kelvane::cli::exitOk;
    }
    for (const auto& command : commands) {
        if (name == command.name) {
            arguments.removeAt(1);
            arguments[0] = QString("kelvanectl ") + command.name;
            return command.run(arguments);
        }
    }
    return kelvane::cli::usageError("unknown command \"" + name + "\"; 'kelvanectl --help' lists them");
}
