#pragma once
// Text that came from outside (a file, the board, the command line) made safe
// to put on a terminal or into a window caption. An ESC sequence in a setup
// name must not clear a screen, a NUL must not cut a line short, and bytes
// that are no UTF-8 must not reach a terminal as they came.

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvane {

// Control characters written out as C does: "\0", "\t", "\n", "\r", other
// C0 bytes and DEL as "\x1b", "\x7f"; the C1 controls (U+0080 to U+009F),
// which some terminals obey too, as "\u009b". Bytes that are no UTF-8 become
// U+FFFD, one per byte. Everything else is kept as it is.
std::string escapedText(std::string_view bytes);

// escapedText() cut to at most `longest` characters (code points), the cut
// marked by "...": for a window caption that a long name must not widen.
std::string elidedText(std::string_view bytes, std::size_t longest);

} // namespace kelvane
