#include "status_window/format.h"

#include <gtest/gtest.h>

#include <string>

namespace ambrelux {
namespace {

struct FormatCase {
  const char* name;
  double value;
  std::string expected;
};

class FormatStrTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatStrTest, OneSeparator) {
  const FormatCase& c = GetParam();
  EXPECT_EQ(formatStr(c.value), c.expected);
}

const FormatCase kCases[] = {
    // The worked examples.
    {"three_digits", 999, "999"},
    {"four_digits", 1000, "1,000"},
    {"five_digits", 12345, "12,345"},
    {"six_digits", 123456, "123,456"},
    {"seven_digits_one_separator_only", 1234567, "1234,567"},
    {"volts", 12.603, "12.603"},
    {"three_before_point", 123.45, "123.45"},
    {"four_before_point", 1234.5, "1,234.5"},
    // More of the same rules.
    {"zero", 0, "0"},
    {"one_digit", 5, "5"},
    {"capacity", 5200, "5,200"},
    {"short_fraction", 0.5, "0.5"},
    {"fraction_kept_whole", 12345.678, "12,345.678"},
    {"long_integer_part_with_fraction", 1234567.5, "1234,567.5"},
    {"whole_volts", 12, "12"},
    // Negative values keep their sign out of the count.
    {"negative_three_digits", -100, "-100"},
    {"negative_four_digits", -1000, "-1,000"},
    {"negative_volts", -12.5, "-12.5"},
    {"negative_four_before_point", -1234.5, "-1,234.5"},
};

INSTANTIATE_TEST_SUITE_P(Cases, FormatStrTest, ::testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace ambrelux
