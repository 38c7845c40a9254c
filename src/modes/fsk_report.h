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
#include "model/control_state.h"
#include "model/plan.h"

namespace kelvane {

// What the generator reads from the main window at each press.
struct FskInputs {
    double fvco = 0;       // wanted VCO frequency, MHz
    double fcomp = 0;      // comparison frequency, MHz
    double denom = 0;      // the plan's denominator D
    double r = 1;          // reference divider in use
    double rfMult = 0;     // number in the RF multiplier box (0 when it holds none)
    int odiv = 1;          // output divider
    double resolution = 0; // number in the resolution box, Hz (0 when it holds none)
};

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
std::variant<FskDenominators, std::string> generateFsk(const FskInputs& inputs,
                                                       std::string_view shiftText);

// The thirteen-line report with CR LF line ends.
std::string fskReportText(const FskDenominators& d);

// generateFsk() and fskReportText() in one: the report, or the correction line.
GeneratedText fskReport(const FskInputs& inputs, std::string_view shiftText);

// In place of the report while the main window has no plan for its inputs:
// its plan variables then still belong to an earlier plan.
inline const GeneratedText fskWithoutPlan{
    false, "No plan for these inputs (see the status line); correct them to get FSK data"};

// The inputs the window holds after setting these controls and recalculating.
FskInputs fskInputsFrom(const ControlState& controls, const Plan& plan);

} // namespace kelvane
