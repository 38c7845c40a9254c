#pragma once
// Reading the register set the board keeps in its EEPROM back into the window.
//
// The board answers the read request with register entries: "0x", then the
// 32-bit word as four bytes of two hexadecimal digits each, most significant
// first, one separator of any kind between bytes ("0x00 A8 73 03"). The second
// digit of the low byte is the register address. Anything may stand between
// entries, entries come in any order, and a later entry for an address replaces
// an earlier one.
//
// From the entries of registers 0, 1, 2, 3, 4 and 6 the restore works out every
// value the window sets back, in the window's own order and arithmetic, or
// refuses the answer with one line saying why; a refused answer changes nothing.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "model/inputs.h"
#include "model/plan_variables.h"

namespace kelvane {

// The words found in an answer, by register address, each shifted right by four
// bits (its address nibble removed). Only addresses 0 to 9, 12 and 13 are kept.
struct StoredSet {
    std::array<std::optional<std::uint32_t>, 16> value;
};

// Finds every entry of an answer of any length, from its first character on.
// An entry whose eight digit places do not all hold hexadecimal digits, or that
// the answer cuts short, is skipped rather than read as zeros.
StoredSet parseStoredSet(std::string_view answer);

// What the restore assigns, in the window's units. The restore takes the
// reference and the multiplier from the window as it stands (they are not part
// of the stored set), and the doubler decides which R the window ends up with.
struct Restore {
    // The controls after the restore, their handlers having run: clearing
    // ExtVCO clears CPP. Without the doubler Rscroll takes the R read; with
    // it, Rscroll stays where it was. The R in use is variables.r.
    Inputs inputs;
    int rField = 1; // R as stored; assigned before the doubler
    // fout, fvco and fres as the restore assigns them, before the texts of Res
    // and Fo run their handlers; r from the doubler step on, after the
    // doubler handler has run; rfMult as it was.
    PlanVariables variables;
    double n = 0;
    double denom = 0;
    double fract = 0;
    double fcomp = 0;
    std::string divGainLabel;
    std::string rlabel;
};

// One line for the board's console, such as
// "Init from EE: no entry for register 3; nothing changed".
struct RestoreRefusal {
    std::string line;
};

using RestoreOutcome = std::variant<Restore, RestoreRefusal>;

// The restore of a window holding these inputs and variables.
RestoreOutcome restoreFrom(const StoredSet& stored, const Inputs& before,
                           const PlanVariables& variables);
RestoreOutcome restoreFromAnswer(std::string_view answer, const Inputs& before,
                                 const PlanVariables& variables);

} // namespace kelvane
