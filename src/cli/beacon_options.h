#pragma once
// The options every `kelvanectl beacon` command takes: the plan options (or
// --setup with its "beacon" object) and the sequence options, read into a
// planned beacon: its timetable and keying set, or the one refusal line.

#include <QCommandLineParser>
#include <optional>

#include "modes/beacon_plan.h"

namespace kelvane::cli {

void addSequenceOptions(QCommandLineParser& parser);

// The sequence the options give: --mode and --message, --preset, or the
// setup's "beacon" object; nothing (after the usage line) when they are
// missing or out of range.
std::optional<std::pair<Inputs, beacon::Sequence>>
readSequenceOptions(const QCommandLineParser& parser);

// readSequenceOptions(), laid out and planned; a refusal is printed as one
// line naming the field and the rule.
std::optional<beacon::PlannedBeacon> readPlannedBeacon(const QCommandLineParser& parser);

} // namespace kelvane::cli
