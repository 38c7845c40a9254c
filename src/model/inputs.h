#pragma once
// What a user sets in the main window: the four number texts exactly as typed
// (leading blanks kept) and the position of every scroll bar and check box of
// the plan inputs and of the loop and output settings. Defaults are the
// window's start-up state. The window, kelvanectl's options, the read-back and
// setup files all speak in this one value type; the field names follow
// kelvanectl's option names. Ranges, controls and help are in input_table.h.

#include <string>

namespace kelvane {

struct Inputs {
    std::string fo = " 2320.25"; // wanted output frequency, MHz
    std::string fr = " 10";      // reference frequency, MHz
    std::string res = " 10";     // wanted resolution at the final output, Hz
    std::string rfMult = "1";    // final RF multiplication factor

    int r = 1;
    int odiv = 1;
    int cpg = 19; // the gain shown is the value plus 1
    int dither = 1;
    int order = 2;
    int mux = 3;
    int outTerm = 12;
    int vcoGain = 12;
    int divGain = 12;

    bool doubler = false;
    bool fixFout = false; // "Fix Fout with divider"
    bool externalVco = false;
    bool cpp = false; // positive charge pump polarity; counts only with externalVco

    // The multiplication in force while rfMult reads as no factor above 0
    // ("0", empty): the window keeps the last factor typed, so "4" then "0"
    // leaves 4. It is 1 whenever rfMult gives a factor of its own.
    double rfMultKept = 1;

    friend bool operator==(const Inputs&, const Inputs&) = default;
};

} // namespace kelvane
