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
        for (std::size_t i = 0; i < length && at < size; ++i) s.push_back(static_cast<char>(data[at++]));
        return s;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader in{data, size};
    kelvane::PlanInputs inputs;
    inputs.foText = in.text();
    inputs.frText = in.text();
    inputs.r = in.take<std::uint16_t>() % 4097;
    inputs.doubler = in.take<std::uint8_t>() & 1;
    inputs.odiv = 1 + in.take<std::uint8_t>() % 63;
    inputs.fvco = in.take<double>();
    inputs.fres = in.take<double>();
    inputs.rfMult = in.take<double>();
    if (!std::isfinite(inputs.fvco) || !std::isfinite(inputs.fres) || !std::isfinite(inputs.rfMult) ||
        inputs.fres == 0 || !(inputs.rfMult > 0))
        return 0; // the window never holds such values
    kelvane::LoopSettings settings;
    settings.chargePumpGain = in.take<std::uint8_t>() % 32;
    settings.mux = in.take<std::uint8_t>() % 14;
    settings.order = in.take<std::uint8_t>() % 5;

    const auto outcome = kelvane::recalculate(inputs, settings);
    if (const auto* result = std::get_if<kelvane::Recalculation>(&outcome)) {
        for (int address : kelvane::transferOrder) {
            const auto word = result->registers[address];
            if (word < -(std::int64_t(1) << 40) || word > (std::int64_t(1) << 40)) std::abort();
        }
        if (result->listing.size() < 6 * 44) std::abort();
    }
    return 0;
}
