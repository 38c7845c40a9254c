#pragma once
// Helpers for the multi-line boxes that show generated listings.

#include <QPlainTextEdit>
#include <string>

namespace kelvane::ui {

// A font in which every printable ASCII character (what the listings and the
// board's replies are made of) takes the same advance, so that the columns of
// a listing line up: the system's fixed-pitch font when it has that property,
// otherwise the first installed family that has it. Fontconfig's "fixed
// pitch" flag is not asked: some fonts whose letters and digits share one
// advance are not flagged so, and a flagged one may still differ.
QFont listingFont();
bool evenAdvance(const QFont& font);

// listingFont() for the box.
void useFixedPitch(QPlainTextEdit* box);

// Replaces the whole text of the box. The generated texts end their lines with
// CR LF; the box holds plain lines, and copying from it gives the platform's
// line ends.
void replaceText(QPlainTextEdit* box, const std::string& text);

} // namespace kelvane::ui
