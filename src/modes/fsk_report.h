#pragma once
// Frequency-shift keying by rewriting register 2 alone. With N and F left as
// the plan has them, a new denominator D moves the output; the generator finds
// the D for a wanted shift, and a complete Reg0 ... Reg2 set whose D steps the
// output by about one resolution step per unit.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "export/generated_text.h"
#include "model/inputs.h"
#include "model/plan.h"
#include "model/plan_variables.h"

namespace kelvane {

struct FskDenominators {
    double f = 0;  // exact wanted fraction of Fvco / Fcomp
    double f2 = 0; // fraction wanted after the shift, same integer part
    double d1 = 0; // the plan's D
    std::int64_t n = 0;
    std::int64_t d2 = 0;   // D for the shift
    std::int64_t wfsk = 0; // Reg2 holding d2
    std::int64_t dw = 0;   // D of the modulation set
    std::int64_t fw = 0;   // F of the modulation set
    std::int64_t w2 = 0, w1 = 0, w0 = 0;
};

// The denominators for a shift typed as text (Hz at the output, negative
// lowers it), or one line saying which input to correct when they are
// undefined: a shift that is not a number, an RF multiplier or resolution of
// 0, a shifted fraction of exactly 0, or words that 32 bits cannot hold.
// The generator reads fvco and r from the variables, fcomp and D from the
// plan in force, and the multiplier and the resolution as the numbers in
// their boxes (0 when a box holds none).
std::variant<FskDenominators, std::string> generateFsk(const Inputs& inputs,
                                                       const PlanVariables& variables,
                                                       const Plan& plan,
                                                       std::string_view shiftText);

// The thirteen-line report with CR LF line ends.
std::string fskReportText(const FskDenominators& d);

// generateFsk() and fskReportText() in one: the report, or the correction line.
GeneratedText fskReport(const Inputs& inputs, const PlanVariables& variables, const Plan& plan,
                        std::string_view shiftText);

// In place of the report while the main window has no plan for its inputs:
// its plan variables then still belong to an earlier plan.
inline const GeneratedText fskWithoutPlan{
    false, "No plan for these inputs (see the status line); correct them to get FSK data"};

} // namespace kelvane
