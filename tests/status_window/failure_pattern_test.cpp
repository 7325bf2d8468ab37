// A refresh without usable data clears the display, and the message shows
// once per run of failed refreshes, on each of the three sources.
#include <set>

#include "status_window/refresh_fixture.h"

namespace ambrelux::testing {
namespace {

struct SourceCase {
  const char* name;
  const char* command;  // the refresh's command
  std::string good;
  std::string bad;
  int badExitStatus;
  bool probed;  // the probe runs the same command and must see the source
  int dataMethod;
};

void PrintTo(const SourceCase& c, std::ostream* os) { *os << c.name; }

class FailurePatternTest : public RefreshTest, public ::testing::WithParamInterface<SourceCase> {
 protected:
  void answer(bool good) {
    const SourceCase& c = GetParam();
    if (good) fake.setOutput(c.command, c.good);
    else fake.setOutput(c.command, c.bad, c.badExitStatus);
  }

  // Everything the clearing must leave alone.
  std::vector<ControlState> untouchedByClearing() {
    std::set<std::string> cleared(std::begin(kValueFields), std::end(kValueFields));
    for (const BarInFrame& b : kBars) cleared.insert(b.bar);
    cleared.insert(std::begin(kFlags), std::end(kFlags));
    auto states = snapshot();
    std::erase_if(states, [&](const ControlState& s) { return cleared.count(s.name) > 0; });
    return states;
  }
};

const std::vector<std::string> kOneMessage = {"Unable to read battery status data."};
const std::vector<std::string> kTwoMessages = {kOneMessage[0], kOneMessage[0]};

TEST_P(FailurePatternTest, FailFailSucceedFail) {
  const SourceCase& c = GetParam();
  if (c.probed) fake.queueOutput(c.command, c.good);
  answer(false);
  // The message is recorded as shown only once the box is dismissed.
  std::vector<bool> issuedWhileShowing;
  fake.whileMessageShows = [&] { issuedWhileShowing.push_back(window().batteryWarningIssued); };

  // 1: the first refresh fails; the layout's bars and overlays go too.
  ASSERT_EQ(window().dataMethod, c.dataMethod);
  expectDisplayCleared(window());
  EXPECT_EQ(fake.messages, kOneMessage);
  EXPECT_TRUE(window().batteryWarningIssued);

  // 2: cleared again, silently.
  scribble();
  window().updateStatus();
  expectDisplayCleared(window());
  EXPECT_EQ(fake.messages, kOneMessage);
  EXPECT_TRUE(window().batteryWarningIssued);

  // 3: a success re-arms the message.
  answer(true);
  window().updateStatus();
  EXPECT_NE(text("currentField"), "");
  EXPECT_NE(width("currentBar"), 0);
  EXPECT_EQ(fake.messages, kOneMessage);
  EXPECT_FALSE(window().batteryWarningIssued);

  // 4: the message shows again.
  answer(false);
  window().updateStatus();
  expectDisplayCleared(window());
  EXPECT_EQ(fake.messages, kTwoMessages);
  EXPECT_TRUE(window().batteryWarningIssued);
  EXPECT_EQ(issuedWhileShowing, (std::vector<bool>{false, false}));
}

TEST_P(FailurePatternTest, ClearingLeavesEveryOtherControlAsItWas) {
  answer(true);
  window();
  const auto before = untouchedByClearing();
  answer(false);
  for (const char* refresh : {"with the message", "without it"}) {
    SCOPED_TRACE(refresh);
    window().updateStatus();
    EXPECT_EQ(untouchedByClearing(), before);
  }
}

const SourceCase kSources[] = {
    {"smart_battery", kSmartListing, readTestData("ioreg/smart-battery.txt"),
     smartListing({{"DesignCapacity", "0"}, {"MaxCapacity", "5200"}}, 16), 0, true, 0},
    {"smart_battery_tool_failing", kSmartListing, readTestData("ioreg/smart-battery.txt"), "", 1, true, 0},
    {"older_machine", kMacIOListing, readTestData("ioreg/macio-one-battery.txt"),
     macioListing({{{"Capacity", "0"}, {"Current", "2500"}, {"Flags", "5"}}}), 0, true, 1},
    {"system_profiler", kProfilerReport, readTestData("profiler/power-report.txt"), "", 1, false, 2},
    {"system_profiler_without_battery", kProfilerReport, readTestData("profiler/power-report.txt"),
     readTestData("profiler/no-battery.txt"), 0, false, 2},
};

INSTANTIATE_TEST_SUITE_P(Sources, FailurePatternTest, ::testing::ValuesIn(kSources),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace ambrelux::testing
