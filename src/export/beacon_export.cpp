#include "export/beacon_export.h"

#include <cstdio>

#include "export/ee_hex_data.h"
#include "model/hex.h"

namespace kelvane::beacon {
namespace {

std::string printed(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

struct ElementTones {
    std::string heading;
    std::vector<int> indices;
};

std::size_t toneIndex(const TonePlan& plan, const ToneKey& key) {
    for (std::size_t i = 0; i < plan.tones.size(); ++i)
        if (plan.tones[i].key == key) return i;
    return 0;
}

// Each element's tones as indices into the plan's table, and its comment.
std::vector<ElementTones> elementTones(const Sequence& sequence, const TonePlan& plan) {
    std::vector<ElementTones> result;
    for (std::size_t e = 0; e < sequence.elements.size(); ++e) {
        const Element& element = sequence.elements[e];
        ElementTones tones;
        std::string heading = "Element " + std::to_string(e + 1) + ": " + modeCaption(element);
        if (element.mode != Mode::Carrier) heading += " \"" + element.message + "\"";
        heading += " from second " + printed("%.3f", element.startSecond);
        if (element.mode == Mode::Cw) {
            const auto keying = encodeCw(element.message);
            for (const auto& span : std::get<std::vector<KeySpan>>(keying))
                tones.indices.insert(
                    tones.indices.end(), static_cast<std::size_t>(span.dots),
                    static_cast<int>(toneIndex(plan, span.down ? ToneKey{Mode::Carrier, 0}
                                                               : ToneKey{Mode::Cw, 0})));
            heading += ", " + std::to_string(tones.indices.size()) + " dots of " +
                       printed("%.6f", cwDotSeconds(element.wpm)) + " s (" +
                       printed("%g", element.wpm) + " WPM)";
        } else if (element.mode == Mode::Carrier) {
            tones.indices.push_back(0);
            heading += " until second " + printed("%.3f", element.untilSecond);
        } else {
            const Encoded encoded = elementSymbols(element);
            for (int symbol : std::get<Symbols>(encoded))
                tones.indices.push_back(
                    static_cast<int>(toneIndex(plan, ToneKey{element.mode, symbol})));
            heading += ", " + std::to_string(tones.indices.size()) + " symbols of " +
                       printed("%.6f", symbolSeconds(element.mode)) + " s";
        }
        tones.heading = heading;
        result.push_back(tones);
    }
    return result;
}

std::string header(const Sequence& sequence, const TonePlan& plan, const char* comment) {
    const std::string c = comment;
    return c + "Beacon keying set: carrier " + printed("%.3f", plan.carrierHz) + " Hz for " +
           printed("%.3f", plan.wantedHz) + " Hz, N = " + std::to_string(plan.n) +
           ", F = " + std::to_string(plan.f) + "\r\n" + c + "Period " +
           printed("%g", sequence.periodSeconds) +
           " s of UTC; each entry's tone goes out at its symbol boundary, the carrier after "
           "each element\r\n";
}

std::string picText(const Sequence& sequence, const TonePlan& plan) {
    std::string text = header(sequence, plan, "; ");
    text += "; Keying set, transfer order\r\n";
    for (int address : transferOrder)
        text += eeHexData(plan.registers[address]) + "   ;Reg" + std::to_string(address) + "\r\n";
    text += "; Reg2 per tone\r\n";
    for (std::size_t i = 0; i < plan.tones.size(); ++i)
        text += eeHexData(plan.tones[i].reg2) + "   ;" + std::to_string(i) + " " +
                plan.tones[i].name + "\r\n";
    for (const auto& element : elementTones(sequence, plan)) {
        text += "; " + element.heading + "\r\n";
        for (std::size_t i = 0; i < element.indices.size(); i += 16) {
            text += "   de  ";
            for (std::size_t j = i; j < element.indices.size() && j < i + 16; ++j)
                text += (j > i ? ", " : "") + std::to_string(element.indices[j]);
            text += "\r\n";
        }
    }
    return text;
}

std::string cText(const Sequence& sequence, const TonePlan& plan) {
    std::string text = header(sequence, plan, "// ");
    text += "#include <stdint.h>\r\n\r\n// Keying set, transfer order\r\n";
    text += "static const uint32_t beacon_keying_set[12] = {";
    for (std::size_t i = 0; i < transferOrder.size(); ++i)
        text += (i ? ", 0x" : "0x") + hexWord(plan.registers[transferOrder[i]]);
    text += "};\r\n\r\n// Reg2 per tone:";
    for (std::size_t i = 0; i < plan.tones.size(); ++i)
        text += " " + std::to_string(i) + " " + plan.tones[i].name +
                (i + 1 < plan.tones.size() ? "," : "");
    text += "\r\nstatic const uint32_t beacon_reg2[" + std::to_string(plan.tones.size()) + "] = {";
    for (std::size_t i = 0; i < plan.tones.size(); ++i)
        text += (i ? ", 0x" : "0x") + hexWord(plan.tones[i].reg2);
    text += "};\r\n";
    int number = 1;
    for (const auto& element : elementTones(sequence, plan)) {
        const std::string name = "beacon_element" + std::to_string(number++);
        text += "\r\n// " + element.heading + "\r\nstatic const uint8_t " + name + "[" +
                std::to_string(element.indices.size()) + "] = {";
        for (std::size_t i = 0; i < element.indices.size(); ++i)
            text += (i == 0        ? ""
                     : i % 24 == 0 ? ",\r\n    "
                                   : ", ") +
                    std::to_string(element.indices[i]);
        text += "};\r\n";
    }
    return text;
}

} // namespace

std::string exportBeacon(const Sequence& sequence, const TonePlan& plan, ExportFormat format) {
    return format == ExportFormat::Pic ? picText(sequence, plan) : cText(sequence, plan);
}

} // namespace kelvane::beacon
