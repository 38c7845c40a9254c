#pragma once
// The register set as PIC assembler text for pasting into the firmware source:
// two comment lines recording the plan, then one data-EEPROM line per word in
// transfer order.

#include <string>

#include "export/generated_text.h"
#include "model/control_state.h"
#include "model/recalculation.h"
#include "model/registers.h"

namespace kelvane {

struct ExportInputs {
    std::string foText;  // the output-frequency box as it stands, blanks included
    std::string resText; // the resolution box as it stands
    double rfMult = 1;   // the final RF multiplier in effect
    double r = 1;        // reference divider in use
    double denom = 0;
    double n = 0;
    double fract = 0;
    RegisterImage registers;
};

// The inputs the window holds after setting these controls and recalculating.
ExportInputs exportInputsFrom(const ControlState& controls, const Recalculation& recalculation);

// The fourteen-line listing (644 characters for the start-up state). A word
// beyond 32 bits cannot be declared in four bytes; the result then names it
// instead of listing a truncated value.
GeneratedText picListing(const ExportInputs& inputs);

} // namespace kelvane
