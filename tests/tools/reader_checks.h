// How Ambrelux's readers take values out of the tools' text, so tests can
// check that the stand-ins' output reads as meant. Each returns the value
// text a reader would get, "" when it finds none.
#pragma once

#include <string>

namespace ambrelux::tools::testing {

// The smart-battery reader: the block's `"Key" = value` line, or its compact
// `"Flags"=value` entry.
std::string smartValue(const std::string& listing, const std::string& key);

// The older-machine reader: the first `"Key"=value` of the chosen battery's
// record, up to "," or "}".
std::string oldValue(const std::string& listing, const std::string& key);

// The profiler reader, redone here since the real one runs its tool: the
// rest of the line after the first occurrence of `label` anywhere in the
// text, leading blanks removed.
std::string profilerValue(const std::string& report, const std::string& label);

}  // namespace ambrelux::tools::testing
