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

#include "model/control_state.h"

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

// What the restore takes from the window as it stands: the reference and the
// multiplier are not part of the stored set, and the doubler decides which R
// the window ends up with.
struct RestoreContext {
    std::string frText = " 10";
    double rfMult = 1;
    bool doubler = false; // RefDbl before the restore
};

// The values the restore assigns, one field per step and in the window's units.
struct Restore {
    int odiv = 1;
    int rField = 1; // R as stored; assigned before the doubler
    double n = 0;
    double denom = 0;
    double fract = 0;
    bool doubler = false;
    int r = 1; // R from the doubler step on, after the doubler handler has run
    double fcomp = 0;
    double fres = 0;
    std::string resText;
    double fvco = 0;
    double fout = 0;
    std::string foText;
    int chargePumpGain = 0;
    int dither = 0;
    int order = 0;
    int mux = 0;
    bool externalVco = false;
    bool chargePumpPositive = false; // assigned only with the external VCO
    int divGain = 0;
    int outTerm = 0;
    int vcoGain = 0;
    std::string divGainLabel;
    std::string rlabel;
};

// One line for the board's console, such as
// "Init from EE: no entry for register 3; nothing changed".
struct RestoreRefusal {
    std::string line;
};

using RestoreOutcome = std::variant<Restore, RestoreRefusal>;

RestoreOutcome restoreFrom(const StoredSet& stored, const RestoreContext& context);
RestoreOutcome restoreFromAnswer(std::string_view answer, const RestoreContext& context);

// The context a window with these controls gives the restore.
RestoreContext restoreContextOf(const ControlState& controls);

// The controls after the restore, for plans worked out from a ControlState
// (kelvanectl). As in the window, without the doubler the restored R goes into
// rScroll, which is where planInputsFrom() takes it from; with it, rScroll
// stays where it was.
ControlState restoredControls(const Restore& restore, ControlState controls);

} // namespace kelvane
