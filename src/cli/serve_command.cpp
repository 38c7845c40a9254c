// kelvanectl serve: remote control of the board over the rig-control network
// protocol, until Ctrl-C.

#include <QCoreApplication>
#include <QJsonObject>
#include <QTimer>
#include <csignal>
#include <cstdio>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/port_session.h"
#include "cli/setup_inputs.h"
#include "cli/terminal_output.h"
#include "cli/warnings.h"
#include "modes/frequency_run.h"
#include "remote/remote_server.h"
#include "remote/session_remote_board.h"

namespace kelvane::cli {
namespace {

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void noteStop(int) {
    stopRequested = 1;
}

} // namespace

int runServe(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Lets rig-control programs retune the board over the network protocol of the\n"
        "common rig-control daemon (in those programs: rig model \"Hamlib NET rigctl\",\n"
        "address 127.0.0.1:4532). A frequency request is planned as if typed into the\n"
        "window's output box with the plan options; one the board cannot make is\n"
        "answered with an error and nothing is sent. The first goes out as \"Update all\n"
        "registers\", later ones as \"Quick Freq Update\" when only Reg0 to Reg2 change.\n"
        "Prints \"listening on ADDRESS\" once ready and each frequency sent. The\n"
        "protocol has no password: listen on another address than the loopback only\n"
        "on a network you trust. Ctrl-C ends it.");
    addPortOption(parser);
    parser.addOption({"listen",
                      "The address and TCP port to listen on, HOST:PORT or PORT. Default "
                      "127.0.0.1:4532 (this computer only); port 0 takes a free one.",
                      "address"});
    parser.addOption({"check", "Serve nothing and exit with status 3 when there is any warning."});
    parser.addOption({"json", "Print one JSON object a line: {\"listening\"} once ready, then "
                              "{\"mhz\", \"from\"} for each frequency sent."});
    addControlOptions(parser);
    if (auto exit = parseOrExit(parser, arguments)) return *exit;
    const auto address = remote::readListenAddress(
        parser.isSet("listen") ? parser.value("listen") : QString::number(remote::defaultPort));
    if (!address)
        return usageError("--listen \"" + parser.value("listen") +
                          "\" is no HOST:PORT with a port of 0 to 65535");
    const auto inputs = readInputOptions(parser);
    if (!inputs) return exitUsage;
    printWarnings(inputTextWarnings(*inputs));
    if (parser.isSet("check") && anyWarningPrinted()) {
        usageError("--check: not serving, for the warnings above");
        return exitWarned;
    }

    session::BoardSession session;
    if (auto exit = openPort(session, parser)) return *exit;
    reportFailures(session);
    remote::SessionRemoteBoard board(session, *inputs);
    remote::RemoteServer server(board);
    if (!server.listen(*address)) {
        printError("cannot listen on " + remote::listenAddressText(*address) + ": " +
                   server.errorString());
        return exitFailure;
    }
    const bool json = parser.isSet("json");
    const QString listening = remote::listenAddressText(server.listeningOn());
    if (json)
        writeJson({{"listening", listening}});
    else
        writeOut("listening on " + listening.toStdString() + "\n", true);
    QObject::connect(
        &server, &remote::RemoteServer::retuned, [json](double mhz, const QString& from) {
            if (json)
                writeJson({{"mhz", mhz}, {"from", from}});
            else
                writeOut(runFrequencyText(mhz) + " from " + from.toStdString() + "\n", true);
        });

    int exitCode = exitOk;
    QObject::connect(&session, &session::BoardSession::failed, [&exitCode] {
        exitCode = exitFailure;
        QCoreApplication::exit(exitFailure);
    });
    stopRequested = 0;
    std::signal(SIGINT, noteStop);
    std::signal(SIGTERM, noteStop);
#ifdef SIGHUP
    std::signal(SIGHUP, noteStop);
#endif
    QTimer stopWatch;
    QObject::connect(&stopWatch, &QTimer::timeout, [] {
        if (stopRequested) QCoreApplication::exit(exitOk);
    });
    stopWatch.start(50);
    QCoreApplication::exec();
    server.close();
    return exitCode;
}

} // namespace kelvane::cli
