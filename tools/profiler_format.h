// The system profiler's power report ("system_profiler SPPowerDataType"),
// written from the readings. Lines end in "\n".
#pragma once

#include <string>

#include "tools/readings.h"

namespace ambrelux::tools {

// Sections "Power:", "Battery Information:" for the first battery in name
// order (with "Model Information:", "Charge Information:" and "Health
// Information:" as far as they have lines), "System Power Settings:",
// "Hardware Configuration:" and "AC Charger Information:". Each value follows
// its label after one blank on the same line; yes/no readings read "Yes" or
// "No"; "Amperage (mA):" is negative while discharging. A battery reading that
// is absent leaves its line out.
//
// Readers take the first occurrence of a label anywhere in the text, so only
// one battery is reported, "Charging:" is the battery's before the charger's,
// no label stands inside another label or a value, and names from the
// firmware hold no colon.
std::string powerReport(const PowerState& state);

}  // namespace ambrelux::tools
