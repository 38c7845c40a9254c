#include "model/setting_captions.h"

#include "model/conversions.h"

namespace kelvane {
namespace {

template <std::size_t Size>
std::optional<std::string> tableText(const std::array<const char*, Size>& table, int value) {
    if (value < 0 || static_cast<std::size_t>(value) >= Size) return std::nullopt;
    return table[static_cast<std::size_t>(value)];
}

} // namespace

std::string chargePumpGainCaption(int value) {
    return str(value + 1);
}

std::string chargePumpPolarityCaption(bool positive) {
    return positive ? "+ CPP" : "-- CPP";
}

std::optional<std::string> ditherCaption(int value) {
    return tableText(ditherCaptions, value);
}

std::optional<std::string> muxCaption(int value) {
    return tableText(muxCaptions, value);
}

std::string orderCaption(int value) {
    return "Order " + str(value);
}

std::string outTermCaption(int value) {
    return str(value) + " Out Term";
}

std::string vcoGainCaption(int value) {
    return str(value) + " VCO Gain";
}

std::string divGainCaption(int value) {
    return str(value) + " Div Gain";
}

} // namespace kelvane
