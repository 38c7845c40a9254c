#pragma once
// Every input a user sets, once: its key (the setup file's key and kelvanectl's
// option), the field of Inputs it fills (which gives its kind and start value),
// the range of a whole number, kelvanectl's help for it, the tooltip and object
// name of the window's control, and when the window sets it among the others.
// kelvanectl's options, the setup reader and writer, the tooltips and the
// window's input wiring are all built from this table; an input added here
// needs only its handler in the window besides.

#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "model/inputs.h"

namespace kelvane {

// A text box, a scroll bar or a check box.
using InputField = std::variant<std::string Inputs::*, int Inputs::*, bool Inputs::*>;

struct InputSpec {
    std::string_view key;
    InputField field;
    int low = 0; // whole numbers: the control's range
    int high = 0;
    // kelvanectl's help, in the words a user knows the input by; the start
    // value and the range are added to it.
    std::string_view optionHelp;
    std::string_view objectName;
    std::string_view tooltip;
    // Text boxes: how a hint names the box ("Output Freq: ... is read as ...").
    std::string_view hintName = {};
    // A check box that counts, and is offered, only while this one is checked.
    std::string_view offeredWith = {};
    // When the window sets it from a setup: lower steps first, the table's
    // order within a step. A fix comes before the divider it governs, and the
    // output frequency last, so that the divider's rewrite of Fo gives way to it.
    int applyStep = 0;

    bool isText() const { return std::holds_alternative<std::string Inputs::*>(field); }
    bool isWholeNumber() const { return std::holds_alternative<int Inputs::*>(field); }
    bool isSwitch() const { return std::holds_alternative<bool Inputs::*>(field); }
};

// In the order of the setup file and of kelvanectl's help.
std::span<const InputSpec> inputTable();

// The entry of this key or of this control; nothing for any other.
const InputSpec* findInput(std::string_view key);
const InputSpec* findInputControl(std::string_view objectName);

// The entry of the check box that must be checked for this one to count, if any.
const InputSpec* offeringInput(const InputSpec& input);

// The inputs in the order the window sets them.
std::span<const InputSpec* const> inputsInApplyOrder();

} // namespace kelvane
