#pragma once
// A text generated for the user to copy, or the reason it cannot be generated.

#include <string>

namespace kelvane {

struct GeneratedText {
    // false when the inputs leave the text undefined; text is then one line,
    // without a line end, that says what to correct.
    bool ok = true;
    std::string text; // CR LF line ends, the last line included
};

} // namespace kelvane
