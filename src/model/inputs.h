#pragma once
// What a user sets in the main window: the four number texts exactly as typed
// (leading blanks kept) and the position of every scroll bar and check box of
// the plan inputs and of the loop and output settings. Defaults are the
// window's start-up state. The window, kelvanectl's options, the read-back and
// setup files all speak in this one value type; the field names follow
// kelvanectl's option names.

#include <string>

namespace kelvane {

struct Inputs {
    std::string fo = " 2320.25"; // Fo, wanted output frequency, MHz
    std::string fr = " 10";      // Fr, reference frequency, MHz
    std::string res = " 10";     // Res, wanted resolution at the final output, Hz
    std::string rfMult = "1";    // RFMultText, final RF multiplication factor

    int r = 1;        // Rscroll, 1 ... 4096
    int odiv = 1;     // Odiv, 1 ... 63
    int cpg = 19;     // CPGscroll, 0 ... 31 (the gain shown is the value plus 1)
    int dither = 1;   // Dither, 0 ... 3
    int order = 2;    // Order, 0 ... 4
    int mux = 3;      // Mux, 0 ... 13
    int outTerm = 12; // OutTerm, 0 ... 15
    int vcoGain = 12; // VcoGain, 0 ... 15
    int divGain = 12; // DivGain, 0 ... 15

    bool doubler = false;     // RefDbl
    bool fixFout = false;     // LockFo, "Fix Fout with divider"
    bool externalVco = false; // ExtVCO
    bool cpp = false;         // CPP, positive charge pump polarity; counts only with ExtVCO

    friend bool operator==(const Inputs&, const Inputs&) = default;
};

} // namespace kelvane
