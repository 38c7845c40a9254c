// One recalculation from arbitrary inputs: a plan is either refused or every
// word of it is composed within the range the plan's checks allow.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "model/recalculation.h"

namespace {

struct Reader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;

    template <typename T> T take() {
        T value{};
        if (at + sizeof value <= size) std::memcpy(&value, data + at, sizeof value);
        at += sizeof value;
        return value;
    }
    std::string text() {
        const std::size_t length = take<std::uint8_t>() % 24;
        std::string s;
        for (std::size_t i = 0; i < length && at < size; ++i)
            s.push_back(static_cast<char>(data[at++]));
        return s;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader in{data, size};
    kelvane::Inputs inputs;
    kelvane::PlanVariables variables;
    inputs.fo = in.text();
    inputs.fr = in.text();
    variables.r = in.take<std::uint16_t>() % 4097;
    inputs.doubler = in.take<std::uint8_t>() & 1;
    inputs.odiv = 1 + in.take<std::uint8_t>() % 63;
    variables.fvco = in.take<double>();
    variables.fres = in.take<double>();
    variables.rfMult = in.take<double>();
    if (!std::isfinite(variables.fvco) || !std::isfinite(variables.fres) ||
        !std::isfinite(variables.rfMult) || variables.fres == 0 || !(variables.rfMult > 0))
        return 0; // the window never holds such values
    inputs.cpg = in.take<std::uint8_t>() % 32;
    inputs.mux = in.take<std::uint8_t>() % 14;
    inputs.order = in.take<std::uint8_t>() % 5;

    const auto outcome = kelvane::recalculate(inputs, variables);
    if (const auto* result = std::get_if<kelvane::Recalculation>(&outcome)) {
        for (int address : kelvane::transferOrder) {
            const auto word = result->registers[address];
            if (word < -(std::int64_t(1) << 40) || word > (std::int64_t(1) << 40)) std::abort();
        }
        if (result->listing.size() < 6 * 44) std::abort();
    }
    return 0;
}
