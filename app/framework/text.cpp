#include "app/framework/text.h"

#include <locale.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace ambrelux {

namespace {

using Size = std::string_view::size_type;

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Bytes of the character starting at `at`: every byte of a malformed
// sequence counts as a character of its own, so positions stay defined for
// any input.
Size charBytes(std::string_view text, Size at) { return std::max<Size>(Utf8CharBytes(text.substr(at)), 1); }

// Byte offset reached by moving `chars` characters on from byte `from`,
// stopping at the end of the text.
Size advance(std::string_view text, Size from, std::int64_t chars) {
  Size at = from;
  while (chars > 0 && at < text.size()) {
    at += static_cast<unsigned char>(text[at]) < 0x80 ? 1 : charBytes(text, at);
    --chars;
  }
  return at;
}

// Characters in text[from, to), together with the byte offset where the last
// of them ends (== to unless `to` falls inside a character).
struct Count {
  std::int64_t chars = 0;
  Size end = 0;
};

Count countChars(std::string_view text, Size from, Size to) {
  Count count{0, from};
  while (count.end < to) {
    count.end += static_cast<unsigned char>(text[count.end]) < 0x80 ? 1 : charBytes(text, count.end);
    ++count.chars;
  }
  return count;
}

std::string_view restFrom(std::string_view text, std::int64_t start) {
  if (start < 1) return {};
  return text.substr(advance(text, 0, start - 1));
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::size_t Utf8CharBytes(std::string_view text) {
  if (text.empty()) return 0;
  const auto byte = [&](Size at) { return static_cast<unsigned char>(text[at]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  // The second byte's range depends on the lead byte; its narrow ends shut
  // out overlong forms (E0, F0), surrogates (ED) and values past U+10FFFF (F4).
  Size length = 0;
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (Size i = 2; i < length; ++i) {
    if (!isContinuation(byte(i))) return 0;
  }
  return length;
}

std::int64_t Len(std::string_view text) { return countChars(text, 0, text.size()).chars; }

std::int64_t InStr(std::string_view source, std::string_view find) { return InStr(1, source, find); }

std::int64_t InStr(std::int64_t start, std::string_view source, std::string_view find) {
  if (start < 1) start = 1;
  Size from = advance(source, 0, start - 1);
  if (from >= source.size()) return 0;  // also covers start past the end
  std::int64_t position = start;        // character position of byte `from`
  for (;;) {
    const Size hit = source.find(find, from);
    if (hit == std::string_view::npos) return 0;
    const Count skipped = countChars(source, from, hit);
    const Size end = hit + find.size();
    if (skipped.end == hit && countChars(source, hit, end).end == end) return position + skipped.chars;
    // A malformed `find` matched part of a character, at the match's start
    // or its end: look on from the character after that one, so a match is
    // always whole characters, Len(find) of them.
    const Count past = countChars(source, from, hit + 1);
    position += past.chars;
    from = past.end;
  }
}

std::string Mid(std::string_view text, std::int64_t start) { return std::string(restFrom(text, start)); }

std::string Mid(std::string_view text, std::int64_t start, std::int64_t count) {
  const std::string_view rest = restFrom(text, start);
  if (count < 0) return std::string(rest);
  return std::string(rest.substr(0, advance(rest, 0, count)));
}

std::string Left(std::string_view text, std::int64_t n) {
  if (n <= 0) return {};
  return std::string(text.substr(0, advance(text, 0, n)));
}

std::string Right(std::string_view text, std::int64_t n) {
  if (n <= 0) return {};
  const std::int64_t length = Len(text);
  if (n >= length) return std::string(text);
  return std::string(text.substr(advance(text, 0, length - n)));
}

std::string LTrim(std::string_view text) {
  Size at = 0;
  while (at < text.size() && isBlank(text[at])) ++at;
  return std::string(text.substr(at));
}

bool TextEquals(std::string_view a, std::string_view b) { return a == b; }

// Appended into one buffer: at -O2, GCC 12 takes a "literal" + std::string
// chain for an overlapping copy and warns (-Wrestrict), falsely.
std::string Concat(std::initializer_list<std::string_view> parts) {
  Size length = 0;
  for (const std::string_view part : parts) length += part.size();
  std::string text;
  text.reserve(length);
  for (const std::string_view part : parts) text.append(part);
  return text;
}

double Val(std::string_view text) {
  Size at = 0;
  while (at < text.size() && isBlank(text[at])) ++at;
  const Size numberStart = at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    negative = text[at] == '-';
    ++at;
  }
  // from_chars also reads "inf", "nan" and takes no "+": only a digit, or a
  // point before a digit, starts a number here.
  const bool startsNumber =
      at < text.size() &&
      (isDigit(text[at]) || (text[at] == '.' && at + 1 < text.size() && isDigit(text[at + 1])));
  if (!startsNumber) return 0.0;

  const char* first = text.data() + at;
  const char* last = text.data() + text.size();
  double value = 0.0;
  const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
  if (error == std::errc::result_out_of_range) {
    // from_chars leaves the value alone; strtod in the C locale tells
    // overflow (infinity) from underflow (zero) for the same digits.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    const std::string digits(text.substr(numberStart, static_cast<Size>(end - text.data()) - numberStart));
    return strtod_l(digits.c_str(), nullptr, cLocale);
  }
  if (error != std::errc{}) return 0.0;
  return negative ? -value : value;
}

std::string Str(double value) {
  if (std::isnan(value)) return "nan";
  if (value == 0.0) value = 0.0;  // no "-0"
  // Fixed notation of the largest or the smallest double stays below 400.
  std::array<char, 512> buffer{};
  const auto result =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
  return std::string(buffer.data(), result.ptr);
}

std::string Str(std::int32_t value) { return std::to_string(value); }

double Round(double value) { return std::round(value); }

std::int32_t ToInt32(double value) {
  constexpr auto max = std::numeric_limits<std::int32_t>::max();
  constexpr auto min = std::numeric_limits<std::int32_t>::min();
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(max)) return max;
  if (value <= static_cast<double>(min)) return min;
  return static_cast<std::int32_t>(value);
}

std::uint64_t BitAnd(std::uint64_t a, std::uint64_t b) { return a & b; }

}  // namespace ambrelux
