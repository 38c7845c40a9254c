#include "model/readback.h"

#include <cmath>

#include "model/conversions.h"
#include "model/hex.h"
#include "model/plan_input_rules.h"
#include "model/recalculation.h"
#include "model/register_fields.h"

namespace kelvane {
namespace {

// Registers whose fields the window takes back, in the order they are named
// when missing.
constexpr std::array<int, 6> restoredRegisters{0, 1, 2, 3, 4, 6};

bool keptAddress(int address) {
    return address <= 9 || address == 12 || address == 13;
}

std::string refusal(const std::string& why) {
    return "Init from EE: " + why + "; nothing changed";
}

// "register 3" or "registers 0, 1 and 3".
std::string missingRegisters(const StoredSet& stored) {
    std::string names;
    int count = 0;
    for (int address : restoredRegisters) {
        if (stored.value[address]) continue;
        ++count;
        if (!names.empty()) names += ", ";
        names += std::to_string(address);
    }
    if (count == 0) return {};
    if (count == 1) return "no entry for register " + names;
    const auto last = names.rfind(", ");
    return "no entry for registers " + names.replace(last, 2, " and ");
}

// The variables the window holds once the restore has run its handlers: the
// texts of Res and Fo are read back by their own handlers.
PlanVariables settledVariables(const Restore& r) {
    PlanVariables v = r.variables;
    v.fout = val(r.inputs.fo);
    v.fvco = vcoFrequency(v.fout, r.inputs.odiv, v.rfMult);
    v.fres = resolutionFrom(r.inputs.res);
    return v;
}

} // namespace

StoredSet parseStoredSet(std::string_view answer) {
    StoredSet stored;
    for (auto pos = answer.find(boardEntryMark); pos != std::string_view::npos;
         pos = answer.find(boardEntryMark, pos + boardEntryMark.size())) {
        const auto word = parseBoardEntry(answer.substr(pos + boardEntryMark.size()));
        if (!word) continue;
        const int address = static_cast<int>(*word & 0xF);
        if (keptAddress(address)) stored.value[address] = *word >> 4;
    }
    return stored;
}

RestoreOutcome restoreFrom(const StoredSet& stored, const Inputs& before,
                           const PlanVariables& variables) {
    if (const auto missing = missingRegisters(stored); !missing.empty())
        return RestoreRefusal{refusal(missing)};
    using namespace fields;
    // The stored values lack the address nibble: shifted back, they are words.
    auto field = [&stored](const RegisterField& f) {
        return static_cast<int>(f.readFrom(*stored.value[f.address] << 4));
    };

    Restore r;
    r.inputs = before;
    r.variables = variables;
    Inputs& in = r.inputs;
    PlanVariables& v = r.variables;
    in.odiv = field(outputDivider);
    r.rField = field(rDivider);
    r.n = field(nLow) + static_cast<double>(field(nHigh)) * nLow.span();
    r.denom = field(denominator);
    r.fract = field(fractLow) + static_cast<double>(field(fractHigh)) * fractLow.span();
    in.doubler = field(doubler) != 0;
    in.cpg = field(chargePumpGain);
    in.dither = field(dither);
    in.order = field(order);
    in.mux = field(mux);
    in.externalVco = field(externalVco) != 0;
    // CPP is set only with ExtVCO; clearing ExtVCO clears CPP by its handler.
    if (in.externalVco)
        in.cpp = field(chargePumpPolarity) != 0;
    else if (before.externalVco)
        in.cpp = false;
    in.divGain = field(divGain);
    in.outTerm = field(outTerm);
    in.vcoGain = field(vcoGain);

    // Without the doubler the R read is set into the scroll bar too, so
    // switching the doubler off takes that same R back from it; the doubler
    // handler runs only when the doubler changes, and switching it on sets R
    // to 1.
    v.r = r.rField;
    if (!in.doubler) in.r = r.rField;
    if (in.doubler && !before.doubler) v.r = 1;

    if (in.odiv == 0) return RestoreRefusal{refusal("output divider 0 (1 to 63 allowed)")};
    if (in.order > 4)
        return RestoreRefusal{
            refusal("modulator order " + std::to_string(in.order) + " (0 to 4 allowed)")};
    if (in.mux > 13)
        return RestoreRefusal{
            refusal("mux selection " + std::to_string(in.mux) + " (0 to 13 allowed)")};
    if (v.r == 0) return RestoreRefusal{refusal("R divider 0")};
    if (r.denom == 0) return RestoreRefusal{refusal("denominator 0")};

    const double doublerValue = in.doubler ? 1 : 0;
    r.fcomp = val(before.fr) / v.r * (doublerValue + 1);
    v.fres = r.fcomp * 1000000 / r.denom / in.odiv * v.rfMult;
    in.res = format(v.fres, "####0.00########");
    if (!std::isfinite(v.fres)) return RestoreRefusal{refusal("resolution out of range")};
    if (val(in.res) == 0) return RestoreRefusal{refusal("resolution would be 0 Hz")};
    v.fvco = r.fcomp * (r.n + r.fract / r.denom);
    v.fout = v.fvco / in.odiv * v.rfMult;
    in.fo = format(v.fout, "####.######");
    r.divGainLabel = str(in.divGain) + " Div Gain";
    r.rlabel = "R divider" + str(v.r);

    const auto check = calculatePlan(in, settledVariables(r));
    if (const auto* refused = std::get_if<RefusedPlan>(&check))
        return RestoreRefusal{refusal("the stored set gives no plan (" + refused->reason + ")")};
    return r;
}

RestoreOutcome restoreFromAnswer(std::string_view answer, const Inputs& before,
                                 const PlanVariables& variables) {
    if (answer.empty()) return RestoreRefusal{refusal("no answer from the board")};
    return restoreFrom(parseStoredSet(answer), before, variables);
}

} // namespace kelvane
