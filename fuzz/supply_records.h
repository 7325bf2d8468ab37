// The power-supply fuzz target's input: records "<supply>/<attribute>=<value>"
// separated by the byte 0xFF (never part of UTF-8, so values keep their line
// ends and other bytes). Decoding keeps what a real folder could hold, so a
// tree written from the supplies reads back the same.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/power_supply.h"

namespace ambrelux::fuzzing {

inline constexpr char kRecordEnd = '\xFF';

// Supplies in name order, at most kMaxSupplies. Skipped: records without
// "/" or "=", names that are no file names (or hidden, for a supply), a
// repeated attribute, and values longer than kMaxAttributeBytes.
std::vector<tools::Supply> decodeSupplies(std::string_view input);

// The records of every attribute of `supplies`.
std::string encodeSupplies(const std::vector<tools::Supply>& supplies);

}  // namespace ambrelux::fuzzing
