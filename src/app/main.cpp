// kelvane: the window program.

#include <QApplication>
#include <QCommandLineParser>

#include "ui/main_window.h"
#include "ui/setup_controller.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Kelvane");
    QApplication::setApplicationName("Kelvane");
    QApplication::setApplicationVersion(KELVANE_VERSION);

    QCommandLineParser parser;
    parser.setApplicationDescription("Control program for an LMX2541 synthesizer board.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("setup", "A setup file (.kelvane) to open.", "[setup]");
    parser.process(app);

    kelvane::ui::MainWindow window;
    window.show();
    if (!parser.positionalArguments().isEmpty())
        window.setups().open(parser.positionalArguments().first());
    return QApplication::exec();
}
