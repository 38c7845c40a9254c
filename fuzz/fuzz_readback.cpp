// The read-back from an arbitrary answer of the board, into a window with an
// arbitrary reference text and a few doubler, R divider and multiplier
// settings: either one refusal line, or a restore that the window can
// recalculate into twelve words the board takes (eight hexadecimal digits
// each), which carry the restored R and output dividers and settings unchanged.
//
// Input: one byte for the window (bit 0 the doubler, bits 1-2 the R scroll bar,
// bits 3-4 the RF multiplier), the reference text up to the first line feed,
// then the answer.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/conversions.h"
#include "model/hex.h"
#include "model/readback.h"
#include "model/recalculation.h"

namespace {

// Bits `first` ... `first + count - 1` of a word.
int field(std::int64_t word, int first, int count) {
    return static_cast<int>((word >> first) & ((std::int64_t(1) << count) - 1));
}

void check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "fuzz_readback: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto referenceEnd = input.find('\n', 1);
    if (input.empty() || referenceEnd == std::string_view::npos) return 0;
    const unsigned settings = static_cast<unsigned char>(input[0]);
    static constexpr int rScroll[] = {1, 2, 4095, 4096};
    static constexpr const char* rfMult[] = {"1", "2", "16", "0.5"};
    kelvane::Inputs window;
    window.doubler = (settings & 1) != 0;
    window.r = rScroll[(settings >> 1) & 3];
    window.rfMult = rfMult[(settings >> 3) & 3];
    window.fr = std::string(input.substr(1, referenceEnd - 1));
    const std::string_view answer = input.substr(referenceEnd + 1);

    const auto outcome =
        kelvane::restoreFromAnswer(answer, window, kelvane::planVariablesFrom(window));
    if (const auto* refusal = std::get_if<kelvane::RestoreRefusal>(&outcome)) {
        const std::string& line = refusal->line;
        check(line.starts_with("Init from EE: ") && line.ends_with("; nothing changed"),
              "refusal line form");
        check(line.find_first_of("\r\n") == std::string::npos, "refusal in one line");
        return 0;
    }
    const auto& restore = std::get<kelvane::Restore>(outcome);
    // The window holds the restored R in its variable, with the doubler too.
    const kelvane::Inputs& after = restore.inputs;
    kelvane::PlanVariables variables = kelvane::planVariablesFrom(after);
    variables.r = restore.variables.r;
    const auto recalculated = kelvane::recalculate(after, variables);
    const auto* result = std::get_if<kelvane::Recalculation>(&recalculated);
    check(result != nullptr, "restored window recalculates");
    for (int address : kelvane::transferOrder)
        check(kelvane::hexWord(result->registers[address]).size() == 8, "eight-digit word");

    const auto& w = result->registers;
    // A reference below 0.5 MHz is subtracted from Reg4's fixed bits, as it is
    // for any plan the window forms from it; the divider field holds otherwise.
    if (std::floor(kelvane::val(window.fr) + 0.5) >= 0)
        check(field(w[4], 12, 6) == after.odiv, "output divider");
    check(field(w[3], 8, 5) == after.cpg, "charge pump gain");
    check(field(w[3], 13, 4) == after.mux, "mux");
    check(field(w[3], 17, 1) == (after.externalVco && after.cpp), "CPP");
    check(field(w[3], 18, 1) == after.doubler, "doubler");
    check(field(w[3], 20, 3) == after.order, "order");
    check(field(w[3], 23, 2) == after.dither, "dither");
    check(field(w[3], 4, 1) == after.externalVco, "external VCO");
    check(field(w[6], 6, 4) == after.divGain, "divider gain");
    check(field(w[6], 10, 4) == after.outTerm, "output termination");
    check(field(w[6], 14, 4) == after.vcoGain, "VCO gain");
    check(field(w[1], 4, 12) == restore.variables.r % 4096, "R divider");
    return 0;
}
