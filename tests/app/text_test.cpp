#include "app/framework/text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <iostream>
#include <limits>
#include <locale>
#include <sstream>
#include <string>

namespace ambrelux {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// "ñ" and "é" are two bytes, "€" three, "😀" four: positions must count
// characters, not bytes.
TEST(TextTest, LenCountsCharacters) {
  struct Case {
    const char* name;
    std::string text;
    std::int64_t expected;
  };
  const Case cases[] = {
      {"empty", "", 0},
      {"ascii", "abc", 3},
      {"two-byte", "añb", 3},
      {"three-byte", "€", 1},
      {"four-byte", "😀x", 2},
      // Malformed bytes still count, one each, so nothing is lost.
      {"lone lead byte", "\xC3", 1},
      {"lead byte before ascii", "\xC3(", 2},
      {"stray continuation",
       "\xA9"
       "a",
       2},
      // Shaped like characters but not well-formed: one each too.
      {"overlong", "\xE0\x80\x80", 3},
      {"surrogate", "\xED\xA0\x80", 3},
      {"past U+10FFFF", "\xF4\x90\x80\x80", 4},
      {"U+10FFFF", "\xF4\x8F\xBF\xBF", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Len(c.text), c.expected);
  }
}

struct InStrCase {
  const char* name;
  std::int64_t start;  // 1 stands for the form without a start
  std::string source;
  std::string find;
  std::int64_t expected;
};

class InStrTest : public ::testing::TestWithParam<InStrCase> {};

// A match is whole characters of the source at both of its ends, or a
// reader that steps Len(find) characters past it lands somewhere else.
TEST_P(InStrTest, FindsFirstOccurrenceAtOrAfterStart) {
  const InStrCase& c = GetParam();
  EXPECT_EQ(InStr(c.start, c.source, c.find), c.expected);
  if (c.start == 1) {
    EXPECT_EQ(InStr(c.source, c.find), c.expected);
  }
  if (c.expected > 0) {
    EXPECT_EQ(Mid(c.source, c.expected, Len(c.find)), c.find);
  }
}

const InStrCase kInStrCases[] = {
    {"found", 1, "abcabc", "c", 3},
    {"not_found", 1, "abc", "x", 0},
    {"empty_find", 1, "abc", "", 1},
    {"empty_source_and_find", 1, "", "", 0},
    {"empty_source", 1, "", "a", 0},
    {"find_longer_than_source", 1, "ab", "abc", 0},
    {"case_sensitive", 1, "Charging: yes", "Yes", 0},
    {"start_after_first_hit", 4, "abcabc", "c", 6},
    {"start_on_hit", 3, "abcabc", "c", 3},
    // The parsers pass a not-found 0 plus 1, and the readers a bare 0.
    {"start_zero_searches_from_one", 0, "abc", "a", 1},
    {"negative_start_searches_from_one", -5, "abc", "a", 1},
    {"start_past_end", 7, "abc", "a", 0},
    {"start_just_past_end_empty_find", 4, "abc", "", 0},
    {"start_on_last_character", 3, "abc", "c", 3},
    {"non_ascii_before_hit", 1, "añb=c", "=", 4},
    {"non_ascii_find", 1, "x€y€", "€", 2},
    {"non_ascii_with_start", 3, "ñañb", "ñ", 3},
    {"four_byte_before_hit", 1, "😀😀x", "x", 3},
    // A malformed find matching the second byte of "é" is no character hit.
    {"malformed_find_inside_character", 1, "é", "\xA9", 0},
    // "\xF3\xBB\x92\x92" is one four-byte character; "\xF3\xBB" alone is two
    // malformed bytes, one character each.
    {"malformed_find_at_start_of_character", 1, "\xF3\xBB\x92\x92\n", "\xF3\xBB", 0},
    {"malformed_find_where_it_stands_alone", 1, "\xF3\xBB\x92\x92\xF3\xBBx", "\xF3\xBB", 2},
    {"ascii_then_start_of_character", 1, "a\xC3\xA9", "a\xC3", 0},
    {"whole_characters_still_found", 1,
     "a\xC3\xA9"
     "b",
     "\xC3\xA9"
     "b",
     2},
    {"empty_find_before_four_byte", 1, "\xF3\xBB\x92\x92", "", 1},
    {"malformed_byte_counts_one", 1,
     "\xFF"
     "a",
     "a", 2},
};

INSTANTIATE_TEST_SUITE_P(Cases, InStrTest, ::testing::ValuesIn(kInStrCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(TextTest, MidLeftRightLTrim) {
  struct Case {
    const char* name;
    std::string actual;
    std::string expected;
  };
  const Case cases[] = {
      {"Mid to end", Mid("hello", 2), "ello"},
      {"Mid from last", Mid("hello", 5), "o"},
      {"Mid start past end", Mid("hello", 6), ""},
      {"Mid start 0", Mid("hello", 0), ""},
      {"Mid negative start", Mid("hello", -1), ""},
      {"Mid count", Mid("hello", 2, 3), "ell"},
      {"Mid count beyond end", Mid("hello", 4, 10), "lo"},
      {"Mid count 0", Mid("hello", 2, 0), ""},
      // A missing terminator gives a negative count: the value runs on.
      {"Mid negative count", Mid("hello", 2, -7), "ello"},
      {"Mid start 0 with count", Mid("hello", 0, 3), ""},
      {"Mid non-ascii", Mid("añb€c", 2, 3), "ñb€"},
      {"Mid non-ascii to end", Mid("añb€c", 4), "€c"},
      {"Left", Left("hello", 2), "he"},
      {"Left 0", Left("hello", 0), ""},
      {"Left negative", Left("hello", -1), ""},
      {"Left whole", Left("hello", 5), "hello"},
      {"Left beyond", Left("hello", 99), "hello"},
      {"Left non-ascii", Left("ñandú", 2), "ña"},
      {"Right", Right("hello", 2), "lo"},
      {"Right 0", Right("hello", 0), ""},
      {"Right negative", Right("hello", -3), ""},
      {"Right beyond", Right("hello", 99), "hello"},
      {"Right non-ascii", Right("ñandú", 2), "dú"},
      {"Right of empty", Right("", 2), ""},
      // Only leading blanks and tabs go.
      {"LTrim blanks", LTrim("  a b "), "a b "},
      {"LTrim tabs and blanks", LTrim("\t \tYes"), "Yes"},
      {"LTrim all blank", LTrim("   "), ""},
      {"LTrim empty", LTrim(""), ""},
      {"LTrim keeps line end", LTrim("\nx"), "\nx"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.actual, c.expected);
  }
}

struct ValCase {
  const char* name;
  std::string text;
  double expected;
};

const ValCase kValCases[] = {
    {"trailing text ignored", "12.5abc", 12.5},
    {"leading blanks", "  7", 7},
    {"leading tab", "\t7", 7},
    {"no number", "abc", 0},
    {"negative", "-3", -3},
    {"empty", "", 0},
    {"plus sign", "+4", 4},
    {"point first", ".5", 0.5},
    {"negative point first", "-.5", -0.5},
    {"exponent", "1e3", 1000},
    {"exponent with sign and tail", "1e+2x", 100},
    {"bare e ignored", "1e", 1},
    {"line end ignored", "12560\n", 12560},
    {"comma is not a point", "1,5", 1},
    {"closing brace ignored", "4}", 4},
    {"leading zeros", "007", 7},
    {"hex not read", "0x1A", 0},
    {"inf not read", "inf", 0},
    {"nan not read", "nan", 0},
    {"negative inf not read", "-inf", 0},
    {"sign then blank", "- 3", 0},
    {"lone point", ".", 0},
    {"line end not skipped", "\n5", 0},
    {"overflow", "1e999", kInf},
    {"negative overflow", "-1e999", -kInf},
    {"underflow", "1e-999", 0},
    {"huge unsigned", "18446744073709551615", 18446744073709551615.0},
};

void expectVal(const ValCase& c) {
  SCOPED_TRACE(c.name);
  EXPECT_EQ(Val(c.text), c.expected) << '"' << c.text << '"';
}

TEST(TextTest, Val) {
  for (const ValCase& c : kValCases) expectVal(c);
}

// A decimal comma in the C++ global locale, in case no comma locale is
// installed for the C library.
class CommaPunct : public std::numpunct<char> {
 protected:
  char do_decimal_point() const override { return ','; }
  char do_thousands_sep() const override { return '.'; }
  std::string do_grouping() const override { return "\3"; }
};

// Puts a decimal comma into the C++ global locale and, where one is
// installed, the C library's locale; restores both when it goes.
class CommaLocale {
 public:
  CommaLocale()
      : savedGlobal_(std::locale::global(std::locale(std::locale::classic(), new CommaPunct))),
        savedC_(std::setlocale(LC_ALL, nullptr)) {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "nl_NL.UTF-8"}) {
      if (std::setlocale(LC_ALL, name)) {
        forC_ = true;
        break;
      }
    }
  }
  ~CommaLocale() {
    std::setlocale(LC_ALL, savedC_.c_str());
    std::locale::global(savedGlobal_);
  }
  CommaLocale(const CommaLocale&) = delete;
  CommaLocale& operator=(const CommaLocale&) = delete;
  bool forC() const { return forC_; }

 private:
  std::locale savedGlobal_;
  std::string savedC_;
  bool forC_ = false;
};

// The tools print "12.5" whatever the user's language; a reader that
// followed the locale would read 12 there.
TEST(TextTest, NumbersIgnoreACommaLocale) {
  const CommaLocale comma;
  if (comma.forC()) {
    ASSERT_EQ(std::string(std::localeconv()->decimal_point), ",");
  } else {
    std::cout << "[ note ] no comma locale installed for the C library; testing the C++ one\n";
  }
  std::ostringstream probe;
  probe << 1.5;
  ASSERT_EQ(probe.str(), "1,5");  // the C++ global locale really has a comma

  for (const ValCase& c : kValCases) expectVal(c);
  EXPECT_EQ(Str(12.603), "12.603");
  EXPECT_EQ(Str(1234567.5), "1234567.5");
  EXPECT_EQ(Str(std::int32_t{1234567}), "1234567");
}

TEST(TextTest, Str) {
  struct Case {
    const char* name;
    std::string actual;
    std::string expected;
  };
  const Case cases[] = {
      {"whole", Str(2600.0), "2600"},
      {"zero", Str(0.0), "0"},
      {"negative zero", Str(-0.0), "0"},
      {"fraction", Str(12.603), "12.603"},
      {"negative fraction", Str(-0.5), "-0.5"},
      {"negative whole", Str(-3.0), "-3"},
      {"shortest form", Str(0.1), "0.1"},
      {"no exponent for large", Str(1e21), "1000000000000000000000"},
      {"no exponent for small", Str(1e-7), "0.0000001"},
      {"rounded percentage", Str(Round(2600.0 / 5200.0 * 100)), "50"},
      {"infinity", Str(kInf), "inf"},
      {"negative infinity", Str(-kInf), "-inf"},
      {"not a number", Str(kNaN), "nan"},
      {"int32", Str(std::int32_t{100}), "100"},
      {"int32 negative", Str(std::int32_t{-1}), "-1"},
      {"int32 min", Str(std::numeric_limits<std::int32_t>::min()), "-2147483648"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.actual, c.expected);
  }
}

TEST(TextTest, StrReadsBackWithVal) {
  const double values[] = {
      0.1,
      1.0 / 3.0,
      0.30000000000000004,
      123456789.123456789,
      12.603,
      -2.2250738585072014e-308,
      std::numeric_limits<double>::denorm_min(),
      std::numeric_limits<double>::max(),
      -std::numeric_limits<double>::max(),
      std::numeric_limits<double>::min(),
      9007199254740993.0,
  };
  for (const double value : values) {
    const std::string text = Str(value);
    SCOPED_TRACE(text);
    EXPECT_EQ(text.find_first_of("eE+, "), std::string::npos);
    EXPECT_EQ(Val(text), value);
  }
}

TEST(TextTest, RoundHalvesAwayFromZero) {
  const struct {
    double value, expected;
  } cases[] = {{2.5, 3}, {-2.5, -3}, {2.4, 2}, {0.5, 1}, {-0.4, 0}, {7.75, 8}, {100.0, 100}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(Round(c.value), c.expected);
  }
}

TEST(TextTest, ToInt32TruncatesAndSaturates) {
  constexpr auto max = std::numeric_limits<std::int32_t>::max();
  constexpr auto min = std::numeric_limits<std::int32_t>::min();
  const struct {
    const char* name;
    double value;
    std::int32_t expected;
  } cases[] = {
      {"fraction dropped", 158.9, 158},
      {"negative fraction dropped", -158.9, -158},
      {"small negative", -0.9, 0},
      {"bar width", 5200.0 / 5200.0 * 160 - 2, 158},
      {"largest", 2147483647.0, max},
      {"smallest", -2147483648.0, min},
      {"just below largest", 2147483646.5, 2147483646},
      {"too large", 3e10, max},
      {"too small", -3e10, min},
      {"infinity", kInf, max},
      {"negative infinity", -kInf, min},
      {"not a number", kNaN, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ToInt32(c.value), c.expected);
  }
}

}  // namespace
}  // namespace ambrelux
