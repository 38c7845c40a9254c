#include "model/readback.h"

#include <cmath>

#include "model/conversions.h"
#include "model/hex.h"
#include "model/plan_input_rules.h"
#include "model/recalculation.h"

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
    const std::uint32_t v0 = *stored.value[0], v1 = *stored.value[1], v2 = *stored.value[2],
                        v3 = *stored.value[3], v4 = *stored.value[4], v6 = *stored.value[6];

    Restore r;
    r.inputs = before;
    r.variables = variables;
    Inputs& in = r.inputs;
    PlanVariables& v = r.variables;
    in.odiv = static_cast<int>((v4 >> 8) & 0x3F);
    r.rField = static_cast<int>(v1 & 0xFFF);
    r.n = static_cast<double>((v0 & 0xFFF) + (v1 & 0x3F000));
    r.denom = static_cast<double>(v2 & 0x3FFFFF);
    r.fract = static_cast<double>(v0 & 0xFFFF000) / 4096 +
              static_cast<double>(v1 & 0xFC0000) / 262144 * 65536;
    in.doubler = ((v3 >> 14) & 1) != 0;
    in.cpg = static_cast<int>((v3 >> 4) & 0x1F);
    in.dither = static_cast<int>((v3 >> 19) & 0x3);
    in.order = static_cast<int>((v3 >> 16) & 0x7);
    in.mux = static_cast<int>((v3 >> 9) & 0xF);
    in.externalVco = (v3 & 1) != 0;
    // CPP is set only with ExtVCO; clearing ExtVCO clears CPP by its handler.
    if (in.externalVco)
        in.cpp = ((v3 >> 13) & 1) != 0;
    else if (before.externalVco)
        in.cpp = false;
    in.divGain = static_cast<int>((v6 >> 2) & 0xF);
    in.outTerm = static_cast<int>((v6 >> 6) & 0xF);
    in.vcoGain = static_cast<int>((v6 >> 10) & 0xF);

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
