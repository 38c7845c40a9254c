// kelvanectl calibrate: the corrected reference frequency from an output
// frequency a counter measured.

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/setup_inputs.h"
#include "cli/warnings.h"
#include "model/calibration.h"

namespace kelvane::cli {

int runCalibrate(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Works out how far the reference is off from the output frequency a counter\n"
        "measured at the final output, for the plan that the options give. The plan's\n"
        "words with the nominal reference give the achieved output (the wanted output\n"
        "plus the plan's residual error, after the output divider and the RF\n"
        "multiplication); the reference's error is that of the measured output\n"
        "against it, and the corrected reference is reference x measured / achieved.\n"
        "Give the corrected reference to --fr (or type it into \"Reference Input MHz\").");
    parser.addOption({"measured", "The output frequency the counter measured, MHz.", "MHz"});
    addControlOptions(parser);
    parser.addOption({"json", "Print one JSON object instead of text."});
    addCheckOption(parser);
    if (auto exit = parseOrExit(parser, arguments)) return *exit;
    if (!parser.isSet("measured")) return usageError("--measured is required");
    // A reading taken in part would give a reference wrong by the part left out.
    const std::string measured = parser.value("measured").toStdString();
    if (const QStringList partly = partlyReadWarning("--measured", measured); !partly.isEmpty())
        return usageError(partly.first() + "; give the whole reading as one number");
    const auto controls = readInputOptions(parser);
    if (!controls) return exitUsage;
    const auto result = recalculateOrReport(*controls);
    if (!result) return exitUsage;

    const auto outcome =
        calibrateReference(measured, "--measured", result->plan.fcorr, controls->fr);
    if (const auto* refusal = std::get_if<CalibrationRefusal>(&outcome))
        return usageError(QString::fromStdString(refusal->line));
    const auto& c = std::get<Calibration>(outcome);
    if (parser.isSet("json")) {
        writeJson({{"achievedMhz", c.achievedMhz},
                   {"measuredMhz", c.measuredMhz},
                   {"errorPpm", c.errorPpm},
                   {"errorHz", c.errorHz},
                   {"referenceMhz", c.referenceMhz},
                   {"referenceText", QString::fromStdString(c.referenceText)}});
    } else {
        writeOut(calibrationReport(c), false);
    }
    return finish(parser, planWarnings(*controls, *result), exitOk);
}

} // namespace kelvane::cli
