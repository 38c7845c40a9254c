#pragma once
// The main window's own variables: the plan quantities in force, the register
// image and the two flags of the run. The setting controls hold their values
// themselves; nothing here duplicates them.

#include <cstdint>

#include "model/registers.h"

namespace kelvane::ui {

struct WindowState {
    double cp = 0; // serial port number as entered; 0 until a port is chosen

    // Recalculation guard: 0 while the window is being set up or restored
    // control by control, nonzero when every input change recalculates.
    std::int16_t notInit = 0;

    double fout = 0;   // wanted output frequency, MHz
    double fvco = 0;   // VCO frequency: fout * output divider / rfMult, MHz
    double fres = 10;  // wanted output resolution, Hz, never 0
    int r = 1;         // reference divider in use, 1 ... 4096
    double fcomp = 10; // comparison frequency, MHz
    double rfMult = 1; // final RF multiplication factor, always > 0

    double effN = 0;   // fvco / fcomp
    double n = 0;      // integer part of effN
    double denom = 0;  // fractional denominator D
    double fract = 0;  // fractional numerator F
    double fcorr = 0;  // output frequency that N, F and D give, MHz
    double ferror = 0; // fcorr minus the wanted output frequency, Hz

    kelvane::RegisterImage registers;
};

} // namespace kelvane::ui
