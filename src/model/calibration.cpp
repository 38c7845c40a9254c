#include "model/calibration.h"

#include <charconv>
#include <cmath>

#include "model/conversions.h"
#include "model/number_field.h"

namespace kelvane {

std::string twelveDigitText(double value) {
    char digits[32];
    const auto end =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::scientific, 11).ptr;
    double rounded = 0;
    std::from_chars(digits, end, rounded);
    // Fifteen significant digits of the rounded value show its twelve, trailing
    // zeros dropped.
    return plainNumberText(rounded);
}

std::string calibrationReport(const Calibration& c) {
    return "Achieved output: " + plainNumberText(c.achievedMhz) + " MHz\r\n" +
           "Measured output: " + plainNumberText(c.measuredMhz) + " MHz\r\n" +
           "Reference error: " + format(c.errorPpm, "0.000") + " ppm, " +
           format(c.errorHz, "0.000") + " Hz\r\n" + "Corrected reference: " + c.referenceText +
           " MHz\r\n";
}

std::variant<Calibration, CalibrationRefusal> calibrateReference(std::string_view measuredText,
                                                                 std::string_view fieldName,
                                                                 double achievedMhz,
                                                                 std::string_view referenceText) {
    const auto read =
        readNumberField({fieldName, "2320.250012", NumberRule::AboveZero}, measuredText);
    if (const auto* refusal = std::get_if<std::string>(&read))
        return CalibrationRefusal{*refusal + " (the output frequency the counter shows, MHz)"};
    Calibration c;
    c.measuredMhz = std::get<double>(read);
    c.achievedMhz = achievedMhz;
    const double reference = val(referenceText);
    if (!(c.achievedMhz > 0) || !(reference > 0))
        return CalibrationRefusal{"The plan gives no output to compare with: check the reference "
                                  "frequency"};
    c.errorPpm = (c.measuredMhz - c.achievedMhz) / c.achievedMhz * 1e6;
    if (std::fabs(c.errorPpm) > largestReferenceErrorPpm)
        return CalibrationRefusal{
            std::string(fieldName) + " " + plainNumberText(c.measuredMhz) + " MHz lies " +
            format(std::fabs(c.errorPpm), "0.0") + " ppm from the achieved output " +
            plainNumberText(c.achievedMhz) +
            " MHz, more than a reference is off by: check the counter, the RF multiplication "
            "and the output divider"};
    c.referenceMhz = reference * c.measuredMhz / c.achievedMhz;
    c.errorHz = (c.referenceMhz - reference) * 1e6;
    c.referenceText = twelveDigitText(c.referenceMhz);
    return c;
}

} // namespace kelvane
