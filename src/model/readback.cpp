#include "model/readback.h"

#include <cmath>

#include "model/conversions.h"
#include "model/plan_input_rules.h"
#include "model/recalculation.h"

namespace kelvane {
namespace {

constexpr std::string_view entryMark = "0x";
constexpr std::size_t entryLength = 11; // "00 A8 73 03" after the mark

// Registers whose fields the window takes back, in the order they are named
// when missing.
constexpr std::array<int, 6> restoredRegisters{0, 1, 2, 3, 4, 6};

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool keptAddress(int address) {
    return address <= 9 || address == 12 || address == 13;
}

// The word of one entry (the 11 characters after "0x"), without its address
// nibble, and the address; nothing when a digit place holds no hex digit.
std::optional<std::pair<int, std::uint32_t>> readEntry(std::string_view entry) {
    static constexpr std::size_t digitPlaces[] = {0, 1, 3, 4, 6, 7, 9, 10};
    std::uint32_t word = 0;
    for (std::size_t place : digitPlaces) {
        const int digit = hexDigit(entry[place]);
        if (digit < 0) return std::nullopt;
        word = word * 16 + static_cast<std::uint32_t>(digit);
    }
    return std::pair{static_cast<int>(word & 0xF), word >> 4};
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

// The plan inputs the window holds once the restore has run its handlers: the
// texts of Res and Fo are read back by their own handlers.
PlanInputs restoredPlanInputs(const Restore& r, const RestoreContext& context) {
    PlanInputs in;
    in.foText = r.foText;
    in.frText = context.frText;
    in.r = r.r;
    in.doubler = r.doubler;
    in.odiv = r.odiv;
    in.rfMult = context.rfMult;
    in.fvco = vcoFrequency(val(r.foText), r.odiv, context.rfMult);
    in.fres = resolutionFrom(r.resText);
    return in;
}

} // namespace

StoredSet parseStoredSet(std::string_view answer) {
    StoredSet stored;
    for (auto pos = answer.find(entryMark); pos != std::string_view::npos;
         pos = answer.find(entryMark, pos + entryMark.size())) {
        const auto entry = answer.substr(pos + entryMark.size(), entryLength);
        if (entry.size() < entryLength) continue;
        const auto read = readEntry(entry);
        if (read && keptAddress(read->first)) stored.value[read->first] = read->second;
    }
    return stored;
}

RestoreOutcome restoreFrom(const StoredSet& stored, const RestoreContext& context) {
    if (const auto missing = missingRegisters(stored); !missing.empty())
        return RestoreRefusal{refusal(missing)};
    const std::uint32_t v0 = *stored.value[0], v1 = *stored.value[1], v2 = *stored.value[2],
                        v3 = *stored.value[3], v4 = *stored.value[4], v6 = *stored.value[6];

    Restore r;
    r.odiv = static_cast<int>((v4 >> 8) & 0x3F);
    r.rField = static_cast<int>(v1 & 0xFFF);
    r.n = static_cast<double>((v0 & 0xFFF) + (v1 & 0x3F000));
    r.denom = static_cast<double>(v2 & 0x3FFFFF);
    r.fract = static_cast<double>(v0 & 0xFFFF000) / 4096 +
              static_cast<double>(v1 & 0xFC0000) / 262144 * 65536;
    r.doubler = ((v3 >> 14) & 1) != 0;
    r.chargePumpGain = static_cast<int>((v3 >> 4) & 0x1F);
    r.dither = static_cast<int>((v3 >> 19) & 0x3);
    r.order = static_cast<int>((v3 >> 16) & 0x7);
    r.mux = static_cast<int>((v3 >> 9) & 0xF);
    r.externalVco = (v3 & 1) != 0;
    r.chargePumpPositive = r.externalVco && ((v3 >> 13) & 1) != 0;
    r.divGain = static_cast<int>((v6 >> 2) & 0xF);
    r.outTerm = static_cast<int>((v6 >> 6) & 0xF);
    r.vcoGain = static_cast<int>((v6 >> 10) & 0xF);

    // Without the doubler the R read is set into the scroll bar too, so
    // switching the doubler off takes that same R back from it; the doubler
    // handler runs only when the doubler changes, and switching it on sets R
    // to 1.
    r.r = r.rField;
    if (r.doubler && !context.doubler) r.r = 1;

    if (r.odiv == 0) return RestoreRefusal{refusal("output divider 0 (1 to 63 allowed)")};
    if (r.order > 4)
        return RestoreRefusal{
            refusal("modulator order " + std::to_string(r.order) + " (0 to 4 allowed)")};
    if (r.mux > 13)
        return RestoreRefusal{
            refusal("mux selection " + std::to_string(r.mux) + " (0 to 13 allowed)")};
    if (r.r == 0) return RestoreRefusal{refusal("R divider 0")};
    if (r.denom == 0) return RestoreRefusal{refusal("denominator 0")};

    const double doublerValue = r.doubler ? 1 : 0;
    r.fcomp = val(context.frText) / r.r * (doublerValue + 1);
    r.fres = r.fcomp * 1000000 / r.denom / r.odiv * context.rfMult;
    r.resText = format(r.fres, "####0.00########");
    if (!std::isfinite(r.fres)) return RestoreRefusal{refusal("resolution out of range")};
    if (val(r.resText) == 0) return RestoreRefusal{refusal("resolution would be 0 Hz")};
    r.fvco = r.fcomp * (r.n + r.fract / r.denom);
    r.fout = r.fvco / r.odiv * context.rfMult;
    r.foText = format(r.fout, "####.######");
    r.divGainLabel = str(r.divGain) + " Div Gain";
    r.rlabel = "R divider" + str(r.r);

    const auto check = calculatePlan(restoredPlanInputs(r, context));
    if (const auto* refused = std::get_if<RefusedPlan>(&check))
        return RestoreRefusal{refusal("the stored set gives no plan (" + refused->reason + ")")};
    return r;
}

RestoreOutcome restoreFromAnswer(std::string_view answer, const RestoreContext& context) {
    if (answer.empty()) return RestoreRefusal{refusal("no answer from the board")};
    return restoreFrom(parseStoredSet(answer), context);
}

RestoreContext restoreContextOf(const ControlState& controls) {
    return {controls.fr, planInputsFrom(controls).rfMult, controls.doubler};
}

ControlState restoredControls(const Restore& restore, ControlState c) {
    c.fo = restore.foText;
    c.res = restore.resText;
    c.odiv = restore.odiv;
    if (!restore.doubler) c.rScroll = restore.r;
    c.doubler = restore.doubler;
    c.chargePumpGain = restore.chargePumpGain;
    c.dither = restore.dither;
    c.order = restore.order;
    c.mux = restore.mux;
    c.externalVco = restore.externalVco;
    if (restore.externalVco) c.chargePumpPositive = restore.chargePumpPositive;
    c.divGain = restore.divGain;
    c.outTerm = restore.outTerm;
    c.vcoGain = restore.vcoGain;
    return c;
}

} // namespace kelvane
