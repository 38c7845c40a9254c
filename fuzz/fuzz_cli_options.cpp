// kelvanectl's option parsing over arbitrary argument lists (NUL-separated):
// either a clean refusal or inputs within every control's range.

#include <QCommandLineParser>
#include <cstdint>
#include <cstdlib>

#include "cli/command_line.h"
#include "model/recalculation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QStringList arguments{"kelvanectl plan"};
    for (const QByteArray& piece : QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\0'))
        arguments << QString::fromUtf8(piece);
    QCommandLineParser parser;
    kelvane::cli::addControlOptions(parser);
    if (!parser.parse(arguments)) return 0;
    const auto controls = kelvane::cli::readControlOptions(parser);
    if (!controls) return 0;
    if (controls->odiv < 1 || controls->odiv > 63 || controls->rScroll < 1 || controls->rScroll > 4096 ||
        controls->mux < 0 || controls->mux > 13 || controls->order < 0 || controls->order > 4)
        std::abort();
    (void)kelvane::recalculate(kelvane::planInputsFrom(*controls), kelvane::loopSettingsFrom(*controls));
    return 0;
}
