#include "remote/rig_protocol.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace kelvane::remote {
namespace {

struct CommandName {
    Command command;
    char letter; // 0: only the long name
    std::string_view name;
};

constexpr std::array<CommandName, 9> commandNames{{
    {Command::SetFrequency, 'F', "set_freq"},
    {Command::GetFrequency, 'f', "get_freq"},
    {Command::GetVfo, 'v', "get_vfo"},
    {Command::GetSplitVfo, 's', "get_split_vfo"},
    {Command::GetMode, 'm', "get_mode"},
    {Command::CheckVfo, 0, "chk_vfo"},
    {Command::DumpState, 0, "dump_state"},
    {Command::GetPowerStatus, 0, "get_powerstat"},
    {Command::Quit, 'q', ""},
}};

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\0';
}

bool isExtendedMark(char c) {
    return c == '+' || c == ';' || c == '|' || c == ',';
}

std::string_view nameOf(Command command) {
    for (const auto& entry : commandNames)
        if (entry.command == command) return entry.name;
    return {};
}

Command byLetter(char letter) {
    if (letter == 'Q') return Command::Quit;
    for (const auto& entry : commandNames)
        if (entry.letter == letter) return entry.command;
    return Command::Unknown;
}

Command byName(std::string_view name) {
    for (const auto& entry : commandNames)
        if (!entry.name.empty() && entry.name == name) return entry.command;
    return Command::Unknown;
}

std::string resultLine(int result) {
    return "RPRT " + std::to_string(result) + "\n";
}

std::string hertzText(double hertz) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", hertz);
    return text;
}

// The board's description in the daemon's state dump: one VFO, CW (an
// unmodulated carrier), tuned in steps of 1 Hz over the given range, and no
// other function.
std::string dumpState(const RigState& state) {
    const std::string range = hertzText(state.lowestHertz) + " " + hertzText(state.highestHertz) +
                              " 0x2 -1 -1 0x1 0x1\n0 0 0 0 0 0 0\n";
    return "1\n1\n0\n" + range + range +
           "0x2 1\n0 0\n0 0\n0\n0\n0\n0\n\n\n0x0\n0x0\n0x0\n0x0\n0x0\n0x0\n"
           "vfo_ops=0x0\nptt_type=0x0\ntargetable_vfo=0x0\nhas_set_vfo=0\nhas_get_vfo=1\n"
           "has_set_freq=1\nhas_get_freq=1\nhas_set_conf=0\nhas_get_conf=0\n"
           "has_power2mW=0\nhas_mW2power=0\ntimeout=0\nrig_model=1\n"
           "rigctld_version=" +
           state.version + "\ndone\n";
}

struct Field {
    std::string_view label;
    std::string value;
};

// A plain answer is the values a line each; an extended one names the
// command and labels each value, then gives the result.
std::string fieldsAnswer(const Request& request, const std::vector<Field>& fields) {
    if (!request.separator) {
        std::string text;
        for (const auto& field : fields)
            text += field.value + "\n";
        return text;
    }
    std::string text = std::string(nameOf(request.command)) + ":" + request.separator;
    for (const auto& field : fields)
        text += std::string(field.label) + ": " + field.value + request.separator;
    return text + resultLine(resultOk);
}

} // namespace

std::vector<Request> parseLine(std::string_view line) {
    std::vector<Request> requests;
    std::size_t at = 0;
    auto skipBlanks = [&] {
        while (at < line.size() && isBlank(line[at]))
            ++at;
    };
    auto word = [&] {
        const std::size_t start = at;
        while (at < line.size() && !isBlank(line[at]))
            ++at;
        return line.substr(start, at - start);
    };
    for (skipBlanks(); at < line.size(); skipBlanks()) {
        Request request;
        if (isExtendedMark(line[at])) {
            request.separator = line[at] == '+' ? '\n' : line[at];
            ++at;
            if (at == line.size() || isBlank(line[at])) continue;
        }
        if (line[at] == '\\') {
            ++at;
            request.command = byName(word());
        } else
            request.command = byLetter(line[at++]);
        if (request.command == Command::SetFrequency) {
            skipBlanks();
            request.argument = std::string(word());
        }
        requests.push_back(std::move(request));
        if (requests.back().command == Command::Unknown || requests.back().command == Command::Quit)
            break;
    }
    return requests;
}

std::optional<double> readHertz(std::string_view text) {
    double hertz = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), hertz);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(hertz) ||
        !(hertz > 0))
        return std::nullopt;
    return hertz;
}

long long wholeHertz(double mhz) {
    return std::llround(mhz * 1e6);
}

std::string answer(const Request& request, const RigState& state, int result) {
    const char separator = request.separator;
    switch (request.command) {
    case Command::SetFrequency:
        if (!separator) return resultLine(result);
        return "set_freq:" + (request.argument.empty() ? "" : " " + request.argument) + separator +
               resultLine(result);
    case Command::GetFrequency:
        return fieldsAnswer(request, {{"Frequency", std::to_string(state.hertz)}});
    case Command::GetVfo:
        return fieldsAnswer(request, {{"VFO", "VFOA"}});
    case Command::GetSplitVfo:
        return fieldsAnswer(request, {{"Split", "0"}, {"TX VFO", "VFOA"}});
    case Command::GetMode:
        return fieldsAnswer(request, {{"Mode", "CW"}, {"Passband", "0"}});
    case Command::CheckVfo:
        // The daemon's own shapes: no name and no result, and an empty line
        // after a separator other than a line end.
        if (!separator) return "0\n";
        return separator == '\n' ? "ChkVFO: 0\n" : "ChkVFO: 0\n\n";
    case Command::GetPowerStatus:
        // The daemon ends the value with a line end whatever the separator.
        if (!separator) return "1\n";
        return std::string("get_powerstat:") + separator + "Power Status: 1\n" +
               resultLine(resultOk);
    case Command::DumpState:
        if (!separator) return dumpState(state);
        return std::string("dump_state:") + separator + dumpState(state) + resultLine(resultOk);
    case Command::Quit:
        return resultLine(resultOk);
    case Command::Unknown:
        break;
    }
    return resultLine(notImplemented);
}

} // namespace kelvane::remote
