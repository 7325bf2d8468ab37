// InStr with texts to find that are not whole UTF-8: a match must be whole
// characters of the source at both of its ends, or a reader that steps
// Len(find) characters past it lands somewhere else than after the match.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "app/framework/text.h"

namespace ambrelux {
namespace {

struct Case {
  const char* name;
  std::string source;
  std::string find;
  std::int64_t expected;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class PartialCharacter : public ::testing::TestWithParam<Case> {};

TEST_P(PartialCharacter, MatchesOnlyWholeCharacters) {
  const Case& c = GetParam();
  const std::int64_t found = InStr(c.source, c.find);
  EXPECT_EQ(found, c.expected);
  if (found > 0) {
    EXPECT_EQ(Mid(c.source, found, Len(c.find)), c.find);
  }
}

// "\xF3\xBB\x92\x92" is one four-byte character; "\xF3\xBB" alone is two
// malformed bytes, one character each.
INSTANTIATE_TEST_SUITE_P(
    Cases, PartialCharacter,
    ::testing::Values(Case{"TheStartOfOneCharacter", "\xF3\xBB\x92\x92\n", "\xF3\xBB", 0},
                      Case{"FoundWhereItStandsAlone", "\xF3\xBB\x92\x92\xF3\xBBx", "\xF3\xBB", 2},
                      Case{"AsciiThenTheStartOfACharacter", "a\xC3\xA9", "a\xC3", 0},
                      Case{"TheEndOfACharacter", "\xC3\xA9", "\xA9", 0},
                      Case{"WholeCharactersStillFound",
                           "a\xC3\xA9"
                           "b",
                           "\xC3\xA9"
                           "b",
                           2},
                      Case{"EmptyFindAtTheStart", "\xF3\xBB\x92\x92", "", 1}),
    [](const auto& row) { return std::string(row.param.name); });

// The profiler reader's arithmetic: the line end searched from the match and
// the value taken from Len(find) characters after it. The match inside the
// four-byte character put the line end before the value's start.
TEST(PartialCharacter, ValueAfterALabelStaysOnItsLine) {
  const std::string text = "\xF3\xBB\x92\x92\n\x92\x92\n";
  const std::string key = "\xF3\xBB";
  const std::int64_t pos = InStr(text, key);
  const std::int64_t eol = InStr(pos, text, EndOfLine);
  const std::string value = pos > 0 ? Mid(text, pos + Len(key), eol - pos - Len(key)) : "";
  EXPECT_EQ(value.find('\n'), std::string::npos);
}

}  // namespace
}  // namespace ambrelux
