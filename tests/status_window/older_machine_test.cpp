// The older machines' refresh, from the IOBatteryInfo record to the controls.
#include "status_window/refresh_fixture.h"

namespace ambrelux::testing {
namespace {

// A battery with the values of the sample listing; cases replace entries.
Entries battery(const Entries& changes = {}) {
  Entries entries = {{"Capacity", "3000"}, {"Count", "31"}, {"Current", "2500"},
                     {"Voltage", "12603"}, {"Flags", "5"},  {"DesignCapacity", "4000"}};
  for (const auto& [key, value] : changes) {
    bool found = false;
    for (auto& entry : entries)
      if (entry.first == key) entry.second = value, found = true;
    if (!found) entries.emplace_back(key, value);
  }
  return entries;
}

Entries without(Entries entries, const std::vector<std::string>& keys) {
  std::erase_if(entries, [&](const auto& e) { return std::ranges::count(keys, e.first) > 0; });
  return entries;
}

// A second battery that differs from battery() in every reading.
const Entries kOther = {{"Capacity", "4200"}, {"Count", "212"}, {"Current", "3900"},
                        {"Voltage", "12410"}, {"Flags", "7"},   {"DesignCapacity", "4600"}};

class OlderMachineTest : public RefreshTest {};

TEST_F(OlderMachineTest, OneBatteryFillsEveryControl) {
  fake.setOutput(kMacIOListing, readTestData("ioreg/macio-one-battery.txt"));
  ASSERT_EQ(window().dataMethod, 1);

  // Nothing is subtracted on this path: a full bar is as wide as its frame.
  expectShown({{"maxCapacityField", "100%"},
               {"maxCapacityUnits", "(4,000 mAh)"},
               {"capacityField", "75%"},
               {"capacityUnits", "(3,000 mAh)"},
               {"currentField", "83%"},
               {"currentUnits", "(2,500 mAh)"},
               {"cyclesFieldPercent", "8%"},
               {"cyclesField", "(31)"},
               {"voltageField", "12.603"}},
              {{"capacityBar", 120}, {"currentBar", 133}, {"lifeBar", 150}});
  EXPECT_EQ(flagsShown(), "acFlag batFlag chargedFlag");
}

TEST_F(OlderMachineTest, SuccessHidesTheCapacityFrameCaptionsAndTwoFlags) {
  // Depleted and not chargeable: both flags still end hidden.
  fake.setOutput(kMacIOListing, macioListing({battery({{"Flags", "101"}})}));
  EXPECT_EQ(flagsShown(), "acFlag batFlag");
  EXPECT_FALSE(visible("emptyFlag"));
  EXPECT_FALSE(visible("noChargeFlag"));
  EXPECT_FALSE(visible("capacityBG"));
  EXPECT_FALSE(visible("capacityBarLabel"));
  // The design row shows its figure without its caption.
  EXPECT_FALSE(visible("originalCapacityLabel"));
  EXPECT_EQ(text("maxCapacityField"), "100%");
  // The bar itself is not hidden.
  EXPECT_TRUE(visible("capacityBar"));
  EXPECT_TRUE(visible("currentBG"));
  EXPECT_TRUE(visible("lifeBG"));
}

TEST_F(OlderMachineTest, EveryRefreshRunsTheListingOnTheWindowsRunner) {
  fake.setOutput(kMacIOListing, macioListing({battery()}));
  const Shell* runner = window().sh.get();
  fake.setOutput(kMacIOListing, macioListing({battery({{"Current", "1500"}})}));
  refresh();
  EXPECT_EQ(window().sh.get(), runner);
  EXPECT_EQ(fake.commands,
            (std::vector<std::string>{kSmartListing, kMacIOListing, kMacIOListing, kMacIOListing}));
  EXPECT_EQ(text("currentField"), "50%");
}

struct CapacityRowCase {
  const char* name;
  Entries battery;
  std::string maxCapacityField, maxCapacityUnits, capacityField, capacityUnits;
  int capacityBar;
};

class CapacityRowTest : public OlderMachineTest, public ::testing::WithParamInterface<CapacityRowCase> {};

TEST_P(CapacityRowTest, ForACapacityOf3000) {
  const CapacityRowCase& c = GetParam();
  fake.setOutput(kMacIOListing, macioListing({c.battery}));
  EXPECT_EQ(text("maxCapacityField"), c.maxCapacityField);
  EXPECT_EQ(text("maxCapacityUnits"), c.maxCapacityUnits);
  EXPECT_EQ(text("capacityField"), c.capacityField);
  EXPECT_EQ(text("capacityUnits"), c.capacityUnits);
  EXPECT_EQ(width("capacityBar"), c.capacityBar);
}

const Entries kNoDesign = without(battery(), {"DesignCapacity"});

const CapacityRowCase kCapacityRowCases[] = {
    // A ratio over 0 is no length: the bar is empty.
    {"no_design", kNoDesign, "", "", "", " 3,000 mAh", 0},
    {"design_0", battery({{"DesignCapacity", "0"}}), "", "", "", " 3,000 mAh", 0},
    // Only 0 takes the row without design.
    {"design_minus_5", battery({{"DesignCapacity", "-5"}}), "100%", "(-5 mAh)", "-60000%", "(3,000 mAh)", 0},
    // The formula gives 192, beyond the frame.
    {"design_2500", battery({{"DesignCapacity", "2500"}}), "100%", "(2,500 mAh)", "120%", "(3,000 mAh)", 160},
    {"design_from_max_capacity", without(battery({{"MaxCapacity", "4000"}}), {"DesignCapacity"}), "100%",
     "(4,000 mAh)", "75%", "(3,000 mAh)", 120},
    {"design_from_absolute_max_capacity",
     without(battery({{"AbsoluteMaxCapacity", "2500"}}), {"DesignCapacity"}), "100%", "(2,500 mAh)", "120%",
     "(3,000 mAh)", 160},
    {"design_capacity_comes_first", battery({{"MaxCapacity", "2500"}, {"AbsoluteMaxCapacity", "1000"}}),
     "100%", "(4,000 mAh)", "75%", "(3,000 mAh)", 120},
    // An empty value text counts as absent, and the next key is tried.
    {"empty_design_tries_next_key", battery({{"DesignCapacity", ""}, {"MaxCapacity", "4000"}}), "100%",
     "(4,000 mAh)", "75%", "(3,000 mAh)", 120},
};

INSTANTIATE_TEST_SUITE_P(Cases, CapacityRowTest, ::testing::ValuesIn(kCapacityRowCases),
                         [](const auto& row) { return std::string(row.param.name); });

struct FlagCase {
  const char* name;
  std::string flags;
  std::string shown;
};

class OldFlagsTest : public OlderMachineTest, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(OldFlagsTest, Indicators) {
  fake.setOutput(kMacIOListing, macioListing({battery({{"Flags", GetParam().flags}})}));
  EXPECT_EQ(flagsShown(), GetParam().shown);
}

const FlagCase kFlagCases[] = {
    {"none", "0", ""},
    // External power and no battery installed.
    {"ac_only_0x01", "1", "acFlag"},
    {"charging_0x07", "7", "acFlag chFlag batFlag"},
    // Not chargeable keeps it from counting as charged, and is itself hidden.
    {"not_chargeable_0x45", "69", "acFlag batFlag"},
    {"depleted_0x20_ends_hidden", "32", ""},
    {"ups_0x08", "8", "upsFlag"},
    {"low_0x10", "16", "lowFlag"},
    {"battery_without_ac_0x04", "4", "batFlag"},
    {"charged_with_ups_0x0D", "13", "acFlag batFlag upsFlag chargedFlag"},
    {"low_bits_0x1F", "31", "acFlag chFlag batFlag upsFlag lowFlag"},
    {"all_bits", "-1", "acFlag chFlag batFlag upsFlag lowFlag"},
};

INSTANTIATE_TEST_SUITE_P(Cases, OldFlagsTest, ::testing::ValuesIn(kFlagCases),
                         [](const auto& row) { return std::string(row.param.name); });

// Which battery of the record is shown.
struct ChoiceCase {
  const char* name;
  std::string listing;
  std::string capacityUnits, currentUnits, cyclesField, voltageField, maxCapacityUnits, flags;
};

class BatteryChoiceTest : public OlderMachineTest, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(BatteryChoiceTest, Readings) {
  const ChoiceCase& c = GetParam();
  fake.setOutput(kMacIOListing, c.listing);
  EXPECT_EQ(text("capacityUnits"), c.capacityUnits);
  EXPECT_EQ(text("currentUnits"), c.currentUnits);
  EXPECT_EQ(text("cyclesField"), c.cyclesField);
  EXPECT_EQ(text("voltageField"), c.voltageField);
  EXPECT_EQ(text("maxCapacityUnits"), c.maxCapacityUnits);
  EXPECT_EQ(flagsShown(), c.flags);
  EXPECT_FALSE(window().batteryWarningIssued);
}

const Entries kAcOnly = {{"Flags", "1"}, {"Capacity", "0"}, {"Current", "0"}};

const ChoiceCase kChoiceCases[] = {
    {"two_first_external_power_only_sample", readTestData("ioreg/macio-two-batteries.txt"), "(4,200 mAh)",
     "(3,900 mAh)", "(212)", "12.41", "(4,600 mAh)", "acFlag chFlag batFlag"},
    {"two_first_flags_1", macioListing({kAcOnly, kOther}), "(4,200 mAh)", "(3,900 mAh)", "(212)", "12.41",
     "(4,600 mAh)", "acFlag chFlag batFlag"},
    {"two_first_flags_4", macioListing({battery({{"Flags", "4"}}), kOther}), "(3,000 mAh)", "(2,500 mAh)",
     "(31)", "12.603", "(4,000 mAh)", "batFlag"},
    {"two_first_flags_5", macioListing({battery({{"Flags", "5"}}), kOther}), "(3,000 mAh)", "(2,500 mAh)",
     "(31)", "12.603", "(4,000 mAh)", "acFlag batFlag chargedFlag"},
    {"two_first_flags_7", macioListing({battery({{"Flags", "7"}}), kOther}), "(3,000 mAh)", "(2,500 mAh)",
     "(31)", "12.603", "(4,000 mAh)", "acFlag chFlag batFlag"},
    {"two_first_flags_0", macioListing({battery({{"Flags", "0"}}), kOther}), "(3,000 mAh)", "(2,500 mAh)",
     "(31)", "12.603", "(4,000 mAh)", ""},
    // "Flags" closes the first dictionary: its "}" is ignored by the number.
    {"two_first_flags_1_as_last_entry", macioListing({{{"Capacity", "0"}, {"Flags", "1"}}, kOther}),
     "(4,200 mAh)", "(3,900 mAh)", "(212)", "12.41", "(4,600 mAh)", "acFlag chFlag batFlag"},
    {"two_first_flags_5_as_last_entry",
     macioListing({followedBy(without(battery(), {"Flags"}), {{"Flags", "5"}}), kOther}), "(3,000 mAh)",
     "(2,500 mAh)", "(31)", "12.603", "(4,000 mAh)", "acFlag batFlag chargedFlag"},
    // The second battery lacks voltage and design; the third supplies them.
    {"three_first_flags_1_sample", readTestData("ioreg/macio-three-batteries.txt"), "(3,600 mAh)",
     "(1,800 mAh)", "(75)", "11.8", "(4,000 mAh)", "batFlag"},
    {"three_first_flags_1",
     macioListing({kAcOnly,
                   without(kOther, {"Voltage", "DesignCapacity"}),
                   {{"Capacity", "1"}, {"Voltage", "11800"}, {"DesignCapacity", "5000"}, {"Count", "1"}}}),
     "(4,200 mAh)", "(3,900 mAh)", "(212)", "11.8", "(5,000 mAh)", "acFlag chFlag batFlag"},
    // Without any "Flags" the first battery is shown.
    {"two_without_flags", macioListing({without(battery(), {"Flags"}), without(kOther, {"Flags"})}),
     "(3,000 mAh)", "(2,500 mAh)", "(31)", "12.603", "(4,000 mAh)", ""},
    // With no "{" after the marker the rest of the listing is read.
    {"record_without_braces",
     macioListingWithRecord("(\"Capacity\"=3000,\"Current\"=2500,\"Count\"=31,\"Voltage\"=12603,\"Flags\"=5,"
                            "\"DesignCapacity\"=4000)"),
     "(3,000 mAh)", "(2,500 mAh)", "(31)", "12.603", "(4,000 mAh)", "acFlag batFlag chargedFlag"},
};

INSTANTIATE_TEST_SUITE_P(Cases, BatteryChoiceTest, ::testing::ValuesIn(kChoiceCases),
                         [](const auto& row) { return std::string(row.param.name); });

struct CycleCase {
  const char* name;
  Entries battery;
  std::string percent, count;
  int lifeBar;
};

class OldCyclesTest : public OlderMachineTest, public ::testing::WithParamInterface<CycleCase> {};

TEST_P(OldCyclesTest, CycleRow) {
  const CycleCase& c = GetParam();
  fake.setOutput(kMacIOListing, macioListing({c.battery}));
  EXPECT_EQ(text("cyclesFieldPercent"), c.percent);
  EXPECT_EQ(text("cyclesField"), c.count);
  EXPECT_EQ(width("lifeBar"), c.lifeBar);
}

const CycleCase kCycleCases[] = {
    {"count_0", battery({{"Count", "0"}}), "0%", "(0)", 160},
    {"count_400", battery({{"Count", "400"}}), "100%", "(400)", 32},
    {"count_500", battery({{"Count", "500"}}), "125%", "(500)", 0},
    {"count_beyond_500", battery({{"Count", "600"}}), "150%", "(600)", 0},
    {"cycle_count_instead_of_count", without(battery({{"Cycle Count", "31"}}), {"Count"}), "8%", "(31)", 150},
    {"count_before_cycle_count", battery({{"Count", "100"}, {"Cycle Count", "31"}}), "25%", "(100)", 128},
    {"empty_count_tries_cycle_count", battery({{"Count", ""}, {"Cycle Count", "31"}}), "8%", "(31)", 150},
    {"neither", without(battery(), {"Count"}), "Not", "available", 0},
    {"minus_one_means_unknown", battery({{"Count", "-1"}}), "Not", "available", 0},
    // -0.5 rounds away from zero; the bar's formula gives 160.64.
    {"minus_two_is_a_reading", battery({{"Count", "-2"}}), "-1%", "(-2)", 160},
    // The count has no thousands separator.
    {"count_above_999", battery({{"Count", "1480"}}), "370%", "(1480)", 0},
};

INSTANTIATE_TEST_SUITE_P(Cases, OldCyclesTest, ::testing::ValuesIn(kCycleCases),
                         [](const auto& row) { return std::string(row.param.name); });

// Readings up to, at and beyond the limits: the texts follow the formulas,
// the bars stay in their frames.
struct ExtremeCase {
  const char* name;
  Entries battery;
  Texts texts;
  Widths widths;
};

class OldExtremesTest : public OlderMachineTest, public ::testing::WithParamInterface<ExtremeCase> {};

TEST_P(OldExtremesTest, TextsFollowTheFormulas) {
  const ExtremeCase& c = GetParam();
  fake.setOutput(kMacIOListing, macioListing({c.battery}));
  ASSERT_EQ(window().dataMethod, 1);
  expectShown(c.texts, c.widths);
}

const ExtremeCase kExtremeCases[] = {
    // Nothing is subtracted on this path: a full bar is as wide as its frame.
    {"charge_equal_to_capacity",
     battery({{"Current", "3000"}}),
     {{"currentField", "100%"}},
     {{"currentBar", 160}}},
    {"charge_above_capacity",
     battery({{"Current", "3300"}}),
     {{"currentField", "110%"}},
     {{"currentBar", 160}}},
    {"largest_readings",
     battery({{"Capacity", "2147483647"},
              {"Current", "2147483647"},
              {"Count", "2147483647"},
              {"Voltage", "2147483647"},
              {"DesignCapacity", "1"}}),
     {{"capacityField", "214748364700%"},
      {"cyclesFieldPercent", "536870912%"},
      {"cyclesField", "(2147483647)"},
      {"voltageField", "2147,483.647"}},
     {{"capacityBar", 160}, {"currentBar", 160}, {"lifeBar", 0}}},
    {"readings_beyond_32_bits",
     battery({{"Capacity", "99999999999"}, {"Current", "99999999999"}, {"Count", "99999999999"}}),
     {{"capacityUnits", "(2147483,647 mAh)"}, {"currentField", "100%"}, {"cyclesField", "(2147483647)"}},
     {{"capacityBar", 160}, {"currentBar", 160}, {"lifeBar", 0}}},
    // Only -1 means unknown cycles, and only 0 an unknown design.
    {"negative_readings",
     battery({{"Current", "-2500"}, {"Count", "-300"}, {"Voltage", "-5"}, {"DesignCapacity", "-4000"}}),
     {{"maxCapacityField", "100%"},
      {"maxCapacityUnits", "(-4,000 mAh)"},
      {"capacityField", "-75%"},
      {"currentField", "-83%"},
      {"cyclesFieldPercent", "-75%"},
      {"cyclesField", "(-300)"},
      {"voltageField", "-0.005"}},
     {{"capacityBar", 0}, {"currentBar", 0}, {"lifeBar", 160}}},
    {"most_negative_cycles",
     battery({{"Count", "-2147483648"}}),
     {{"cyclesFieldPercent", "-536870912%"}, {"cyclesField", "(-2147483648)"}},
     {{"lifeBar", 160}}},
    {"cycles_far_beyond_500",
     battery({{"Count", "100000"}}),
     {{"cyclesFieldPercent", "25000%"}, {"cyclesField", "(100000)"}},
     {{"lifeBar", 0}}},
    {"no_design_tiny_capacity",
     battery({{"Capacity", "1"}, {"DesignCapacity", "0"}}),
     {{"maxCapacityField", ""}, {"capacityUnits", " 1 mAh"}, {"currentField", "250000%"}},
     {{"capacityBar", 0}, {"currentBar", 160}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, OldExtremesTest, ::testing::ValuesIn(kExtremeCases),
                         [](const auto& row) { return std::string(row.param.name); });

// "IOBatteryInfo" is there but gives no capacity: the failure pattern.
struct NoCapacityCase {
  const char* name;
  std::string listing;
};

class OldNoCapacityTest : public OlderMachineTest, public ::testing::WithParamInterface<NoCapacityCase> {};

TEST_P(OldNoCapacityTest, FailurePattern) {
  fake.setOutput(kMacIOListing, GetParam().listing);
  ASSERT_EQ(window().dataMethod, 1);
  expectDisplayCleared(window());
  EXPECT_EQ(fake.messages, std::vector<std::string>{"Unable to read battery status data."});
  EXPECT_TRUE(window().batteryWarningIssued);
}

const NoCapacityCase kNoCapacityCases[] = {
    {"no_capacity_entry", macioListing({without(battery(), {"Capacity"})})},
    {"capacity_0", macioListing({battery({{"Capacity", "0"}})})},
    {"negative_capacity", macioListing({battery({{"Capacity", "-5"}})})},
    {"non_numeric_capacity", macioListing({battery({{"Capacity", "abc"}})})},
    {"empty_capacity", macioListing({battery({{"Capacity", ""}})})},
    {"record_line_without_line_end", macioListingWithRecord("({\"Capacity\"=3000,\"Flags\"=5})", false)},
    // The only battery behind an external-power-only entry has no capacity.
    {"second_battery_without_capacity", macioListing({kAcOnly, without(kOther, {"Capacity"})})},
};

INSTANTIATE_TEST_SUITE_P(Cases, OldNoCapacityTest, ::testing::ValuesIn(kNoCapacityCases),
                         [](const auto& row) { return std::string(row.param.name); });

// A listing that no longer reports the property changes nothing at all.
TEST_F(OlderMachineTest, ListingWithoutBatteryInfoAfterSuccessChangesNothing) {
  fake.setOutput(kMacIOListing, readTestData("ioreg/macio-one-battery.txt"));
  const auto before = snapshot();
  fake.setOutput(kMacIOListing, readTestData("ioreg/macio-no-battery-info.txt"));
  refresh();
  EXPECT_EQ(fake.runs(kMacIOListing), 3);
  EXPECT_EQ(snapshot(), before);
  EXPECT_FALSE(window().batteryWarningIssued);
  EXPECT_TRUE(fake.messages.empty());
}

TEST_F(OlderMachineTest, ListingWithoutBatteryInfoAfterFailureChangesNothing) {
  fake.setOutput(kMacIOListing, macioListing({battery({{"Capacity", "0"}})}));
  ASSERT_TRUE(window().batteryWarningIssued);
  // Marks the cleared display, so a second clearing would show.
  scribble();
  const auto before = snapshot();
  for (const char* listing : {"", "+-o Root  <class IORegistryEntry>\n"}) {
    fake.setOutput(kMacIOListing, listing);
    refresh();
    EXPECT_EQ(snapshot(), before);
  }
  EXPECT_TRUE(window().batteryWarningIssued);
  EXPECT_EQ(fake.messages.size(), 1u);
}

TEST_F(OlderMachineTest, FirstRefreshWithoutBatteryInfoLeavesTheLayout) {
  fake.queueOutput(kMacIOListing, macioListing({battery()}));  // the probe's run
  fake.setOutput(kMacIOListing, readTestData("ioreg/macio-no-battery-info.txt"));
  ASSERT_EQ(window().dataMethod, 1);
  EXPECT_EQ(text("capacityField"), "");
  EXPECT_EQ(width("capacityBar"), 137);
  EXPECT_TRUE(visible("capacityBG"));
  EXPECT_TRUE(visible("originalCapacityLabel"));
  EXPECT_EQ(flagsShown(), "acFlag chFlag batFlag upsFlag lowFlag emptyFlag noChargeFlag");
  EXPECT_FALSE(window().batteryWarningIssued);
  EXPECT_TRUE(fake.messages.empty());
}

}  // namespace
}  // namespace ambrelux::testing
