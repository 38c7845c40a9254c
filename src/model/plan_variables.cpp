#include "model/plan_variables.h"

#include "model/conversions.h"
#include "model/plan_input_rules.h"

namespace kelvane {

PlanVariables planVariablesFrom(const Inputs& in) {
    PlanVariables v;
    v.fout = val(in.fo);
    v.rfMult = multiplierFrom(in.rfMult, in.rfMultKept);
    v.fvco = vcoFrequency(v.fout, in.odiv, v.rfMult);
    v.fres = resolutionFrom(in.res);
    v.r = in.doubler ? 1 : in.r;
    return v;
}

} // namespace kelvane
