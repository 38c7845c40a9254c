#pragma once
// The register set as PIC assembler text for pasting into the firmware source:
// two comment lines recording the plan, then one data-EEPROM line per word in
// transfer order.

#include <string>

#include "export/generated_text.h"
#include "model/inputs.h"
#include "model/plan.h"
#include "model/plan_variables.h"
#include "model/registers.h"

namespace kelvane {

// The fourteen-line listing (644 characters for the start-up state). A word
// beyond 32 bits cannot be declared in four bytes; the result then names it
// instead of listing a truncated value. The head records the Fo and Res texts
// as they stand, rfMult and r from the variables, and D, N and F of the plan
// the words were composed from.
GeneratedText picListing(const Inputs& inputs, const PlanVariables& variables, const Plan& plan,
                         const RegisterImage& registers);

// What the export window shows when the inputs give no plan.
inline const GeneratedText picListingWithoutPlan{
    false, "No plan for these inputs (see the status line); correct them to get a PIC listing"};

} // namespace kelvane
