#pragma once
// Comparing the register set the board keeps in its EEPROM with the words of a
// plan, without restoring anything.
//
// The stored set is asked for and read as the read-back does (model/readback.h):
// the board's answer to "init", each entry's word taken whole, all 32 bits,
// address nibble included. Each of the plan's twelve words is compared with the
// stored word of its address as the register line would carry it (8
// hexadecimal digits). Differences are listed in transfer order (7, 13, 12, 9,
// 8, 6, 5, 4, 3, 2, 1, 0), so the first named is the first the board is sent.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "model/readback.h"
#include "model/registers.h"

namespace kelvane {

struct WordDifference {
    int address = 0;
    std::optional<std::string> stored; // 8 hexadecimal digits; nothing when not stored
    std::string plan;                  // the plan's word as its register line carries it
};

struct EepromComparison {
    int compared = 0; // words of the plan compared: always the twelve
    std::vector<WordDifference> differences;
    bool matches() const { return differences.empty(); }
};

EepromComparison compareStoredSet(const StoredSet& stored, const RegisterImage& plan);

// "EEPROM matches the plan: 12 of 12 words", or "EEPROM differs from the plan:
// Reg3 stored 00A87313, plan 00A87303; Reg0 not stored".
std::string verdictLine(const EepromComparison& comparison);

// An answer that holds nothing to compare: one line saying so.
struct VerifyRefusal {
    std::string line;
};

// Compares the board's whole answer with the plan; an answer without a single
// register entry ("Verify EE: no answer from the board") is refused.
std::variant<EepromComparison, VerifyRefusal> verifyAnswer(std::string_view answer,
                                                           const RegisterImage& plan);

} // namespace kelvane
