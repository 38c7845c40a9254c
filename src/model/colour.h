#pragma once
// Text colours of the plan displays, as plain RGB so that the model needs no toolkit.

#include <cstdio>
#include <string>

namespace kelvane {

struct Colour {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const Colour&, const Colour&) = default;

    // "#RRGGBB"
    std::string name() const {
        char text[8];
        std::snprintf(text, sizeof text, "#%02X%02X%02X", red & 0xFF, green & 0xFF, blue & 0xFF);
        return text;
    }
};

namespace colours {
inline constexpr Colour black{0, 0, 0};
inline constexpr Colour red{255, 0, 0};
inline constexpr Colour darkGreen{64, 128, 1};
inline constexpr Colour blue{0, 0, 255};
} // namespace colours

} // namespace kelvane
