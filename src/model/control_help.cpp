#include "model/control_help.h"

#include <utility>

namespace kelvane {
namespace {

constexpr std::pair<std::string_view, std::string_view> helpTexts[] = {
    // Frequency-plan inputs.
    {"Fo", "Wanted output frequency in MHz, at the final output (after the output divider and the "
           "RF multiplication).\nSets N and F in registers 0 and 1 through the VCO frequency."},
    {"Fr", "Reference input frequency in MHz.\nWith R and the doubler it gives the comparison "
           "frequency; register 4 carries it in whole MHz (up to 255)."},
    {"Res", "Wanted step at the final output in Hz, which sets the denominator D in register 2.\n"
            "D must stay below 4194304: a finer resolution turns D red.\nClicking here names the "
            "step \"MFSK Mode\"."},
    {"RFMultText",
     "Factor of a frequency multiplier after the board, such as 4 for a x4 "
     "multiplier; above 0.\nThe VCO then runs at the output frequency divided by it."},
    {"Rscroll", "Reference divider R, 1 to 4096.\n"
                "Sets the R field of register 1."},
    {"RefDbl", "Doubles the reference before the phase detector; R is then fixed at 1.\nSets the "
               "doubler bit of register 3."},
    {"Odiv", "Output divider, 1 to 63.\nSets the divider field of register 4 and register 13. "
             "Quick Freq Update is off after a change until Update all registers."},
    {"LockFo", "Checked: a new output divider keeps the output frequency and moves the VCO.\n"
               "Clear: the VCO stays and the output frequency follows the divider."},
    {"ExtVCO", "An external VCO drives the chip; offers the charge pump polarity.\nSets the "
               "external-VCO bit of register 3."},
    // Loop and output settings.
    {"CPGscroll",
     "Charge pump gain, 1 to 32 (setting 0 to 31).\nSets the gain field of register 3."},
    {"CPP", "Charge pump polarity for an external VCO: checked is positive.\nSets the polarity "
            "bit of register 3."},
    {"Dither", "Delta-sigma modulator dither: weak, medium, strong or none.\nSets the dither "
               "field of register 3."},
    {"Order", "Delta-sigma modulator order, 0 to 4.\nSets the order field of register 3."},
    {"Mux", "Signal on the multiplexed output pin, 14 choices from the lock detects to the "
            "divider outputs.\nSets the mux field of register 3."},
    {"OutTerm", "Output termination setting, 0 to 15.\nSets its field of register 6."},
    {"VcoGain", "VCO gain setting, 0 to 15.\nSets its field of register 6."},
    {"DivGain", "Divider gain setting, 0 to 15.\nSets its field of register 6."},
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
    for (const auto& [name, text] : helpTexts)
        if (name == objectName) return text;
    return {};
}

} // namespace kelvane
