#include "model/input_table.h"

#include <algorithm>
#include <array>

namespace kelvane {
namespace {

// clang-format off
constexpr InputSpec table[] = {
    {.key = "fo", .field = &Inputs::fo,
     .optionHelp = "Output frequency, MHz, at the final output.",
     .objectName = "Fo",
     .tooltip = "Wanted output frequency in MHz, at the final output (after the output divider "
                "and the RF multiplication).\nSets N and F in registers 0 and 1 through the VCO "
                "frequency.",
     .hintName = "Output Freq", .applyStep = 1},
    {.key = "fr", .field = &Inputs::fr,
     .optionHelp = "Reference frequency, MHz.",
     .objectName = "Fr",
     .tooltip = "Reference input frequency in MHz.\nWith R and the doubler it gives the "
                "comparison frequency; register 4 carries it in whole MHz (up to 255).",
     .hintName = "Reference Input"},
    {.key = "res", .field = &Inputs::res,
     .optionHelp = "Output resolution, Hz: the frequency step at the final output.",
     .objectName = "Res",
     .tooltip = "Wanted step at the final output in Hz, which sets the denominator D in register "
                "2.\nD must stay below 4194304: a finer resolution turns D red.\nClicking here "
                "names the step \"MFSK Mode\".",
     .hintName = "Resolution"},
    {.key = "rfmult", .field = &Inputs::rfMult,
     .optionHelp = "Final RF multiplication after the board; the VCO runs at the output "
                   "frequency times the output divider over this factor.",
     .objectName = "RFMultText",
     .tooltip = "Factor of a frequency multiplier after the board, such as 4 for a x4 "
                "multiplier; above 0.\nThe VCO then runs at the output frequency divided by it.",
     .hintName = "Final RF Multiplication"},
    {.key = "r", .field = &Inputs::r, .low = 1, .high = 4096,
     .optionHelp = "Reference divider R.",
     .objectName = "Rscroll",
     .tooltip = "Reference divider R, 1 to 4096.\nSets the R field of register 1."},
    {.key = "odiv", .field = &Inputs::odiv, .low = 1, .high = 63,
     .optionHelp = "Output divider.",
     .objectName = "Odiv",
     .tooltip = "Output divider, 1 to 63.\nSets the divider field of register 4 and register 13. "
                "Quick Freq Update is off after a change until Update all registers."},
    {.key = "cpg", .field = &Inputs::cpg, .low = 0, .high = 31,
     .optionHelp = "Charge pump gain setting; the gain is the setting plus 1.",
     .objectName = "CPGscroll",
     .tooltip = "Charge pump gain, 1 to 32 (setting 0 to 31).\nSets the gain field of register 3."},
    {.key = "dither", .field = &Inputs::dither, .low = 0, .high = 3,
     .optionHelp = "Modulator dither: 0 weak, 1 medium, 2 strong, 3 none.",
     .objectName = "Dither",
     .tooltip = "Delta-sigma modulator dither: weak, medium, strong or none.\nSets the dither "
                "field of register 3."},
    {.key = "order", .field = &Inputs::order, .low = 0, .high = 4,
     .optionHelp = "Modulator order.",
     .objectName = "Order",
     .tooltip = "Delta-sigma modulator order, 0 to 4.\nSets the order field of register 3."},
    {.key = "mux", .field = &Inputs::mux, .low = 0, .high = 13,
     .optionHelp = "Multiplexed output selection.",
     .objectName = "Mux",
     .tooltip = "Signal on the multiplexed output pin, 14 choices from the lock detects to the "
                "divider outputs.\nSets the mux field of register 3."},
    {.key = "outterm", .field = &Inputs::outTerm, .low = 0, .high = 15,
     .optionHelp = "Output termination.",
     .objectName = "OutTerm",
     .tooltip = "Output termination setting, 0 to 15.\nSets its field of register 6."},
    {.key = "vcogain", .field = &Inputs::vcoGain, .low = 0, .high = 15,
     .optionHelp = "VCO gain.",
     .objectName = "VcoGain",
     .tooltip = "VCO gain setting, 0 to 15.\nSets its field of register 6."},
    {.key = "divgain", .field = &Inputs::divGain, .low = 0, .high = 15,
     .optionHelp = "Divider gain.",
     .objectName = "DivGain",
     .tooltip = "Divider gain setting, 0 to 15.\nSets its field of register 6."},
    {.key = "doubler", .field = &Inputs::doubler,
     .optionHelp = "Reference doubler on; R is then 1 and -r is ignored.",
     .objectName = "RefDbl",
     .tooltip = "Doubles the reference before the phase detector; R is then fixed at 1.\nSets "
                "the doubler bit of register 3."},
    {.key = "fix-fout", .field = &Inputs::fixFout,
     .optionHelp = "Fix Fout with divider: kept in a saved setup; the plan is the same either "
                   "way.",
     .objectName = "LockFo",
     .tooltip = "Checked: a new output divider keeps the output frequency and moves the VCO.\n"
                "Clear: the VCO stays and the output frequency follows the divider.",
     .applyStep = -1},
    {.key = "ext-vco", .field = &Inputs::externalVco,
     .optionHelp = "External VCO in use.",
     .objectName = "ExtVCO",
     .tooltip = "An external VCO drives the chip; offers the charge pump polarity.\nSets the "
                "external-VCO bit of register 3."},
    {.key = "cpp", .field = &Inputs::cpp,
     .optionHelp = "Positive charge pump polarity; counts only with --ext-vco.",
     .objectName = "CPP",
     .tooltip = "Charge pump polarity for an external VCO: checked is positive.\nSets the "
                "polarity bit of register 3.",
     .offeredWith = "ext-vco"},
};
// clang-format on

constexpr std::size_t inputCount = std::size(table);

std::array<const InputSpec*, inputCount> applyOrder() {
    std::array<const InputSpec*, inputCount> order{};
    for (std::size_t i = 0; i < inputCount; ++i)
        order[i] = &table[i];
    std::stable_sort(order.begin(), order.end(), [](const InputSpec* a, const InputSpec* b) {
        return a->applyStep < b->applyStep;
    });
    return order;
}

} // namespace

std::span<const InputSpec> inputTable() {
    return table;
}

const InputSpec* findInput(std::string_view key) {
    for (const InputSpec& input : table)
        if (input.key == key) return &input;
    return nullptr;
}

const InputSpec* findInputControl(std::string_view objectName) {
    for (const InputSpec& input : table)
        if (input.objectName == objectName) return &input;
    return nullptr;
}

const InputSpec* offeringInput(const InputSpec& input) {
    return input.offeredWith.empty() ? nullptr : findInput(input.offeredWith);
}

std::span<const InputSpec* const> inputsInApplyOrder() {
    static const auto order = applyOrder();
    return order;
}

} // namespace kelvane
