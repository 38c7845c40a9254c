#include "model/control_state.h"

#include "model/conversions.h"

namespace kelvane {

PlanInputs planInputsFrom(const ControlState& c) {
    PlanInputs in;
    in.foText = c.fo;
    in.frText = c.fr;
    in.doubler = c.doubler;
    in.odiv = c.odiv;
    in.r = c.doubler ? 1 : c.rScroll;
    const double multiplier = val(c.rfMult);
    in.rfMult = multiplier > 0 ? multiplier : 1.0;
    const double fout = val(c.fo);
    in.fvco = fout * c.odiv / in.rfMult;
    in.fres = val(c.res);
    if (in.fres == 0) in.fres = 0.01;
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
