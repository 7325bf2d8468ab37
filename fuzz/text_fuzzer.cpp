// The text functions with arbitrary texts, starts and counts: the parsers
// hand them 0, negative and past-the-end values whenever a terminator is
// missing, so none of them may fail, and each must keep its contract.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "app/framework/text.h"
#include "require.h"

namespace {

using namespace ambrelux;
using fuzzing::require;

bool isPrefix(const std::string& part, const std::string& whole) {
  return whole.compare(0, part.size(), part) == 0;
}

bool isSuffix(const std::string& part, const std::string& whole) {
  return part.size() <= whole.size() && whole.compare(whole.size() - part.size(), part.size(), part) == 0;
}

// Mostly the small values callers pass, sometimes anything at all.
std::int64_t position(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:
      return in.ConsumeIntegral<std::int64_t>();
    case 1:
      return in.ConsumeIntegralInRange<std::int64_t>(-3, 3);
    default:
      return in.ConsumeIntegralInRange<std::int64_t>(-2, 80);
  }
}

void checkCuts(const std::string& text, std::int64_t start, std::int64_t count) {
  const std::int64_t length = Len(text);
  require(length >= 0 && length <= static_cast<std::int64_t>(text.size()),
          "Len counts at most one character a byte");

  const std::string rest = Mid(text, start);
  require(isSuffix(rest, text), "Mid(t, s) is a tail of t");
  const std::int64_t restLength = start >= 1 && start <= length ? length - start + 1 : 0;
  require(Len(rest) == restLength, "Mid(t, s) holds the characters from s on");

  const std::string piece = Mid(text, start, count);
  require(isPrefix(piece, rest), "Mid(t, s, n) starts where Mid(t, s) does");
  require(Len(piece) == (count < 0 ? restLength : std::min(count, restLength)),
          "Mid(t, s, n) holds n characters, or the rest for n < 0");

  const std::string head = Left(text, count);
  const std::string tail = Right(text, count);
  const std::int64_t wanted = std::clamp<std::int64_t>(count, 0, length);
  require(isPrefix(head, text) && Len(head) == wanted, "Left(t, n) is the first n characters");
  require(isSuffix(tail, text) && Len(tail) == wanted, "Right(t, n) is the last n characters");
  if (count >= 0 && count <= length) {
    require(head + Mid(text, count + 1) == text, "Left(t, n) + Mid(t, n + 1) == t");
    require(Left(text, length - count) + tail == text, "Left(t, Len - n) + Right(t, n) == t");
  }
}

void checkInStr(const std::string& source, const std::string& find, std::int64_t start) {
  const std::int64_t length = Len(source);
  const std::int64_t found = InStr(start, source, find);
  const std::int64_t from = std::max<std::int64_t>(start, 1);
  require(found == 0 || (found >= from && found <= length), "InStr gives 0 or a position from start to Len");
  if (found > 0)
    require(Mid(source, found, Len(find)) == find, "InStr's match is Len(find) whole characters");
  if (start <= 1) require(found == InStr(source, find), "InStr from 1 or below is InStr without a start");
  // Only short texts are searched character by character.
  if (length > 200) return;
  const std::int64_t last = found > 0 ? found - 1 : length;
  for (std::int64_t p = from; p <= last; ++p)
    require(Mid(source, p, Len(find)) != find, "InStr gives the first occurrence from start on");
}

void checkNumbers(const std::string& text, double number, std::int32_t whole) {
  const double value = Val(text);
  require(!std::isnan(value), "Val never gives NaN");
  (void)ToInt32(value);

  const std::string shown = Str(number);
  if (std::isfinite(number)) {
    require(shown.find_first_not_of("-.0123456789") == std::string::npos,
            "Str writes digits, '-' and '.' only");
    require(shown != "-0", "Str writes no negative zero");
    require((number == std::trunc(number)) == (shown.find('.') == std::string::npos),
            "Str writes a point exactly for a fraction");
    require(Val(shown) == number, "Val reads Str's text back as the same double");
    const double rounded = Round(number);
    require(rounded == std::trunc(rounded) && std::fabs(rounded - number) <= 0.5,
            "Round gives the nearest whole number");
  }
  require(Val(Str(whole)) == whole, "Val reads Str of an Int32 back");

  const std::int32_t converted = ToInt32(number);
  if (std::isnan(number)) require(converted == 0, "ToInt32(NaN) is 0");
  constexpr double kMax = std::numeric_limits<std::int32_t>::max(),
                   kMin = std::numeric_limits<std::int32_t>::min();
  if (number > kMin - 1 && number < kMax + 1)
    require(converted == static_cast<std::int32_t>(std::trunc(number)), "ToInt32 drops the fraction");
  if (number >= kMax) require(converted == kMax, "ToInt32 saturates above");
  if (number <= kMin) require(converted == kMin, "ToInt32 saturates below");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string source = in.ConsumeRandomLengthString(1024);
  const std::string find = in.ConsumeRandomLengthString(16);
  const std::int64_t start = position(in);
  const std::int64_t count = position(in);
  double number = 0;
  const auto bits = in.ConsumeIntegral<std::uint64_t>();
  std::memcpy(&number, &bits, sizeof number);
  if (in.ConsumeBool()) number = in.ConsumeFloatingPoint<double>();
  const auto whole = in.ConsumeIntegral<std::int32_t>();

  checkCuts(source, start, count);
  checkInStr(source, find, start);

  const std::string trimmed = LTrim(source);
  require(isSuffix(trimmed, source), "LTrim gives a tail of its text");
  require(source.substr(0, source.size() - trimmed.size()).find_first_not_of(" \t") == std::string::npos,
          "LTrim removes blanks only");
  require(trimmed.empty() || (trimmed[0] != ' ' && trimmed[0] != '\t'), "LTrim removes every leading blank");
  require(TextEquals(source, find) == (source == find), "= compares whole texts");

  checkNumbers(source, number, whole);
  return 0;
}
