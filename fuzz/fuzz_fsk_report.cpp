// The FSK report from arbitrary plan values and shift texts: either the
// thirteen-line report, with every word declared in four bytes, or one line
// saying what to correct. Nothing divides by zero or overflows on the way.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "model/conversions.h"
#include "modes/fsk_report.h"

namespace {

template <typename T> T take(const std::uint8_t*& data, std::size_t& size) {
    T value{};
    if (size >= sizeof value) {
        std::memcpy(&value, data, sizeof value);
        data += sizeof value;
        size -= sizeof value;
    }
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kelvane::Inputs in;
    kelvane::PlanVariables variables;
    kelvane::Plan plan;
    variables.fvco = take<double>(data, size);
    plan.fcomp = take<double>(data, size);
    plan.denom = take<double>(data, size);
    variables.r = take<std::uint16_t>(data, size) % 4097;
    in.rfMult = kelvane::str(take<double>(data, size));
    in.odiv = take<std::uint8_t>(data, size) % 64;
    in.res = kelvane::str(take<double>(data, size));
    const std::string shift(reinterpret_cast<const char*>(data), size);

    const kelvane::GeneratedText report = kelvane::fskReport(in, variables, plan, shift);
    if (report.ok) {
        std::size_t lines = 0;
        for (std::size_t at = report.text.find("\r\n"); at != std::string::npos;
             at = report.text.find("\r\n", at + 2))
            ++lines;
        if (lines != 13 || report.text.find("   de  0x") == std::string::npos) std::abort();
    } else if (report.text.empty() || report.text.find_first_of("\r\n") != std::string::npos) {
        std::abort();
    }
    return 0;
}
