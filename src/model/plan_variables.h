#pragma once
// The plan quantities the main window keeps in variables of its own because
// they depend on the order of a user's changes and cannot be worked out again
// from the controls alone: the output divider moves either Fo or the VCO
// frequency, R follows the doubler only when it changes, and the multiplier
// keeps its last value while its text holds no number above 0.

#include "model/inputs.h"

namespace kelvane {

struct PlanVariables {
    double fout = 2320.25; // wanted output frequency, MHz
    double fvco = 2320.25; // VCO frequency, MHz: fout * output divider / rfMult
    double fres = 10;      // wanted resolution at the final output, Hz, never 0
    int r = 1;             // reference divider in use (1 with the doubler)
    double rfMult = 1;     // final RF multiplication factor, always > 0

    friend bool operator==(const PlanVariables&, const PlanVariables&) = default;
};

// The variables a window holds when these inputs are set from a fresh start:
// fout the number in Fo; rfMult the number in its text when above 0, else the
// factor kept;
// fvco = fout * odiv / rfMult; fres the number in Res, 0 becoming 0.01;
// R 1 with the doubler, else the R scroll bar's value.
PlanVariables planVariablesFrom(const Inputs& inputs);

} // namespace kelvane
