#include "modes/beacon_texts.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "model/hex.h"

namespace kelvane::beacon {
namespace {

std::string number(double value, const char* format = "%g") {
    char text[48];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::optional<double> cellNumber(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    const double value = std::strtod(begin, &end);
    while (end && *end == ' ')
        ++end;
    if (end == begin || (end && *end != '\0') || !std::isfinite(value)) return std::nullopt;
    return value;
}

} // namespace

Sequence presetSequence(int preset, const std::string& call, const std::string& locator) {
    switch (preset) {
    case 0:
        return mixedSequence(call, locator);
    case 1:
        return singleElement(Mode::Wspr, call + " " + locator.substr(0, 4) + " 30");
    case 2:
        return singleElement(Mode::Jt4, call + " " + locator.substr(0, 4));
    default:
        return singleElement(Mode::Pi4, call);
    }
}

std::vector<ElementCells> elementCells(const Sequence& sequence) {
    std::vector<ElementCells> rows;
    for (const auto& e : sequence.elements) {
        ElementCells cells{modeName(e.mode), e.message, number(e.startSecond), "", "", "", ""};
        if (e.mode == Mode::Cw) {
            cells[3] = number(e.wpm);
            cells[4] = number(e.shiftHz);
        }
        if (e.mode == Mode::Jt4) cells[5] = std::string(1, e.jt4Submode);
        if (e.mode == Mode::Carrier) cells[6] = number(e.untilSecond);
        rows.push_back(cells);
    }
    return rows;
}

std::variant<Sequence, std::string> sequenceFromCells(const std::vector<ElementCells>& rows,
                                                      double periodSeconds) {
    Sequence sequence;
    sequence.periodSeconds = periodSeconds;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto& cells = rows[r];
        const std::string where = "Element " + std::to_string(r + 1) + ", ";
        Element element;
        const auto mode = modeFromName(cells[0]);
        if (!mode) return where + "Mode: give pi4, jt4, wspr, cw or carrier";
        element.mode = *mode;
        element.message = cells[1];
        struct Needed {
            std::size_t column;
            double Element::*member;
            bool needed;
        };
        const Needed numbers[] = {{2, &Element::startSecond, true},
                                  {3, &Element::wpm, *mode == Mode::Cw},
                                  {4, &Element::shiftHz, *mode == Mode::Cw},
                                  {6, &Element::untilSecond, *mode == Mode::Carrier}};
        if (*mode == Mode::Carrier) element.untilSecond = periodSeconds;
        for (const auto& n : numbers) {
            // An empty cell keeps the default: 12 WPM, -400 Hz, until the period's end.
            if (!n.needed || (n.column != 2 && cells[n.column].empty())) continue;
            const auto value = cellNumber(cells[n.column]);
            if (!value)
                return where + elementColumns[n.column] + ": \"" + cells[n.column] +
                       "\" is no number";
            element.*n.member = *value;
        }
        if (*mode == Mode::Jt4 && !cells[5].empty()) {
            if (cells[5].size() > 1) return where + "Sub-mode: give one letter A to G";
            element.jt4Submode =
                static_cast<char>(std::toupper(static_cast<unsigned char>(cells[5][0])));
        }
        sequence.elements.push_back(element);
    }
    return sequence;
}

std::vector<std::array<std::string, 6>> toneRows(const TonePlan& plan) {
    std::vector<std::array<std::string, 6>> rows;
    for (const auto& tone : plan.tones)
        rows.push_back({tone.name, number(tone.offsetHz, "%.4f"),
                        number(tone.achievedOffsetHz, "%.4f"), number(tone.errorHz, "%.4f"),
                        std::to_string(tone.d), hexWord(tone.reg2)});
    return rows;
}

std::string countdownText(double seconds) {
    const auto whole = static_cast<long long>(std::ceil(std::max(0.0, seconds)));
    char text[48];
    std::snprintf(text, sizeof text, "Next start in %lld:%02lld", whole / 60, whole % 60);
    return text;
}

} // namespace kelvane::beacon
