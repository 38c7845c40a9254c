#pragma once
// The plan as kelvanectl prints it: the displays and the register listing as
// text, or one JSON object.

#include <QJsonObject>
#include <string>

#include "model/recalculation.h"

namespace kelvane::cli {

// "Fvco 2320.25 MHz", "D = 1000000" ... each display that shows a text, under the
// window's label, one per line; a blank line, the listing; CR LF line ends.
std::string planText(const Recalculation& result);
QJsonObject planJson(const Recalculation& result);

} // namespace kelvane::cli
