#include "window_text/control_help.h"

#include <utility>

#include "model/input_table.h"

namespace kelvane {
namespace {

// The inputs' help is in the input table.
constexpr std::pair<std::string_view, std::string_view> helpTexts[] = {
    // Plan displays.
    {"Fv", "VCO frequency in MHz: the output frequency times the output divider, divided by the "
           "RF multiplication.\nThe chip's VCO covers 1900 to 4000 MHz."},
    {"Fc", "Comparison frequency at the phase detector in kHz: the reference divided by R, "
           "doubled with the doubler."},
    {"Dn", "Fractional denominator D (register 2).\nRed when it is 4194304 or more: it no longer "
           "fits its 22-bit field; choose a coarser resolution."},
    {"Frlabel", "Fractional numerator F (registers 0 and 1)."},
    {"Nlabel", "Integer division ratio N (registers 0 and 1)."},
    {"StepLbl", "Step of the VCO in Hz while the output divider is above 1."},
    {"OPerr", "Output frequency error in Hz: what N, F and D give minus the wanted output."},
    {"ChipType", "Variants of the chip whose VCO covers the VCO frequency; \"Invalid Frequency "
                 "Range\" outside 1900 to 4000 MHz."},
    {"VcoCoverage", "VCO ranges of the chip's variants, with a marker at the VCO frequency (red "
                    "outside 1900 to 4000 MHz)."},
    {"Rlabel", "Reference divider R in use."},
    {"ODivlabel", "Output divider in use."},
    {"Text1", "The twelve register words in hexadecimal, in the order they are sent.\nThe "
              "board's replies appear here during a transfer."},
    // Board link, stepping, FSK and export.
    {"CPNo", "Serial port: its number in the list this tooltip shows when the mouse rests here, "
             "or a device such as /dev/ttyUSB0 or COM3. Enter opens it."},
    {"SetCP", "Opens the serial port at 9600 baud, 8 data bits, no parity, 2 stop bits; once "
              "open, closes it (Ctrl+Shift+P), stopping a sweep first."},
    {"Update", "Sends all twelve register words to the board (F5)."},
    {"QuickUpdate", "Sends only the frequency words, registers 2, 1 and 0 (F6)."},
    {"StoreEE", "Sends all twelve words and stores each in the board's EEPROM (Ctrl+Shift+E)."},
    {"Init", "Reads the set stored in the board's EEPROM back into the window (Ctrl+Shift+I)."},
    {"VerifyEE", "Compares the set stored in the board's EEPROM with the words of the plan shown; "
                 "changes nothing (Ctrl+Shift+V)."},
    {"ChgWSJT", "WSJT digital mode: sets the resolution to the mode's tone spacing."},
    {"WSJT", "The mode whose tone spacing is the resolution."},
    {"QStepUp", "Steps the output up by the resolution and sends the frequency words (Ctrl+Up)."},
    {"QStepDn", "Steps the output down by the resolution and sends the frequency words "
                "(Ctrl+Down)."},
    {"Reg2FSK", "Opens the FSK generator: denominators that shift the output by rewriting "
                "register 2 alone."},
    {"Export", "Shows the register set as PIC assembler text for firmware source."},
    // Calibrate Reference and Sweep dialogs.
    {"Measured", "The output frequency a counter measured at the final output, MHz."},
    {"Achieved", "The output the plan's words give with the nominal reference, MHz."},
    {"From", "First output frequency of the sweep, MHz."},
    {"To", "Last output frequency of the sweep, MHz; included when a whole number of steps "
           "reaches it."},
    {"Step", "Step between frequencies, MHz; negative to sweep down."},
    {"Dwell", "Time to stay at each frequency after its words are sent, ms."},
    {"Repeat", "How many times the sweep runs."},
    {"Forever", "Run the sweep again and again until Stop."},
    {"Start", "Plans the whole sweep, then sends it: nothing is sent when one frequency cannot "
              "be."},
    {"Stop", "Stops after the frequency being sent; the board stays there."},
};

} // namespace

std::string_view controlHelp(std::string_view objectName) {
    if (const InputSpec* input = findInputControl(objectName)) return input->tooltip;
    for (const auto& [name, text] : helpTexts)
        if (name == objectName) return text;
    return {};
}

} // namespace kelvane
