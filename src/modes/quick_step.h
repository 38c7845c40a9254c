#pragma once
// The quick step: the wanted output frequency moved by one resolution step.

#include <string>

namespace kelvane {

enum class StepDirection { up, down };

// The new text of the output-frequency box after one step of fresHz from
// foutMHz: plain decimal text of 15 significant digits without a leading
// blank, "2320.24999" for 2320.25 stepped down by 10 Hz. Because every step
// passes through this text, steps up and the same number down return the
// frequency exactly to where it started.
std::string steppedFrequencyText(double foutMHz, double fresHz, StepDirection direction);

} // namespace kelvane
