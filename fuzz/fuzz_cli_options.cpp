// kelvanectl's option parsing over arbitrary argument lists (NUL-separated):
// either a clean refusal or inputs within every control's range.

#include <QCommandLineParser>
#include <cstdint>
#include <cstdlib>

#include "cli/command_line.h"
#include "model/recalculation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QStringList arguments{"kelvanectl plan"};
    for (const QByteArray& piece :
         QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\0'))
        arguments << QString::fromUtf8(piece);
    QCommandLineParser parser;
    kelvane::cli::addControlOptions(parser);
    if (!parser.parse(arguments)) return 0;
    const auto inputs = kelvane::cli::readControlOptions(parser);
    if (!inputs) return 0;
    if (inputs->odiv < 1 || inputs->odiv > 63 || inputs->r < 1 || inputs->r > 4096 ||
        inputs->mux < 0 || inputs->mux > 13 || inputs->order < 0 || inputs->order > 4)
        std::abort();
    (void)kelvane::recalculate(*inputs, kelvane::planVariablesFrom(*inputs));
    return 0;
}
