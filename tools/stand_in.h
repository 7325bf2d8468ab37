// What both stand-in programs do once their arguments have been accepted.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/readings.h"

namespace ambrelux::tools {

using Format = std::string (*)(const PowerState&);

// `text` fit for one line on a terminal: each byte that begins no
// well-formed UTF-8 character becomes '?', and so does each character that
// ends a line or moves the cursor (C0 and C1 controls, DEL, U+2028, U+2029)
// or reorders the line (the bidirectional controls U+202A to U+202E and
// U+2066 to U+2069). So a hostile path can neither add lines, send escapes
// nor pass for another, while "josé" or "日本" reads as it is.
std::string oneLine(std::string_view text);

// The program's arguments after its name; none when argc is below 1.
std::vector<std::string_view> argumentsOf(int argc, const char* const* argv);

// Reads the power-supply folder (powerSupplyRoot()), writes `format`'s text
// to standard output and returns the exit status: 0, or 1 when the text
// could not be written. A folder named by AMBRELUX_POWER_SUPPLY_ROOT that
// can't be read (folderError) gives status 1, nothing on standard output
// and one line on standard error: `program`, the folder and the reason.
int printReport(std::string_view program, Format format);

// Writes `usage` and a line end to standard error; returns the exit status 2.
int printUsage(std::string_view usage);

}  // namespace ambrelux::tools
