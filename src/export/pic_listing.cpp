#include "export/pic_listing.h"

#include "export/ee_hex_data.h"
#include "model/conversions.h"
#include "model/hex.h"

namespace kelvane {

GeneratedText picListing(const Inputs& in, const PlanVariables& v, const Plan& plan,
                         const RegisterImage& registers) {
    if (const auto beyond = wordBeyond32Bits(registers))
        return {false, *beyond + " to get a PIC listing"};
    const std::string multiplierNote = v.rfMult > 1 ? " RF MULT *" + str(v.rfMult) : "";
    std::string text =
        "  ;  Fout " + in.fo + "MHz" + multiplierNote + "  Resolution " + in.res + "Hz\r\n";
    text += "  ;  R = " + str(v.r) + "      D = " + str(plan.denom) + "      N = " + str(plan.n) +
            "      F = " + str(plan.fract) + "\r\n";
    for (int address : transferOrder) {
        const std::string name = "Reg" + std::to_string(address);
        text += eeHexData(registers[address]) + "    ;  " + name + "   \r\n";
    }
    return {true, text};
}

} // namespace kelvane
