// What both stand-in programs do once their arguments have been accepted.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/readings.h"

namespace ambrelux::tools {

using Format = std::string (*)(const PowerState&);

// The program's arguments after its name; none when argc is below 1.
std::vector<std::string_view> argumentsOf(int argc, const char* const* argv);

// Reads the power-supply folder (powerSupplyRoot()), writes `format`'s text
// to standard output and returns the exit status: 0, or 1 when the text
// could not be written. A folder named by AMBRELUX_POWER_SUPPLY_ROOT that
// is none gives status 1, nothing on standard output and one line on
// standard error, starting with `program`.
int printReport(std::string_view program, Format format);

// Writes `usage` and a line end to standard error; returns the exit status 2.
int printUsage(std::string_view usage);

}  // namespace ambrelux::tools
