#pragma once
// The register image: the twelve words that program the chip (registers 0 to 9,
// 12 and 13), composed from the frequency plan and the loop and output settings.
// Every word carries its register address in bits 3..0.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "model/plan.h"

namespace kelvane {

// Words indexed by register address; 10 and 11 are not part of the image.
struct RegisterImage {
    std::array<std::int64_t, 14> word{};
    std::int64_t& operator[](int address) { return word.at(static_cast<std::size_t>(address)); }
    std::int64_t operator[](int address) const {
        return word.at(static_cast<std::size_t>(address));
    }
    friend bool operator==(const RegisterImage&, const RegisterImage&) = default;
};

// The order in which the words go to the chip, and in which they are listed.
inline constexpr std::array<int, 12> transferOrder{7, 13, 12, 9, 8, 6, 5, 4, 3, 2, 1, 0};

inline constexpr std::int64_t reg5Constant = 0xA0040005;
inline constexpr std::int64_t reg7Constant = 0x00000017;
inline constexpr std::int64_t reg8Constant = 0x0111CE58;
inline constexpr std::int64_t reg9Constant = 0x28001409;
inline constexpr std::int64_t reg12Constant = 0x0000001C;
// The words before their fields are added: the address and the bits the
// program never changes.
inline constexpr std::int64_t reg2FixedBits = 0x04000002;
inline constexpr std::int64_t reg3FixedBits = 0x00080003;
inline constexpr std::int64_t reg4FixedBits = 0xFF480004;
inline constexpr std::int64_t reg6FixedBits = 0x001C0026;
inline constexpr std::int64_t reg13Divided = 0xCD; // with an output divider above 1
inline constexpr std::int64_t reg13Undivided = 0x8D;
// hexWord() gives eight digits from here to 2^32 - 1.
inline constexpr std::int64_t lowestEightDigitWord = -4294967296;

// The three words that hold the division ratio; also used by the FSK generator
// with its own N, F and D.
std::int64_t composeReg0(std::int64_t n, std::int64_t fract);
std::int64_t composeReg1(std::int64_t r, std::int64_t n, std::int64_t fract);
std::int64_t composeReg2(std::int64_t denom);

// The whole image for a plan that calculatePlan() accepted from these inputs
// and variables. The charge pump polarity box counts whether it is shown or
// not; the window offers it only with the external VCO.
RegisterImage composeRegisters(const Plan& plan, const Inputs& inputs,
                               const PlanVariables& variables);

// Six lines of two words each, in transfer order, each ending in CR LF.
std::string registerListing(const RegisterImage& image);

// Words that fit in 32 bits: 0 ... 2^32 - 1, and the negative values a
// composition may give, which stand for the word plus 2^32. A larger word (a D
// of 2^28 or more puts Reg2 there) has no register line, no data-EEPROM
// declaration and no place in the chip.
bool fitsRegisterWord(std::int64_t word);

// The first word of the image, in transfer order, that does not fit in 32
// bits, in one line that names it and what to correct ("Reg2 = 3BDACA002 does
// not fit in 32 bits; correct the plan"); nothing when every word fits.
std::optional<std::string> wordBeyond32Bits(const RegisterImage& image);

} // namespace kelvane
