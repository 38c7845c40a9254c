#pragma once
// The fractional-N frequency plan: comparison frequency, denominator D, integer
// N and numerator F for the wanted VCO frequency, the output frequency they
// really give, and the captions the plan displays show.
//
// Arithmetic is double precision, evaluated left to right exactly as the
// formulas in plan.cpp are written, because users compare the results with
// their own calculations digit for digit.

#include <array>
#include <optional>
#include <string>
#include <variant>

#include "model/colour.h"
#include "model/inputs.h"
#include "model/plan_variables.h"

namespace kelvane {

struct Plan {
    double fcomp = 0;  // comparison frequency, MHz
    double denom = 0;  // D
    double effN = 0;   // Fvco / Fcomp
    double n = 0;      // integer part of EffN
    double fract = 0;  // F
    double fcorr = 0;  // output frequency that N, F and D give, MHz
    double ferror = 0; // Fcorr minus the wanted output frequency, Hz
};

struct PlanCaptions {
    std::string fv, fc, dn, frlabel, nlabel, stepLbl, operr, chipType;
    Colour dnColour = colours::black;
    Colour chipTypeColour = colours::darkGreen;
};

struct PlannedFrequency {
    Plan plan;
    PlanCaptions captions;
};

// A plan that cannot be formed: no register word can be composed from it.
struct RefusedPlan {
    std::string reason;
    // The D that was computed and the caption showing it, when D could be
    // formed at all; the window shows it in red.
    std::optional<std::string> dnCaption;
};

using PlanOutcome = std::variant<PlannedFrequency, RefusedPlan>;

// The plan from the reference, doubler, output divider and Fo texts of the
// inputs and the variables r, fvco, fres and rfMult.
PlanOutcome calculatePlan(const Inputs& inputs, const PlanVariables& variables);

// The VCO range of each variant of the chip, in MHz, both ends included. The
// ranges overlap on purpose: one VCO frequency may be served by two variants.
struct ChipVcoRange {
    const char* variant; // as the variant caption lists it, with its trailing blank
    double lower;
    double upper;
};

inline constexpr std::array<ChipVcoRange, 6> chipVcoRanges{{
    {"2060E ", 1990, 2240},
    {"2380E ", 2200, 2530},
    {"2690E ", 2490, 2865},
    {"3030E ", 2810, 3230},
    {"3320E ", 3130, 3600},
    {"3740E ", 3480, 4000},
}};

// The whole chip's VCO range, MHz; between 1900 and 1990 no variant is listed.
inline constexpr double chipVcoLowest = 1900;
inline constexpr double chipVcoHighest = 4000;

// Variants of the chip whose VCO covers the frequency ("LMX2541-2380E "), or
// "Invalid Frequency Range" in red outside 1900 ... 4000 MHz.
std::pair<std::string, Colour> chipVariantCaption(double fvco);

} // namespace kelvane
