// The setup reader over arbitrary bytes: either one refusal line naming the
// file, or a setup whose every input is within its control's range and which
// reads back the same after it is written out.

#include <cstdint>
#include <cstdlib>

#include "model/input_table.h"
#include "setup/setup_file.h"

using namespace kelvane::setup;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const SetupRead read = parseSetup(bytes, "fuzz.kelvane");
    if (const auto* error = std::get_if<SetupError>(&read)) {
        if (!error->message.startsWith("fuzz.kelvane: ") || error->message.contains('\n'))
            std::abort();
        return 0;
    }
    const Setup& setup = std::get<Setup>(read);
    for (const kelvane::InputSpec& input : kelvane::inputTable())
        if (const auto* number = std::get_if<int kelvane::Inputs::*>(&input.field))
            if (setup.inputs.*(*number) < input.low || setup.inputs.*(*number) > input.high)
                std::abort();
    const SetupRead again = parseSetup(setupText(setup, std::nullopt), "fuzz.kelvane");
    if (!std::holds_alternative<Setup>(again) || std::get<Setup>(again) != setup) std::abort();
    return 0;
}
