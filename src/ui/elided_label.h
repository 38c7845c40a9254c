#pragma once
// A status line that never widens its window: a text longer than the room it
// is given ends in "..." on screen, and its tooltip holds the whole line. Its
// text() stays whole.

class QLabel;

namespace kelvane::ui {

void elideWhenLong(QLabel* label);

} // namespace kelvane::ui
