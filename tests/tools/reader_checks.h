// How Ambrelux's readers take values out of the tools' text, redone here in
// a few lines each, so tests can check that the stand-ins' output reads as
// meant. Each returns the value text a reader would get, "" when it finds none.
#pragma once

#include <string>

namespace ambrelux::tools::testing {

// The smart-battery reader: cuts the block from the first "{" after the line
// of the first "AppleSmartBattery" to the second "}", then reads
// `"Key" = value` lines, or the compact `"Flags"=value` entry.
std::string smartValue(const std::string& listing, const std::string& key);

// The older-machine reader: cuts the line from "IOBatteryInfo", skips to the
// second dictionary when the first "Flags" on it is exactly 1, then reads the
// first `"Key"=value` up to "," or "}".
std::string oldValue(const std::string& listing, const std::string& key);

// The profiler reader: the rest of the line after the first occurrence of
// `label` anywhere in the text, leading blanks removed.
std::string profilerValue(const std::string& report, const std::string& label);

// The number a text starts with, 0 when it starts with none.
long long leadingNumber(const std::string& text);

}  // namespace ambrelux::tools::testing
