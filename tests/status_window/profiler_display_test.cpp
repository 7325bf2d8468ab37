// The profiler-path refresh, from the power report to the controls.
#include <sstream>

#include "status_window/refresh_fixture.h"

namespace ambrelux::testing {
namespace {

// A half-charged battery on external power, not charging; cases replace or
// drop lines.
Entries report(const Entries& changes = {}, const std::vector<std::string>& dropped = {}) {
  Entries lines = {{"Battery Installed:", "Yes"},
                   {"Full Charge Capacity (mAh):", "4400"},
                   {"Remaining Capacity (mAh):", "2200"},
                   {"Voltage (mV):", "12000"},
                   {"Cycle Count:", "100"},
                   {"Connected:", "Yes"},
                   {"Charging:", "No"},
                   {"UPS Installed:", "No"}};
  for (const auto& [label, value] : changes) {
    bool found = false;
    for (auto& line : lines)
      if (line.first == label) line.second = value, found = true;
    if (!found) lines.emplace_back(label, value);
  }
  std::erase_if(lines, [&](const auto& l) { return std::ranges::count(dropped, l.first) > 0; });
  return lines;
}

class ProfilerDisplayTest : public RefreshTest {};

TEST_F(ProfilerDisplayTest, HalfChargedOnExternalPowerFillsEveryControl) {
  fake.setOutput(kProfilerReport, profilerReport(report()));
  ASSERT_EQ(window().dataMethod, 2);

  expectShown({{"maxCapacityField", ""},
               {"maxCapacityUnits", ""},
               {"capacityField", ""},
               {"capacityUnits", "4,400 mAh"},
               {"currentField", "50%"},
               {"currentUnits", "(2,200 mAh)"},
               {"cyclesFieldPercent", "25%"},
               {"cyclesField", "(100)"},
               {"voltageField", "12"}},
              {{"capacityBar", 0}, {"currentBar", 78}, {"lifeBar", 126}});
  EXPECT_EQ(flagsShown(), "acFlag batFlag chargedFlag");
  for (const char* hidden : {"capacityBG", "capacityBarLabel", "originalCapacityLabel"})
    EXPECT_FALSE(visible(hidden)) << hidden;
}

TEST_F(ProfilerDisplayTest, SampleReport) {
  fake.setOutput(kProfilerReport, readTestData("profiler/power-report.txt"));
  EXPECT_EQ(text("capacityUnits"), "4,436 mAh");
  EXPECT_EQ(text("currentField"), "89%");
  EXPECT_EQ(text("currentUnits"), "(3,948 mAh)");
  EXPECT_EQ(width("currentBar"), 140);
  // 9.5 rounds half away from zero.
  EXPECT_EQ(text("cyclesFieldPercent"), "10%");
  EXPECT_EQ(text("cyclesField"), "(38)");
  EXPECT_EQ(width("lifeBar"), 145);
  EXPECT_EQ(text("voltageField"), "12.308");
  EXPECT_EQ(flagsShown(), "acFlag chFlag batFlag");
}

// The texts follow the formulas, even at and beyond the limits; a bar never
// leaves its frame and nothing fails.
struct NumberCase {
  const char* name;
  Entries report;
  Texts texts;
  Widths widths;
};

class ProfilerNumbersTest : public ProfilerDisplayTest, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(ProfilerNumbersTest, Display) {
  const NumberCase& c = GetParam();
  fake.setOutput(kProfilerReport, profilerReport(c.report));
  ASSERT_EQ(window().dataMethod, 2);
  expectShown(c.texts, c.widths);
}

const NumberCase kNumberCases[] = {
    {"four_hundred_cycles",
     report({{"Cycle Count:", "400"}}),
     {{"cyclesFieldPercent", "100%"}, {"cyclesField", "(400)"}},
     {{"lifeBar", 30}}},
    // The life bar's formula gives -2 here.
    {"five_hundred_cycles",
     report({{"Cycle Count:", "500"}}),
     {{"cyclesFieldPercent", "125%"}, {"cyclesField", "(500)"}},
     {{"lifeBar", 0}}},
    // The count has no thousands separator.
    {"cycles_above_999",
     report({{"Cycle Count:", "1480"}}),
     {{"cyclesFieldPercent", "370%"}, {"cyclesField", "(1480)"}},
     {{"lifeBar", 0}}},
    {"no_cycle_count_line",
     report({}, {"Cycle Count:"}),
     {{"cyclesFieldPercent", "0%"}, {"cyclesField", "(0)"}},
     {{"lifeBar", 158}}},
    // The charge bar's formula gives -2 here.
    {"nothing_remaining",
     report({{"Remaining Capacity (mAh):", "0"}}),
     {{"currentField", "0%"}, {"currentUnits", "(0 mAh)"}},
     {{"currentBar", 0}}},
    {"remaining_above_full_charge",
     report({{"Remaining Capacity (mAh):", "4500"}}),
     {{"currentField", "102%"}, {"currentUnits", "(4,500 mAh)"}},
     {{"currentBar", 160}}},
    {"remaining_equal_to_full_charge",
     report({{"Remaining Capacity (mAh):", "4400"}}),
     {{"currentField", "100%"}},
     {{"currentBar", 158}}},
    {"voltage_with_fraction", report({{"Voltage (mV):", "12603"}}), {{"voltageField", "12.603"}}, {}},
    {"no_voltage_line", report({}, {"Voltage (mV):"}), {{"voltageField", "0"}}, {}},
    {"small_full_charge",
     report({{"Full Charge Capacity (mAh):", "999"}, {"Remaining Capacity (mAh):", "999"}}),
     {{"capacityUnits", "999 mAh"}, {"currentUnits", "(999 mAh)"}},
     {{"capacityBar", 0}}},
    // Blanks between the label and its value are dropped.
    {"several_blanks_before_value",
     report({{"Full Charge Capacity (mAh):", "     4400"}}),
     {{"capacityUnits", "4,400 mAh"}, {"currentField", "50%"}},
     {}},
    {"largest_readings",
     report({{"Full Charge Capacity (mAh):", "1"},
             {"Remaining Capacity (mAh):", "2147483647"},
             {"Cycle Count:", "2147483647"},
             {"Voltage (mV):", "2147483647"}}),
     {{"capacityUnits", "1 mAh"},
      {"currentField", "214748364700%"},
      {"currentUnits", "(2147483,647 mAh)"},
      {"cyclesFieldPercent", "536870912%"},
      {"cyclesField", "(2147483647)"},
      {"voltageField", "2147,483.647"}},
     {{"currentBar", 160}, {"lifeBar", 0}}},
    // Readings are 32-bit: a wider number stops at the largest one.
    {"readings_beyond_32_bits",
     report({{"Full Charge Capacity (mAh):", "99999999999"},
             {"Remaining Capacity (mAh):", "99999999999"},
             {"Cycle Count:", "99999999999"}}),
     {{"capacityUnits", "2147483,647 mAh"}, {"currentField", "100%"}, {"cyclesField", "(2147483647)"}},
     {{"currentBar", 158}, {"lifeBar", 0}}},
    {"negative_readings",
     report({{"Remaining Capacity (mAh):", "-2200"}, {"Cycle Count:", "-300"}, {"Voltage (mV):", "-12000"}}),
     {{"currentField", "-50%"},
      {"currentUnits", "(-2,200 mAh)"},
      {"cyclesFieldPercent", "-75%"},
      {"cyclesField", "(-300)"},
      {"voltageField", "-12"}},
     {{"currentBar", 0}, {"lifeBar", 160}}},
    {"most_negative_cycles",
     report({{"Cycle Count:", "-2147483648"}}),
     {{"cyclesFieldPercent", "-536870912%"}, {"cyclesField", "(-2147483648)"}},
     {{"lifeBar", 160}}},
    {"cycles_far_beyond_500",
     report({{"Cycle Count:", "100000"}}),
     {{"cyclesFieldPercent", "25000%"}, {"cyclesField", "(100000)"}},
     {{"lifeBar", 0}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, ProfilerNumbersTest, ::testing::ValuesIn(kNumberCases),
                         [](const auto& row) { return std::string(row.param.name); });

struct FlagCase {
  const char* name;
  Entries report;
  std::string shown;
};

class ProfilerFlagsTest : public ProfilerDisplayTest, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(ProfilerFlagsTest, Indicators) {
  fake.setOutput(kProfilerReport, profilerReport(GetParam().report));
  EXPECT_EQ(flagsShown(), GetParam().shown);
}

const FlagCase kFlagCases[] = {
    {"charging_is_not_charged", report({{"Charging:", "Yes"}}), "acFlag chFlag batFlag"},
    {"no_power_is_not_charged", report({{"Connected:", "No"}}), "batFlag"},
    {"no_power_whatever_else",
     report({{"Connected:", "No"}, {"Battery Installed:", "No"}, {"Charging:", "Yes"}}), "chFlag"},
    {"not_installed_is_not_charged", report({{"Battery Installed:", "No"}}), "acFlag"},
    {"connection_line_absent", report({}, {"Connected:"}), "batFlag"},
    {"low_warning", report({{"First low level warning:", "Yes"}}), "acFlag batFlag lowFlag chargedFlag"},
    {"ups_installed", report({{"UPS Installed:", "Yes"}}), "acFlag batFlag upsFlag chargedFlag"},
    // Trailing blanks stay, so "Yes " is not "Yes".
    {"yes_with_trailing_blank", report({{"Connected:", "Yes "}}), "batFlag"},
    {"nothing_reported", report({}, {"Connected:", "Charging:", "Battery Installed:", "UPS Installed:"}), ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, ProfilerFlagsTest, ::testing::ValuesIn(kFlagCases),
                         [](const auto& row) { return std::string(row.param.name); });

// No full-charge capacity above 0: the failure pattern.
struct NoDataCase {
  const char* name;
  std::string output;
  int exitStatus;
};

class ProfilerNoDataTest : public ProfilerDisplayTest, public ::testing::WithParamInterface<NoDataCase> {};

TEST_P(ProfilerNoDataTest, FailurePattern) {
  fake.setOutput(kProfilerReport, GetParam().output, GetParam().exitStatus);
  ASSERT_EQ(window().dataMethod, 2);
  expectDisplayCleared(window());
  EXPECT_EQ(fake.messages, std::vector<std::string>{"Unable to read battery status data."});
  EXPECT_TRUE(window().batteryWarningIssued);
  // The reader is kept all the same.
  EXPECT_NE(window().batInfo, nullptr);
}

const NoDataCase kNoDataCases[] = {
    {"no_battery_sample", readTestData("profiler/no-battery.txt"), 0},
    {"no_full_charge_line", profilerReport(report({}, {"Full Charge Capacity (mAh):"})), 0},
    {"zero_full_charge", profilerReport(report({{"Full Charge Capacity (mAh):", "0"}})), 0},
    {"negative_full_charge", profilerReport(report({{"Full Charge Capacity (mAh):", "-4400"}})), 0},
    {"non_numeric_full_charge", profilerReport(report({{"Full Charge Capacity (mAh):", "n/a"}})), 0},
    {"empty_full_charge_value", profilerReport(report({{"Full Charge Capacity (mAh):", ""}})), 0},
    // A good text from a failed run is not read.
    {"command_failed", profilerReport(report()), 1},
    {"tool_missing", "", 127},
    {"empty_output", "", 0},
};

INSTANTIATE_TEST_SUITE_P(Cases, ProfilerNoDataTest, ::testing::ValuesIn(kNoDataCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(ProfilerDisplayTest, OneReaderServesEveryRefresh) {
  fake.setOutput(kProfilerReport, profilerReport(report()));
  const BatteryInfo* reader = window().batInfo.get();
  ASSERT_NE(reader, nullptr);
  fake.setOutput(kProfilerReport, "", 1);
  refresh();
  fake.setOutput(kProfilerReport, profilerReport(report({{"Remaining Capacity (mAh):", "1100"}})));
  refresh();
  EXPECT_EQ(window().batInfo.get(), reader);
  EXPECT_EQ(text("currentField"), "25%");
}

// Runs of the report per refresh: one more before the refresh when no
// report is held, one more for the capacity when this refresh's run failed.
struct RunsCase {
  const char* name;
  std::string outcomes;  // one letter per refresh, the first at opening: o succeeds, x fails
  std::vector<int> runs;
};

class ProfilerRunsTest : public ProfilerDisplayTest, public ::testing::WithParamInterface<RunsCase> {};

TEST_P(ProfilerRunsTest, ReportRunsPerRefresh) {
  const RunsCase& c = GetParam();
  std::vector<int> runs;
  for (std::size_t i = 0; i < c.outcomes.size(); ++i) {
    if (c.outcomes[i] == 'o') fake.setOutput(kProfilerReport, profilerReport(report()));
    else fake.setOutput(kProfilerReport, "", 1);
    const int before = fake.runs(kProfilerReport);
    if (i == 0) window();
    else refresh();
    runs.push_back(fake.runs(kProfilerReport) - before);
    EXPECT_EQ(window().batteryWarningIssued, c.outcomes[i] == 'x') << "refresh " << i + 1;
  }
  EXPECT_EQ(runs, c.runs);
}

const RunsCase kRunsCases[] = {
    {"succeeding", "ooo", {2, 1, 1}},
    {"failing_from_the_start", "xxx", {3, 3, 3}},
    {"failing_after_success", "ox", {2, 2}},
    {"mixed", "oxxoo", {2, 2, 3, 2, 1}},
};

INSTANTIATE_TEST_SUITE_P(Cases, ProfilerRunsTest, ::testing::ValuesIn(kRunsCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(ProfilerDisplayTest, ListingsRunOnceThenTheReportTwiceAtOpening) {
  fake.setOutput(kProfilerReport, profilerReport(report()));
  window();
  EXPECT_EQ(fake.commands,
            (std::vector<std::string>{kSmartListing, kMacIOListing, kProfilerReport, kProfilerReport}));
}

// When this refresh's own run fails, the readings come from the run that
// the capacity reading then makes.
TEST_F(ProfilerDisplayTest, FailedRunIsRetriedByTheCapacityReading) {
  fake.setOutput(kProfilerReport, profilerReport(report()));
  window();
  fake.queueOutput(kProfilerReport, "", 1);
  fake.setOutput(kProfilerReport, profilerReport(report({{"Remaining Capacity (mAh):", "1100"}})));
  const int before = fake.runs(kProfilerReport);
  refresh();
  EXPECT_EQ(fake.runs(kProfilerReport) - before, 2);
  EXPECT_EQ(text("currentField"), "25%");
  EXPECT_FALSE(window().batteryWarningIssued);
  EXPECT_TRUE(fake.messages.empty());
}

}  // namespace
}  // namespace ambrelux::testing
