// Safe display of arbitrary bytes: the shown text is valid UTF-8 without a
// control character (showing it again changes nothing), and a cut text holds
// at most the characters asked for.

#include <cstdint>
#include <cstdlib>

#include "model/display_text.h"

namespace {

std::size_t characters(const std::string& utf8) {
    std::size_t count = 0;
    for (char c : utf8)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string shown = kelvane::escapedText(bytes);
    if (kelvane::escapedText(shown) != shown) std::abort();
    for (char c : shown)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) std::abort();
    const std::size_t longest = size % 40;
    const std::string cut = kelvane::elidedText(bytes, longest);
    if (characters(cut) > std::max<std::size_t>(longest, 3)) std::abort();
    if (cut != shown && !cut.ends_with("...")) std::abort();
    return 0;
}
