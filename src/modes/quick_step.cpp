#include "modes/quick_step.h"

#include "model/conversions.h"

namespace kelvane {

std::string steppedFrequencyText(double foutMHz, double fresHz, StepDirection direction) {
    const double stepMHz = fresHz / 1000000;
    const double f = direction == StepDirection::up ? foutMHz + stepMHz : foutMHz - stepMHz;
    return plainNumberText(f);
}

} // namespace kelvane
