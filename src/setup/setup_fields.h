#pragma once
// The inputs of a setup file, one entry per key, in the order the file lists
// them. Ranges are those of the window's controls.

#include <array>
#include <string>
#include <variant>

#include "model/inputs.h"

namespace kelvane::setup {

struct TextField {
    std::string Inputs::*member;
};

struct WholeNumberField {
    int Inputs::*member;
    int low;
    int high;
};

struct SwitchField {
    bool Inputs::*member;
};

struct InputField {
    const char* key;
    std::variant<TextField, WholeNumberField, SwitchField> kind;
};

extern const std::array<InputField, 17> inputFields;

} // namespace kelvane::setup
