#pragma once
// Correcting the reference frequency from a measured output.
//
// With the nominal reference, the plan's words give the achieved output: the
// wanted output plus the plan's residual error, after the output divider and
// the RF multiplication (the plan's Fcorr). A counter at the final output reads
// the measured output instead; their ratio is the reference's own error, so the
// reference that really drives the board is reference x measured / achieved.

#include <string>
#include <string_view>
#include <variant>

namespace kelvane {

struct Calibration {
    double achievedMhz = 0;
    double measuredMhz = 0;
    double errorPpm = 0;       // of the reference, = of the output
    double errorHz = 0;        // of the reference: corrected minus nominal
    double referenceMhz = 0;   // the corrected reference
    std::string referenceText; // the corrected reference as 12 significant digits: "10.0000012"
};

struct CalibrationRefusal {
    std::string line;
};

// A measured output further than this from the achieved one is no reference
// error but a wrong reading, multiplier or divider.
inline constexpr double largestReferenceErrorPpm = 1000;

// `measuredText` is read as the window reads a box; `fieldName` names it in a
// refusal ("--measured"). `achievedMhz` is the plan's Fcorr, `referenceText`
// the reference box's text.
std::variant<Calibration, CalibrationRefusal> calibrateReference(std::string_view measuredText,
                                                                 std::string_view fieldName,
                                                                 double achievedMhz,
                                                                 std::string_view referenceText);

// "Achieved output: 2320.25 MHz", "Measured output: ...", "Reference error: 1.000 ppm,
// 10.000 Hz", "Corrected reference: 10.00001 MHz"; CR LF line ends.
std::string calibrationReport(const Calibration& calibration);

// The plain number text of a value rounded to 12 significant digits.
std::string twelveDigitText(double value);

} // namespace kelvane
