#include "keying/beacon_run.h"

#include <cmath>
#include <cstdio>

#include "link/transfers.h"
#include "model/registers.h"

namespace kelvane::keying {
namespace {

std::string elementText(const beacon::Element& element) {
    std::string text = beacon::modeCaption(element);
    if (!element.message.empty()) text += " " + element.message;
    return text;
}

std::string lineLabel(const beacon::Element& element, const beacon::KeyedLine& line) {
    if (line.symbol >= 0) return elementText(element) + " symbol " + std::to_string(line.symbol);
    if (line.tone.mode == beacon::Mode::Cw) return elementText(element) + " key up";
    if (element.mode == beacon::Mode::Cw) return elementText(element) + " key down";
    return "carrier";
}

} // namespace

BeaconPeriod beaconPeriod(const beacon::PlannedBeacon& beacon, Clock::time_point periodStart,
                          bool withUpdate, std::chrono::microseconds lead) {
    BeaconPeriod period;
    period.run.name = "Beacon";
    const auto& tones = beacon.tones;
    if (withUpdate) {
        session::RunStep update;
        for (int address : transferOrder)
            update.lines.push_back(link::registerLine(tones.registers[address]));
        update.mhz = tones.carrierHz / 1e6;
        update.label = "carrier";
        period.run.steps.push_back(update);
        period.elementStarts.emplace_back();
    }
    std::vector<bool> started(beacon.sequence.elements.size(), false);
    for (const auto& line : beacon.timetable.lines) {
        const auto& element = beacon.sequence.elements[line.element];
        const auto& tone = tones.tone(line.tone);
        session::RunStep step;
        step.lines.push_back(link::registerLine(tone.reg2));
        step.mhz = (tones.carrierHz + tone.achievedOffsetHz) / 1e6;
        step.label = lineLabel(element, line);
        const auto offset =
            std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(line.second));
        step.notBefore = periodStart + offset - lead;
        period.run.steps.push_back(step);
        period.elementStarts.push_back(started[line.element] ? "" : elementText(element));
        started[line.element] = true;
    }
    return period;
}

Clock::time_point nextPeriodStart(Clock::time_point earliest, double periodSeconds) {
    using namespace std::chrono;
    const auto sinceEpoch = duration<double>(earliest.time_since_epoch()).count();
    const double day = 86400;
    const double midnight = std::floor(sinceEpoch / day) * day;
    const double periods = std::ceil((sinceEpoch - midnight) / periodSeconds);
    return Clock::time_point(
        duration_cast<Clock::duration>(duration<double>(midnight + periods * periodSeconds)));
}

session::Run carrierRun(const beacon::TonePlan& tones) {
    session::RunStep step;
    step.lines.push_back(link::registerLine(tones.tones.front().reg2));
    step.mhz = tones.carrierHz / 1e6;
    step.label = "carrier";
    return {"Beacon", {}, {step}, 1};
}

std::string utcTimeText(Clock::time_point moment) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
                             moment.time_since_epoch() + std::chrono::milliseconds(500))
                             .count() %
                         86400;
    char text[16];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return text;
}

} // namespace kelvane::keying
