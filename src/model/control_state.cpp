#include "model/control_state.h"

#include "model/conversions.h"
#include "model/plan_input_rules.h"

namespace kelvane {

PlanInputs planInputsFrom(const ControlState& c) {
    PlanInputs in;
    in.foText = c.fo;
    in.frText = c.fr;
    in.doubler = c.doubler;
    in.odiv = c.odiv;
    in.r = c.doubler ? 1 : c.rScroll;
    in.rfMult = multiplierFrom(c.rfMult, 1.0);
    in.fvco = vcoFrequency(val(c.fo), c.odiv, in.rfMult);
    in.fres = resolutionFrom(c.res);
    return in;
}

LoopSettings loopSettingsFrom(const ControlState& c) {
    LoopSettings s;
    s.chargePumpGain = c.chargePumpGain;
    s.chargePumpPositive = c.externalVco && c.chargePumpPositive;
    s.dither = c.dither;
    s.order = c.order;
    s.mux = c.mux;
    s.outTerm = c.outTerm;
    s.vcoGain = c.vcoGain;
    s.divGain = c.divGain;
    s.externalVco = c.externalVco;
    return s;
}

} // namespace kelvane
