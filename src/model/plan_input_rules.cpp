#include "model/plan_input_rules.h"

#include "model/conversions.h"

namespace kelvane {

double vcoFrequency(double fout, int outputDivider, double rfMult) {
    return fout * outputDivider / rfMult;
}

double resolutionFrom(std::string_view text) {
    const double fres = val(text);
    return fres == 0 ? 0.01 : fres;
}

double multiplierFrom(std::string_view text, double previous) {
    const double factor = val(text);
    return factor > 0 ? factor : previous;
}

double keptMultiplier(std::string_view text, double inForce) {
    return val(text) > 0 ? 1 : inForce;
}

std::string dividedOutputText(double fvco, int outputDivider, double rfMult) {
    return format(fvco / outputDivider * rfMult, "###00.00###");
}

std::string comparisonPreviewCaption(std::string_view referenceText, int r) {
    return str(val(referenceText) / r);
}

std::string rDividerCaption(int r) {
    return "R divider" + str(r);
}

std::string outputDividerCaption(int outputDivider) {
    return "Output Divider" + str(outputDivider);
}

std::string outputResolutionCaption(int outputDivider) {
    return outputDivider >= 2 ? "Divided O/P Resolution  Hz" : "O/P Resolution  Hz";
}

} // namespace kelvane
