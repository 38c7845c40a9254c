#pragma once
// A beacon sequence: elements placed in a period of UTC, each sent from its
// start second, and the timetable of tone changes they make. The board stays
// on the carrier between elements, so every encoded element ends with a
// change back to the carrier.
//
// The one-minute mixed sequence of "OZ7IGY" in "JO55WM", as keyed:
//   second  0.000  PI4 symbol 0 ... 145 every 1/6 s, carrier at 24.333
//   second 25.000  CW "OZ7IGY JO55WM" at 12 WPM: key down the carrier,
//                  key up the carrier moved by the shift
//   second 25 + CW + 0.5  the carrier until second 59.5

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "modes/beacon_encoders.h"

namespace kelvane::beacon {

enum class Mode { Pi4, Jt4, Wspr, Cw, Carrier };

struct Element {
    Mode mode = Mode::Pi4;
    std::string message;    // not used by the carrier
    double startSecond = 0; // from the start of the period
    char jt4Submode = 'A';  // JT4 only
    double wpm = 12;        // CW only
    double shiftHz = -400;  // CW only: key up on the carrier moved by this
    double untilSecond = 0; // carrier only: where it ends in the period
    friend bool operator==(const Element&, const Element&) = default;
};

struct Sequence {
    double periodSeconds = 60;
    std::vector<Element> elements;
    friend bool operator==(const Sequence&, const Sequence&) = default;
};

// "pi4", "jt4", "wspr", "cw", "carrier" and back.
std::string modeName(Mode mode);
std::optional<Mode> modeFromName(std::string_view name);
// "PI4", "JT4A", "WSPR", "CW", "Carrier": how an element's mode is shown.
std::string modeCaption(const Element& element);

// One element at the start of the period: second 0, or second 1 for JT4 and
// WSPR; WSPR takes a 120 s period.
Sequence singleElement(Mode mode, const std::string& message, char jt4Submode = 'A',
                       double wpm = 12, double shiftHz = -400);
// PI4 of the call at second 0, CW of call and locator at second 25, the
// carrier from half a second after the CW until second 59.5.
Sequence mixedSequence(const std::string& call, const std::string& locator, double wpm = 12,
                       double shiftHz = -400);

// The tones a sequence's lines choose from, by what they are: the carrier
// (also CW key down), a mode's tone k, or CW key up.
struct ToneKey {
    Mode mode = Mode::Carrier; // Pi4, Jt4, Wspr; Cw for key up; Carrier
    int tone = 0;
    friend bool operator==(const ToneKey&, const ToneKey&) = default;
};

// One register line of the timetable: at this second of the period the
// output goes to this tone.
struct KeyedLine {
    double second = 0;
    ToneKey tone;
    std::size_t element = 0;
    int symbol = -1; // the channel symbol's index, or -1 (CW, carrier)
};

struct Timetable {
    std::vector<KeyedLine> lines; // in time order
    std::vector<double> elementEnds;
};

struct SequenceRefusal {
    std::string line;
};

// Encodes every element and lays its lines out in the period. Refused, in one
// line naming the element and the rule: a message the mode cannot carry, an
// element that starts before the previous one ends or runs beyond the period,
// a JT4 sub-mode outside A-G, a CW speed whose dot is shorter than
// `shortestGap` (two lines may not be closer than a line and its pause), or
// two lines closer than that anywhere else.
std::variant<Timetable, SequenceRefusal> layOut(const Sequence& sequence, double shortestGap);

// The symbols an element sends as tone numbers (empty for CW and the carrier).
Encoded elementSymbols(const Element& element);
double symbolSeconds(Mode mode);

} // namespace kelvane::beacon
