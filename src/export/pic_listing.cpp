#include "export/pic_listing.h"

#include "export/ee_hex_data.h"
#include "model/conversions.h"

namespace kelvane {

ExportInputs exportInputsFrom(const ControlState& controls, const Recalculation& recalculation) {
    const PlanInputs planInputs = planInputsFrom(controls);
    ExportInputs in;
    in.foText = controls.fo;
    in.resText = controls.res;
    in.rfMult = planInputs.rfMult;
    in.r = planInputs.r;
    in.denom = recalculation.plan.denom;
    in.n = recalculation.plan.n;
    in.fract = recalculation.plan.fract;
    in.registers = recalculation.registers;
    return in;
}

GeneratedText picListing(const ExportInputs& in) {
    if (const auto beyond = wordBeyond32Bits(in.registers))
        return {false, *beyond + " to get a PIC listing"};
    const std::string multiplierNote = in.rfMult > 1 ? " RF MULT *" + str(in.rfMult) : "";
    std::string text =
        "  ;  Fout " + in.foText + "MHz" + multiplierNote + "  Resolution " + in.resText + "Hz\r\n";
    text += "  ;  R = " + str(in.r) + "      D = " + str(in.denom) + "      N = " + str(in.n) +
            "      F = " + str(in.fract) + "\r\n";
    for (int address : transferOrder) {
        const std::string name = "Reg" + std::to_string(address);
        text += eeHexData(in.registers[address]) + "    ;  " + name + "   \r\n";
    }
    return {true, text};
}

} // namespace kelvane
