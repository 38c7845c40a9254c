#pragma once
// A setup file's optional "beacon" object: the sequence a beacon keys, so one
// file holds a beacon's plan and its sequence.
//   "beacon": {
//       "period": 60,
//       "elements": [
//           {"mode": "pi4", "message": "OZ7IGY", "start": 0},
//           {"mode": "cw", "message": "OZ7IGY JO55WM", "start": 25, "wpm": 12, "shift": -400},
//           {"mode": "carrier", "start": 48.1, "until": 59.5},
//           {"mode": "jt4", "message": "OZ7IGY JO55", "start": 1, "submode": "A"}
//       ]
//   }
// A missing period is 60 s; missing "wpm", "shift" and "submode" take 12,
// -400 and "A". Whether the sequence can be keyed is decided when it is
// planned, not here.

#include <QJsonValue>
#include <QString>
#include <optional>

#include "modes/beacon_sequence.h"

namespace kelvane::setup {

// Reads the object into `sequence` (left empty when the value is undefined);
// returns the fault naming the field otherwise.
std::optional<QString> readBeaconObject(const QJsonValue& value,
                                        std::optional<beacon::Sequence>& sequence);

// ",\n    \"beacon\": {...}" as the setup text has its members.
QString beaconObjectText(const beacon::Sequence& sequence);

} // namespace kelvane::setup
