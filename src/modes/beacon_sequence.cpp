#include "modes/beacon_sequence.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kelvane::beacon {
namespace {

std::string seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

std::string elementName(std::size_t index, const Element& element) {
    return "Element " + std::to_string(index + 1) + " (" + modeCaption(element) + ")";
}

} // namespace

std::string modeName(Mode mode) {
    switch (mode) {
    case Mode::Pi4:
        return "pi4";
    case Mode::Jt4:
        return "jt4";
    case Mode::Wspr:
        return "wspr";
    case Mode::Cw:
        return "cw";
    case Mode::Carrier:
        return "carrier";
    }
    return {};
}

std::optional<Mode> modeFromName(std::string_view name) {
    for (Mode mode : {Mode::Pi4, Mode::Jt4, Mode::Wspr, Mode::Cw, Mode::Carrier})
        if (modeName(mode) == name) return mode;
    return std::nullopt;
}

std::string modeCaption(const Element& element) {
    switch (element.mode) {
    case Mode::Pi4:
        return "PI4";
    case Mode::Jt4:
        return std::string("JT4") + element.jt4Submode;
    case Mode::Wspr:
        return "WSPR";
    case Mode::Cw:
        return "CW";
    case Mode::Carrier:
        return "Carrier";
    }
    return {};
}

double symbolSeconds(Mode mode) {
    switch (mode) {
    case Mode::Pi4:
        return pi4SymbolSeconds;
    case Mode::Jt4:
        return jt4SymbolSeconds;
    case Mode::Wspr:
        return wsprSymbolSeconds;
    default:
        return 0;
    }
}

Sequence singleElement(Mode mode, const std::string& message, char jt4Submode, double wpm,
                       double shiftHz) {
    // Each element carries only its own mode's settings, as a setup file holds it.
    Element element{mode,
                    message,
                    0,
                    mode == Mode::Jt4 ? jt4Submode : 'A',
                    mode == Mode::Cw ? wpm : 12,
                    mode == Mode::Cw ? shiftHz : -400,
                    0};
    Sequence sequence;
    if (mode == Mode::Jt4 || mode == Mode::Wspr) element.startSecond = 1;
    if (mode == Mode::Wspr) sequence.periodSeconds = 120;
    if (mode == Mode::Carrier) element.untilSecond = sequence.periodSeconds;
    sequence.elements.push_back(element);
    return sequence;
}

Sequence mixedSequence(const std::string& call, const std::string& locator, double wpm,
                       double shiftHz) {
    Sequence sequence;
    sequence.elements.push_back({Mode::Pi4, call, 0, 'A', 12, -400, 0});
    const Element cw{Mode::Cw, call + " " + locator, 25, 'A', wpm, shiftHz, 0};
    sequence.elements.push_back(cw);
    double carrierStart = 25;
    const auto keying = encodeCw(cw.message);
    if (const auto* spans = std::get_if<std::vector<KeySpan>>(&keying)) {
        int dots = 0;
        for (const auto& span : *spans)
            dots += span.dots;
        // To the millisecond, as a user would write it into a setup file.
        carrierStart = std::round((carrierStart + dots * cwDotSeconds(wpm) + 0.5) * 1000) / 1000;
    }
    sequence.elements.push_back({Mode::Carrier, "", carrierStart, 'A', 12, -400, 59.5});
    return sequence;
}

Encoded elementSymbols(const Element& element) {
    switch (element.mode) {
    case Mode::Pi4:
        return encodePi4(element.message);
    case Mode::Jt4:
        return encodeJt4(element.message);
    case Mode::Wspr:
        return encodeWspr(element.message);
    default:
        return Symbols{};
    }
}

std::variant<Timetable, SequenceRefusal> layOut(const Sequence& sequence, double shortestGap) {
    if (!(sequence.periodSeconds >= 1 && sequence.periodSeconds <= 3600))
        return SequenceRefusal{"Period: " + seconds(sequence.periodSeconds) +
                               " s; a period lasts 1 to 3600 s"};
    if (sequence.elements.empty())
        return SequenceRefusal{"Elements: none; a sequence needs at least one element"};

    std::vector<std::size_t> order(sequence.elements.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return sequence.elements[a].startSecond < sequence.elements[b].startSecond;
    });

    Timetable table;
    table.elementEnds.resize(sequence.elements.size());
    double previousEnd = 0;
    std::size_t previous = order.front();
    for (std::size_t index : order) {
        const Element& element = sequence.elements[index];
        const std::string name = elementName(index, element);
        const double start = element.startSecond;
        if (!(start >= 0))
            return SequenceRefusal{name + ": start second " + seconds(start) +
                                   "; an element starts at second 0 or later"};
        std::vector<KeyedLine> lines;
        double end = start;
        if (element.mode == Mode::Cw) {
            if (!(element.wpm > 0 && cwDotSeconds(element.wpm) >= shortestGap))
                return SequenceRefusal{
                    name + ": " + seconds(element.wpm) +
                    " WPM gives a dot shorter than a line "
                    "and its pause (" +
                    seconds(shortestGap) + " s); send CW at " +
                    std::to_string(static_cast<int>(std::floor(1.2 / shortestGap))) +
                    " WPM or slower"};
            const auto keying = encodeCw(element.message);
            if (const auto* refusal = std::get_if<EncodeRefusal>(&keying))
                return SequenceRefusal{name + ": " + refusal->line};
            const double dot = cwDotSeconds(element.wpm);
            int dots = 0;
            for (const auto& span : std::get<std::vector<KeySpan>>(keying)) {
                lines.push_back({start + dots * dot,
                                 span.down ? ToneKey{Mode::Carrier, 0} : ToneKey{Mode::Cw, 0},
                                 index, -1});
                dots += span.dots;
            }
            end = start + dots * dot;
        } else if (element.mode == Mode::Carrier) {
            if (!(element.untilSecond > start))
                return SequenceRefusal{name + ": until second " + seconds(element.untilSecond) +
                                       "; the carrier must end after its start second"};
            lines.push_back({start, {Mode::Carrier, 0}, index, -1});
            end = element.untilSecond;
        } else {
            if (element.mode == Mode::Jt4 && jt4ToneSpacingHz(element.jt4Submode) == 0)
                return SequenceRefusal{name + ": sub-mode \"" + std::string(1, element.jt4Submode) +
                                       "\"; JT4 sub-modes are A to G"};
            const auto encoded = elementSymbols(element);
            if (const auto* refusal = std::get_if<EncodeRefusal>(&encoded))
                return SequenceRefusal{name + ": " + refusal->line};
            const auto& symbols = std::get<Symbols>(encoded);
            const double length = symbolSeconds(element.mode);
            for (std::size_t k = 0; k < symbols.size(); ++k)
                lines.push_back({start + static_cast<double>(k) * length,
                                 {element.mode, symbols[k]},
                                 index,
                                 static_cast<int>(k)});
            end = start + static_cast<double>(symbols.size()) * length;
            lines.push_back({end, {Mode::Carrier, 0}, index, -1});
        }
        if (index != previous && start < previousEnd)
            return SequenceRefusal{name + ": starts at second " + seconds(start) + " before " +
                                   elementName(previous, sequence.elements[previous]) +
                                   " ends at second " + seconds(previousEnd) + "; move it later"};
        if (end > sequence.periodSeconds + 1e-9)
            return SequenceRefusal{name + ": ends at second " + seconds(end) +
                                   ", beyond the period of " + seconds(sequence.periodSeconds) +
                                   " s; start it earlier or shorten it"};
        table.elementEnds[index] = end;
        table.lines.insert(table.lines.end(), lines.begin(), lines.end());
        previousEnd = end;
        previous = index;
    }

    // The lines of one period and the first of the next must keep their distance.
    for (std::size_t i = 0; i < table.lines.size(); ++i) {
        const bool wraps = i + 1 == table.lines.size();
        const double next =
            wraps ? table.lines.front().second + sequence.periodSeconds : table.lines[i + 1].second;
        if (next - table.lines[i].second < shortestGap - 1e-9 && table.lines.size() > 1) {
            const auto& later = wraps ? table.lines.front() : table.lines[i + 1];
            return SequenceRefusal{elementName(later.element, sequence.elements[later.element]) +
                                   ": its line at second " + seconds(later.second) +
                                   " comes less than " + seconds(shortestGap) +
                                   " s after the one before; move it later"};
        }
    }
    return table;
}

} // namespace kelvane::beacon
