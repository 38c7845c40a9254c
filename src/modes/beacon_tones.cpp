#include "modes/beacon_tones.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "model/conversions.h"
#include "model/plan.h"
#include "model/plan_variables.h"

namespace kelvane::beacon {
namespace {

// How many numerators below the largest one are tried; the rounding of each
// D differs from one F to the next, and the best of them is kept.
constexpr std::int64_t numeratorsTried = 4096;

std::string hz(double value, const char* format = "%.4f") {
    char text[48];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// The wanted tones of a sequence, the carrier first.
std::vector<Tone> wantedTones(const Sequence& sequence) {
    std::vector<Tone> tones{{{Mode::Carrier, 0}, "carrier", 0, carrierToleranceHz}};
    auto addMode = [&tones](Mode mode, const char* name, double spacing, double lowest) {
        for (const auto& tone : tones)
            if (tone.key.mode == mode) return;
        for (int k = 0; k < 4; ++k)
            tones.push_back({{mode, k},
                             std::string(name) + " " + std::to_string(k),
                             lowest + k * spacing,
                             toneTolerance * spacing});
    };
    for (const auto& element : sequence.elements) {
        switch (element.mode) {
        case Mode::Pi4:
            addMode(Mode::Pi4, "PI4", pi4ToneSpacingHz, -pi4ToneSpacingHz / 2);
            break;
        case Mode::Jt4:
            addMode(Mode::Jt4, "JT4", jt4ToneSpacingHz(element.jt4Submode), 0);
            break;
        case Mode::Wspr:
            addMode(Mode::Wspr, "WSPR", wsprToneSpacingHz, 0);
            break;
        case Mode::Cw:
            if (std::none_of(tones.begin(), tones.end(),
                             [](const Tone& t) { return t.key.mode == Mode::Cw; }))
                tones.push_back({{Mode::Cw, 0}, "CW key-up", element.shiftHz, carrierToleranceHz});
            break;
        case Mode::Carrier:
            break;
        }
    }
    return tones;
}

// Elements of one mode that ask for different tones cannot share one table.
std::optional<std::string> conflictingTones(const Sequence& sequence) {
    const Element* jt4 = nullptr;
    const Element* cw = nullptr;
    for (const auto& element : sequence.elements) {
        if (element.mode == Mode::Jt4) {
            if (jt4 && jt4->jt4Submode != element.jt4Submode)
                return "JT4 sub-mode: one sequence keys one sub-mode; give every JT4 element "
                       "the same";
            jt4 = &element;
        }
        if (element.mode == Mode::Cw) {
            if (cw && cw->shiftHz != element.shiftHz)
                return "CW shift: one sequence keys one key-up frequency; give every CW element "
                       "the same shift";
            cw = &element;
        }
    }
    return std::nullopt;
}

} // namespace

const Tone& TonePlan::tone(const ToneKey& key) const {
    for (const auto& t : tones)
        if (t.key == key) return t;
    return tones.front();
}

std::variant<TonePlan, TonePlanRefusal> planTones(const Inputs& inputs, const Sequence& sequence) {
    if (auto conflict = conflictingTones(sequence)) return TonePlanRefusal{*conflict};
    const PlanVariables variables = planVariablesFrom(inputs);
    const PlanOutcome outcome = calculatePlan(inputs, variables);
    if (const auto* refused = std::get_if<RefusedPlan>(&outcome))
        return TonePlanRefusal{"Plan: " + refused->reason};
    const Plan& plan = std::get<PlannedFrequency>(outcome).plan;

    // Output frequency, Hz, of fcomp x (N + F / D) through the divider and multiplier.
    const long double unitHz =
        static_cast<long double>(plan.fcomp) * 1e6L * variables.rfMult / inputs.odiv;
    const long double wantedHz = static_cast<long double>(val(inputs.fo)) * 1e6L;
    if (!(wantedHz > 0) || !std::isfinite(static_cast<double>(unitHz)) || !(unitHz > 0))
        return TonePlanRefusal{"Fo: give an output frequency above 0 MHz"};
    const long double ratio = wantedHz / unitHz;
    const long double n = std::floor(ratio);

    std::vector<Tone> tones = wantedTones(sequence);
    long double smallest = 1, largest = 0;
    for (const auto& tone : tones) {
        const long double fraction = (wantedHz + tone.offsetHz) / unitHz - n;
        smallest = std::min(smallest, fraction);
        largest = std::max(largest, fraction);
    }
    if (!(smallest > 0 && largest < 1))
        return TonePlanRefusal{
            "Tones: they lie on both sides of a whole multiple of the comparison frequency (" +
            hz(plan.fcomp, "%.6f") +
            " MHz), where N changes; choose another reference divider "
            "R, the doubler or an output divider"};
    if (n < 1 || n > 65535)
        return TonePlanRefusal{"N: " + hz(static_cast<double>(n), "%.0f") +
                               " is beyond the chip's 16 bits; choose another reference divider"};

    // The lowest tone has the largest D; F as large as that D allows gives the
    // finest steps.
    const auto largestF = static_cast<std::int64_t>(
        std::floor(smallest * static_cast<long double>(denominatorLimit - 1)));
    double bestScore = INFINITY;
    TonePlan best;
    for (std::int64_t f = largestF; f > 0 && f > largestF - numeratorsTried; --f) {
        std::vector<Tone> trial = tones;
        double score = 0;
        long double carrierHz = 0;
        for (auto& tone : trial) {
            const long double fraction = (wantedHz + tone.offsetHz) / unitHz - n;
            tone.d =
                static_cast<std::int64_t>(std::llround(static_cast<long double>(f) / fraction));
            const long double achieved =
                unitHz * (n + static_cast<long double>(f) / static_cast<long double>(tone.d));
            if (tone.key.mode == Mode::Carrier) carrierHz = achieved;
            tone.achievedOffsetHz = static_cast<double>(achieved);
        }
        for (auto& tone : trial) {
            if (tone.d >= denominatorLimit || tone.d <= f) score = INFINITY;
            const double offset = tone.key.mode == Mode::Carrier
                                      ? static_cast<double>(carrierHz - wantedHz)
                                      : static_cast<double>(tone.achievedOffsetHz - carrierHz);
            tone.achievedOffsetHz = tone.key.mode == Mode::Carrier ? 0 : offset;
            tone.errorHz = tone.key.mode == Mode::Carrier ? offset : offset - tone.offsetHz;
            tone.reg2 = composeReg2(tone.d);
            score = std::max(score, std::fabs(tone.errorHz) / tone.toleranceHz);
        }
        if (score < bestScore) {
            bestScore = score;
            best.tones = trial;
            best.f = f;
            best.carrierHz = static_cast<double>(carrierHz);
        }
        if (score <= 0.25) break; // comfortably inside every tolerance
    }
    if (!(bestScore <= 1)) {
        std::string worst = "every D below 2^22";
        if (std::isfinite(bestScore)) {
            const auto it = std::max_element(best.tones.begin(), best.tones.end(),
                                             [](const Tone& a, const Tone& b) {
                                                 return std::fabs(a.errorHz) / a.toleranceHz <
                                                        std::fabs(b.errorHz) / b.toleranceHz;
                                             });
            worst = it->name + " " + hz(it->errorHz) + " Hz off, beyond its " +
                    hz(it->toleranceHz) + " Hz";
        }
        return TonePlanRefusal{
            "Tone table: no numerator F gives " + worst +
            "; choose a larger reference divider R, the doubler off or another output divider "
            "so that Fvco lies closer above a multiple of the comparison frequency"};
    }

    best.wantedHz = static_cast<double>(wantedHz);
    best.n = static_cast<std::int64_t>(n);
    best.registers = composeRegisters(plan, inputs, variables);
    best.registers[0] = composeReg0(best.n, best.f);
    best.registers[1] = composeReg1(variables.r, best.n, best.f);
    best.registers[2] = best.tones.front().reg2;
    return best;
}

} // namespace kelvane::beacon
