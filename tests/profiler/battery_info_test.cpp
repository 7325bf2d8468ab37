#include "profiler/battery_info.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/fake_platform.h"

namespace ambrelux {
namespace {

using testing::FakePlatform;
using testing::readTestData;

const std::string kReport = "system_profiler SPPowerDataType";

// What the profiler refresh of the window asks, in its order.
void windowRefresh(BatteryInfo& info) {
  info.getBatteryInfo();
  info.updateBatteryInfo();
  info.getBatteryCapacity();
  info.getRemainingCapacity();
  info.getBatteryCycleCount();
  info.getBatteryVoltage();
  info.getACconnected();
  info.getBatteryCharging();
  info.getBatteryInstalled();
  info.get1stLowLevelWarn();
  info.getUPSInstalled();
}

TEST(BatteryInfoTest, ReadsEveryGetterFromTheReport) {
  FakePlatform fake;
  fake.setOutput(kReport, readTestData("profiler/power-report.txt"));
  BatteryInfo info;

  EXPECT_EQ(info.getBatteryCapacity(), 4436);
  EXPECT_EQ(info.getRemainingCapacity(), 3948);
  EXPECT_EQ(info.getBatteryAmperage(), -1066);
  EXPECT_EQ(info.getBatteryVoltage(), 12308);
  EXPECT_EQ(info.getBatteryCycleCount(), 38);
  EXPECT_TRUE(info.getBatteryInstalled());
  EXPECT_FALSE(info.get1stLowLevelWarn());
  EXPECT_TRUE(info.getACconnected());
  EXPECT_TRUE(info.getBatteryCharging());
  EXPECT_FALSE(info.getUPSInstalled());
  EXPECT_EQ(fake.runs(kReport), 1);  // one run serves every reading
  EXPECT_EQ(info.theBatteryInfo, readTestData("profiler/power-report.txt"));
}

TEST(BatteryInfoTest, ReportWithoutBatteryGivesZeroAndNo) {
  FakePlatform fake;
  fake.setOutput(kReport, readTestData("profiler/no-battery.txt"));
  BatteryInfo info;

  EXPECT_EQ(info.getBatteryCapacity(), 0);
  EXPECT_EQ(info.getRemainingCapacity(), 0);
  EXPECT_EQ(info.getBatteryCycleCount(), 0);
  EXPECT_EQ(info.getBatteryVoltage(), 0);
  EXPECT_FALSE(info.getBatteryInstalled());
  EXPECT_FALSE(info.getACconnected());
  EXPECT_FALSE(info.getBatteryCharging());
  EXPECT_FALSE(info.getUPSInstalled());
  EXPECT_EQ(fake.runs(kReport), 1);
}

// Each yes/no getter must read its own label: with every other label
// saying the opposite, only its own decides.
struct YesNoCase {
  const char* name;
  const char* label;
  std::function<bool(BatteryInfo&)> get;
};

class YesNoGetterTest : public ::testing::TestWithParam<YesNoCase> {};

std::string reportWith(const char* label, const char* value, const char* others) {
  std::string text = "Battery Information:\n";
  for (const char* l :
       {"Battery Installed:", "First low level warning:", "Connected:", "Charging:", "UPS Installed:"}) {
    text += std::string("      ") + l + " " + (std::string(l) == label ? value : others) + "\n";
  }
  return text;
}

TEST_P(YesNoGetterTest, ReadsItsOwnLabel) {
  const YesNoCase& c = GetParam();
  FakePlatform fake;
  {
    fake.setOutput(kReport, reportWith(c.label, "Yes", "No"));
    BatteryInfo info;
    EXPECT_TRUE(c.get(info));
  }
  {
    fake.setOutput(kReport, reportWith(c.label, "No", "Yes"));
    BatteryInfo info;
    EXPECT_FALSE(c.get(info));
  }
}

const YesNoCase kYesNoCases[] = {
    {"BatteryInstalled", "Battery Installed:", [](BatteryInfo& i) { return i.getBatteryInstalled(); }},
    {"FirstLowLevelWarn", "First low level warning:", [](BatteryInfo& i) { return i.get1stLowLevelWarn(); }},
    {"ACconnected", "Connected:", [](BatteryInfo& i) { return i.getACconnected(); }},
    {"BatteryCharging", "Charging:", [](BatteryInfo& i) { return i.getBatteryCharging(); }},
    {"UPSInstalled", "UPS Installed:", [](BatteryInfo& i) { return i.getUPSInstalled(); }},
};

INSTANTIATE_TEST_SUITE_P(Getters, YesNoGetterTest, ::testing::ValuesIn(kYesNoCases),
                         [](const auto& row) { return std::string(row.param.name); });

struct ParameterCase {
  const char* name;
  std::string text;
  std::string key;
  std::string expected;
};

class GetStringParameterTest : public ::testing::TestWithParam<ParameterCase> {};

TEST_P(GetStringParameterTest, ValueAfterTheLabel) {
  const ParameterCase& c = GetParam();
  BatteryInfo info;
  EXPECT_EQ(info.getStringParameter(c.text, c.key), c.expected);
}

const ParameterCase kParameterCases[] = {
    {"value_after_a_blank", "Cycle Count: 5\n", "Cycle Count:", "5"},
    {"several_blanks_removed", "Charging:    Yes\n", "Charging:", "Yes"},
    {"tab_removed", "Cycle Count:\t9\n", "Cycle Count:", "9"},
    {"trailing_blank_kept", "Charging: Yes \n", "Charging:", "Yes "},
    {"label_ends_its_line", "Charging:\nConnected: Yes\n", "Charging:", ""},
    {"label_absent", "Connected: Yes\n", "Charging:", ""},
    {"empty_text", "", "Charging:", ""},
    {"second_of_two_lines", "Model: X\nVoltage (mV): 12560\n", "Voltage (mV):", "12560"},
    // A plain substring search: the first occurrence decides, even inside a
    // longer label or a value on an earlier line.
    {"inside_a_longer_label", "Battery Charging: No\nCharging: Yes\n", "Charging:", "No"},
    {"inside_an_earlier_value", "Note: Charging: maybe\nCharging: Yes\n", "Charging:", "maybe"},
    // No line end after the last line: the value runs to the end of the text.
    {"last_line_without_line_end", "Model: X\nCycle Count: 7", "Cycle Count:", "7"},
    {"label_at_the_very_end", "Model: X\nCharging:", "Charging:", ""},
    // Characters, not bytes: a multi-byte letter before the label must not
    // shift the cut.
    {"non_ascii_before_the_label", "Modèle: ñ€\nCycle Count: 12\n", "Cycle Count:", "12"},
    {"non_ascii_value", "Name: Señor\n", "Name:", "Señor"},
    // A label that is part of a character is no label: the value must not
    // run past its line's end. The same bytes standing alone are one.
    {"part_of_a_character_is_no_label", "\xF3\xBB\x92\x92\n\x92\x92\n", "\xF3\xBB", ""},
    {"same_bytes_standing_alone_are_a_label", "\xF3\xBB\x92\x92\n\xF3\xBB 7\n", "\xF3\xBB", "7"},
};

INSTANTIATE_TEST_SUITE_P(Cases, GetStringParameterTest, ::testing::ValuesIn(kParameterCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(BatteryInfoTest, NumberAndYesNoValues) {
  const struct {
    const char* name;
    const char* report;
    std::function<std::int32_t(BatteryInfo&)> get;
    std::int32_t expected;
  } cases[] = {
      {"fraction dropped", "Voltage (mV): 12.9\n", [](BatteryInfo& i) { return i.getBatteryVoltage(); }, 12},
      {"empty value", "Cycle Count:\n", [](BatteryInfo& i) { return i.getBatteryCycleCount(); }, 0},
      {"unterminated last line", "Remaining Capacity (mAh): 3948",
       [](BatteryInfo& i) { return i.getRemainingCapacity(); }, 3948},
      {"charging lower case", "Charging: yes\n",
       [](BatteryInfo& i) { return i.getBatteryCharging() ? 1 : 0; }, 0},
      {"yes on an unterminated last line", "Charging: Yes",
       [](BatteryInfo& i) { return i.getBatteryCharging() ? 1 : 0; }, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakePlatform fake;
    fake.setOutput(kReport, c.report);
    BatteryInfo info;
    EXPECT_EQ(c.get(info), c.expected);
  }
}

TEST(BatteryInfoTest, NewObjectRunsOnceForItsFirstGetterOnly) {
  FakePlatform fake;
  fake.setOutput(kReport, "Cycle Count: 5\n");
  BatteryInfo info;
  EXPECT_EQ(info.theBatteryInfo, "");
  EXPECT_EQ(fake.runs(kReport), 0);

  EXPECT_EQ(info.getBatteryCycleCount(), 5);
  EXPECT_EQ(fake.runs(kReport), 1);
  info.getBatteryCapacity();
  info.getACconnected();
  info.getBatteryInfo();
  EXPECT_EQ(fake.runs(kReport), 1);
}

TEST(BatteryInfoTest, UpdateReplacesTheTextOrEmptiesItOnFailure) {
  FakePlatform fake;
  fake.queueOutput(kReport, "Cycle Count: 5\n");
  fake.queueOutput(kReport, "Cycle Count: 6\n");
  fake.queueOutput(kReport, "Cycle Count: 7\n", 1);
  BatteryInfo info;

  info.updateBatteryInfo();
  EXPECT_EQ(info.theBatteryInfo, "Cycle Count: 5\n");
  info.updateBatteryInfo();
  EXPECT_EQ(info.theBatteryInfo, "Cycle Count: 6\n");  // replaced, not appended
  info.updateBatteryInfo();
  EXPECT_EQ(info.theBatteryInfo, "");  // a failed run drops the good text
  EXPECT_EQ(fake.runs(kReport), 3);
}

TEST(BatteryInfoTest, EmptyOutputIsRetriedLikeAFailure) {
  FakePlatform fake;
  fake.setOutput(kReport, "", 0);
  BatteryInfo info;
  EXPECT_EQ(info.getBatteryInfo(), "");
  EXPECT_EQ(info.getBatteryInfo(), "");
  EXPECT_EQ(fake.runs(kReport), 2);
}

TEST(BatteryInfoTest, WhileTheCommandFailsEveryReadingCostsARun) {
  FakePlatform fake;
  fake.setOutput(kReport, "Full Charge Capacity (mAh): 4436\nCharging: Yes\n", 1);
  BatteryInfo info;
  windowRefresh(info);
  // getBatteryInfo, updateBatteryInfo and the nine readings.
  EXPECT_EQ(fake.runs(kReport), 11);
  EXPECT_EQ(info.getBatteryCapacity(), 0);
  EXPECT_FALSE(info.getBatteryCharging());
}

// The getters reach the text and the label lookup through the object's own
// overridable operations.
class CannedBatteryInfo : public BatteryInfo {
 public:
  std::string getBatteryInfo() override {
    ++infoCalls;
    return "Cycle Count: 5\nCharging: Yes\n";
  }
  std::string getStringParameter(std::string_view text, std::string_view key) override {
    keys.emplace_back(key);
    return BatteryInfo::getStringParameter(text, key);
  }
  int infoCalls = 0;
  std::vector<std::string> keys;
};

TEST(BatteryInfoTest, GettersCallTheOverridableOperations) {
  FakePlatform fake;
  CannedBatteryInfo info;
  EXPECT_EQ(info.getBatteryCycleCount(), 5);
  EXPECT_TRUE(info.getBatteryCharging());
  EXPECT_EQ(info.infoCalls, 2);
  EXPECT_EQ(info.keys, (std::vector<std::string>{"Cycle Count:", "Charging:"}));
  EXPECT_EQ(fake.runs(kReport), 0);
}

}  // namespace
}  // namespace ambrelux
