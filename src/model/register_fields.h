#pragma once
// Where each value lies in the chip's register words: the register, its lowest
// bit and its width. Composing a word and reading a stored word back both go
// through this one map. Bits 3..0 of every word hold its register address.
//
// N and F are wider than one field each: N's low 12 bits go to register 0 and
// the bits above to register 1, F's low 16 bits to register 0 and the bits
// above to register 1.

#include <cstdint>

namespace kelvane {

struct RegisterField {
    int address;
    int shift; // the field's lowest bit in the word
    int width;

    // One above the largest value the field holds: 2^width.
    constexpr std::int64_t span() const { return std::int64_t{1} << width; }
    // The value at its place in the word. Not cut to the field: a value too
    // wide runs into the bits above, where the word shows it as it is.
    constexpr std::int64_t placed(std::int64_t value) const {
        return value * (std::int64_t{1} << shift);
    }
    // The field's value in a whole word.
    constexpr std::uint32_t readFrom(std::uint32_t word) const {
        return static_cast<std::uint32_t>((word >> shift) & (span() - 1));
    }
};

namespace fields {

inline constexpr RegisterField nLow{0, 4, 12};
inline constexpr RegisterField fractLow{0, 16, 16};
inline constexpr RegisterField rDivider{1, 4, 12};
inline constexpr RegisterField nHigh{1, 16, 6};
inline constexpr RegisterField fractHigh{1, 22, 6};
inline constexpr RegisterField denominator{2, 4, 22};
inline constexpr RegisterField externalVco{3, 4, 1};
inline constexpr RegisterField chargePumpGain{3, 8, 5};
inline constexpr RegisterField mux{3, 13, 4};
inline constexpr RegisterField chargePumpPolarity{3, 17, 1};
inline constexpr RegisterField doubler{3, 18, 1};
inline constexpr RegisterField order{3, 20, 3};
inline constexpr RegisterField dither{3, 23, 2};
inline constexpr RegisterField referenceMhz{4, 4, 8};
inline constexpr RegisterField outputDivider{4, 12, 6};
inline constexpr RegisterField divGain{6, 6, 4};
inline constexpr RegisterField outTerm{6, 10, 4};
inline constexpr RegisterField vcoGain{6, 14, 4};

} // namespace fields

// D must stay below this to fit register 2: 2^22, 4194304.
inline constexpr std::int64_t denominatorLimit = fields::denominator.span();
// Register 4 carries the reference in whole MHz, up to this.
inline constexpr std::int64_t highestReferenceMhz = fields::referenceMhz.span() - 1;

} // namespace kelvane
