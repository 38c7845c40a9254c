// kelvanectl: the headless companion of the window program. It gives scripts,
// firmware builds and tests the exact numbers and texts the window shows.

#include <QCoreApplication>
#include <cstdio>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/terminal_output.h"

namespace {

void printUsage(std::FILE* to) {
    std::fputs("Usage: kelvanectl <command> [options]\n"
               "\n"
               "Computes the frequency plan, register words, PIC export and FSK data exactly\n"
               "as the Kelvane window does, and sends the words to the synthesizer board,\n"
               "reads or verifies its stored set, or sweeps its output over a serial port.\n"
               "\n"
               "Commands:\n",
               to);
    for (const auto& command : kelvane::cli::commandTable()) {
        const QString example = QString(command.examples).section('\n', 0, 0);
        std::fprintf(to, "  %-9s %s\n              %s\n", command.name, command.summary,
                     example.toUtf8().constData());
    }
    std::fputs("\n"
               "Options:\n"
               "  -h, --help     Show this help.\n"
               "  -v, --version  Show the version.\n"
               "\n"
               "'kelvanectl <command> --help' lists the options of a command. The options\n"
               "that set the plan (--fo, --fr, --res, --odiv and the others) are the\n"
               "window's controls: a text is read as the window reads its box, and an option\n"
               "left out keeps the control's value at the window's start-up.\n"
               "\n"
               "Exit status: 0 done; 1 the port or the board failed, or a file or the output\n"
               "could not be written; 2 bad usage, or no plan for the inputs; 3 the board's\n"
               "EEPROM differs from the plan (verify), or a warning with --check; 130 stopped\n"
               "by Ctrl-C, 143 by SIGTERM, 129 by a hang-up (sweep, hop).\n",
               to);
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
        return kelvane::cli::checkedOutput(kelvane::cli::exitOk);
    }
    if (name == "--version" || name == "-v") {
        std::printf("kelvanectl %s\n", KELVANE_VERSION);
        return kelvane::cli::checkedOutput(kelvane::cli::exitOk);
    }
    if (const auto* command = kelvane::cli::findCommand(name)) {
        arguments.removeAt(1);
        arguments[0] = QString("kelvanectl ") + command->name;
        return kelvane::cli::checkedOutput(command->run(arguments));
    }
    return kelvane::cli::usageError("unknown command \"" + name +
                                    "\"; 'kelvanectl --help' lists them");
}
