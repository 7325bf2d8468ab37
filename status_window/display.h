// Small pure helpers the three refresh paths share for turning readings
// into display values.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "status_window/power_flags.h"

namespace ambrelux {

// The one message the status window shows.
inline constexpr std::string_view kNoDataMessage = "Unable to read battery status data.";

// Follows the short version on the version line.
inline constexpr std::string_view kVersionNotice = ", \u00A9 2026 the Ambrelux developers";

// True when every bit of `mask` is set in `flags` (widened with its sign).
bool flagSet(std::int32_t flags, std::uint64_t mask);

// A percentage as shown: the value rounded, then "%". percentText(49.5) ==
// "50%". A value that is not a finite number (a ratio over 0) gives "".
std::string percentText(double value);

// A bar's length in pixels from its formula's value: the fraction dropped,
// and held to 0..frameWidth so a bar never leaves its frame; a value that is
// not a finite number gives an empty bar.
// barWidth(166.4, 160) == 160; barWidth(-2, 160) == 0; barWidth(inf, 160) == 0.
std::int32_t barWidth(double value, std::int32_t frameWidth);

// 500 - cycles, the life left on the life bar's scale, computed without
// overflow for any reading.
double cyclesLeft(std::int32_t cycles);

}  // namespace ambrelux
