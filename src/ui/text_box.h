#pragma once
// Helpers for the multi-line boxes that show generated listings.

#include <QPlainTextEdit>
#include <string>

namespace kelvane::ui {

// A fixed-pitch font, so that the columns of a listing line up.
void useFixedPitch(QPlainTextEdit* box);

// Replaces the whole text of the box. The generated texts end their lines with
// CR LF; the box holds plain lines, and copying from it gives the platform's
// line ends.
void replaceText(QPlainTextEdit* box, const std::string& text);

} // namespace kelvane::ui
