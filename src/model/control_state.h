#pragma once
// The main window's inputs as a user sets them from a fresh start, and the plan
// inputs they give. The window itself derives the same values step by step in
// its handlers; this is the direct route for scripts and tests.

#include <string>

#include "model/plan.h"
#include "model/registers.h"

namespace kelvane {

struct ControlState {
    std::string fo = " 2320.25";
    std::string fr = " 10";
    std::string res = " 10";
    std::string rfMult = "1";
    int rScroll = 1; // 1 ... 4096
    bool doubler = false;
    int odiv = 1; // 1 ... 63
    bool externalVco = false;
    bool chargePumpPositive = false; // counts only with the external VCO
    int chargePumpGain = 19;
    int dither = 1;
    int order = 2;
    int mux = 3;
    int outTerm = 12;
    int vcoGain = 12;
    int divGain = 12;
};

// Fout = Val(fo); RFMult = Val(rfMult) when above 0, else 1;
// Fvco = Fout * odiv / RFMult; Fres = Val(res), 0 becoming 0.01;
// R = 1 with the doubler, else the scroll bar's value.
PlanInputs planInputsFrom(const ControlState& controls);
LoopSettings loopSettingsFrom(const ControlState& controls);

} // namespace kelvane
