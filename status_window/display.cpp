#include "status_window/display.h"

#include <algorithm>
#include <cmath>

#include "app/framework/text.h"

namespace ambrelux {

bool flagSet(std::int32_t flags, std::uint64_t mask) {
  const auto word = static_cast<std::uint64_t>(static_cast<std::int64_t>(flags));
  return BitAnd(word, mask) == mask;
}

std::string percentText(double value) {
  if (!std::isfinite(value)) return "";
  return Str(Round(value)) + "%";
}

std::int32_t barWidth(double value, std::int32_t frameWidth) {
  if (!std::isfinite(value)) return 0;
  return std::clamp(ToInt32(value), std::int32_t{0}, std::max(frameWidth, std::int32_t{0}));
}

double cyclesLeft(std::int32_t cycles) {
  // In 32 bits, 500 minus the most negative reading would overflow.
  return static_cast<double>(std::int64_t{500} - cycles);
}

}  // namespace ambrelux
