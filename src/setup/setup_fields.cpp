#include "setup/setup_fields.h"

namespace kelvane::setup {

const std::array<InputField, 17> inputFields{{
    {"fo", TextField{&Inputs::fo}},
    {"fr", TextField{&Inputs::fr}},
    {"res", TextField{&Inputs::res}},
    {"rfmult", TextField{&Inputs::rfMult}},
    {"r", WholeNumberField{&Inputs::r, 1, 4096}},
    {"odiv", WholeNumberField{&Inputs::odiv, 1, 63}},
    {"cpg", WholeNumberField{&Inputs::cpg, 0, 31}},
    {"dither", WholeNumberField{&Inputs::dither, 0, 3}},
    {"order", WholeNumberField{&Inputs::order, 0, 4}},
    {"mux", WholeNumberField{&Inputs::mux, 0, 13}},
    {"outterm", WholeNumberField{&Inputs::outTerm, 0, 15}},
    {"vcogain", WholeNumberField{&Inputs::vcoGain, 0, 15}},
    {"divgain", WholeNumberField{&Inputs::divGain, 0, 15}},
    {"doubler", SwitchField{&Inputs::doubler}},
    {"fix-fout", SwitchField{&Inputs::fixFout}},
    {"ext-vco", SwitchField{&Inputs::externalVco}},
    {"cpp", SwitchField{&Inputs::cpp}},
}};

} // namespace kelvane::setup
