// getStringParameter with a label that is not whole UTF-8, as found by
// fuzzing: the value must still end at its line's end.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "profiler/battery_info.h"

namespace ambrelux {
namespace {

struct Case {
  const char* name;
  std::string text;
  std::string key;
  std::string expected;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class MalformedLabel : public ::testing::TestWithParam<Case> {};

TEST_P(MalformedLabel, ValueStaysOnItsLine) {
  BatteryInfo info;
  EXPECT_EQ(info.getStringParameter(GetParam().text, GetParam().key), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedLabel,
    ::testing::Values(
        // The key is the first two bytes of the text's four-byte character.
        Case{"PartOfACharacterIsNoLabel", "\xF3\xBB\x92\x92\n\x92\x92\n", "\xF3\xBB", ""},
        Case{"TheSameBytesStandingAloneAre", "\xF3\xBB\x92\x92\n\xF3\xBB 7\n", "\xF3\xBB", "7"}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace ambrelux
