// The smart-battery refresh, from the listing to the controls.
#include <algorithm>

#include "status_window/refresh_fixture.h"

namespace ambrelux::testing {
namespace {

// A half-charged battery charging on external power; cases change a few keys.
Entries charging(const Entries& changes = {}, const std::vector<std::string>& removed = {}) {
  Entries entries = {
      {"DesignCapacity", "5200"}, {"MaxCapacity", "5200"},     {"CurrentCapacity", "2600"},
      {"CycleCount", "100"},      {"Voltage", "12000"},        {"ExternalConnected", "Yes"},
      {"IsCharging", "Yes"},      {"BatteryInstalled", "Yes"}, {"ExternalChargeCapable", "Yes"},
      {"FullyCharged", "No"}};
  for (const auto& change : changes) {
    auto it = std::ranges::find(entries, change.first, &Entries::value_type::first);
    if (it != entries.end()) it->second = change.second;
    else entries.push_back(change);
  }
  std::erase_if(entries, [&](const auto& e) { return std::ranges::count(removed, e.first) > 0; });
  return entries;
}

class SmartBatteryTest : public RefreshTest {};

TEST_F(SmartBatteryTest, ChargingOnExternalPowerFillsEveryControl) {
  fake.setOutput(kSmartListing, readTestData("ioreg/smart-battery.txt"));
  ASSERT_EQ(window().dataMethod, 0);

  expectShown({{"maxCapacityField", "100%"},
               {"maxCapacityUnits", "(5,200 mAh)"},
               {"capacityField", "100%"},
               {"capacityUnits", "(5,200 mAh)"},
               {"currentField", "50%"},
               {"currentUnits", "(2,600 mAh)"},
               {"cyclesFieldPercent", "25%"},
               {"cyclesField", "(100)"},
               {"voltageField", "12"}},
              {{"capacityBar", 158}, {"currentBar", 78}, {"lifeBar", 126}});
  EXPECT_EQ(flagsShown(), "acFlag chFlag batFlag lowFlag");
  // This path never touches the design row's caption or the capacity frame.
  EXPECT_TRUE(visible("originalCapacityLabel"));
  EXPECT_TRUE(visible("capacityBG"));
  EXPECT_TRUE(visible("capacityBarLabel"));
}

// The texts follow the formulas, even at and beyond the limits; a bar never
// leaves its frame and nothing fails.
struct NumberCase {
  const char* name;
  Entries block;
  Texts texts;
  Widths widths;
};

class SmartNumbersTest : public SmartBatteryTest, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(SmartNumbersTest, Display) {
  const NumberCase& c = GetParam();
  fake.setOutput(kSmartListing, smartListing(c.block, 16));
  ASSERT_EQ(window().dataMethod, 0);
  expectShown(c.texts, c.widths);
  refresh();
  expectDisplaySound(window());
}

const NumberCase kNumberCases[] = {
    // The formula gives 166; the bar stops at its frame, the text does not.
    {"full_charge_above_design",
     charging({{"MaxCapacity", "5460"}}),
     {{"capacityField", "105%"}, {"capacityUnits", "(5,460 mAh)"}},
     {{"capacityBar", 160}}},
    // The charge is measured against the full-charge capacity.
    {"charge_against_full_charge",
     charging({{"MaxCapacity", "4000"}, {"CurrentCapacity", "1000"}}),
     {{"capacityField", "77%"}, {"currentField", "25%"}},
     {{"capacityBar", 121}, {"currentBar", 38}}},
    {"charge_above_full_charge",
     charging({{"CurrentCapacity", "6000"}}),
     {{"currentField", "115%"}},
     {{"currentBar", 160}}},
    {"no_cycle_count",
     charging({}, {"CycleCount"}),
     {{"cyclesFieldPercent", "0%"}, {"cyclesField", "(0)"}},
     {{"lifeBar", 158}}},
    {"four_hundred_cycles",
     charging({{"CycleCount", "400"}}),
     {{"cyclesFieldPercent", "100%"}, {"cyclesField", "(400)"}},
     {{"lifeBar", 30}}},
    // The life bar's formula gives -2 here.
    {"five_hundred_cycles",
     charging({{"CycleCount", "500"}}),
     {{"cyclesFieldPercent", "125%"}, {"cyclesField", "(500)"}},
     {{"lifeBar", 0}}},
    {"cycles_beyond_500",
     charging({{"CycleCount", "501"}}),
     {{"cyclesFieldPercent", "125%"}},
     {{"lifeBar", 0}}},
    // The count has no thousands separator.
    {"cycles_above_999",
     charging({{"CycleCount", "1480"}}),
     {{"cyclesFieldPercent", "370%"}, {"cyclesField", "(1480)"}},
     {{"lifeBar", 0}}},
    {"cycles_far_beyond_500",
     charging({{"CycleCount", "100000"}}),
     {{"cyclesFieldPercent", "25000%"}, {"cyclesField", "(100000)"}},
     {{"lifeBar", 0}}},
    // 2.5 rounds half away from zero.
    {"ten_cycles_round_half_up",
     charging({{"CycleCount", "10"}}),
     {{"cyclesFieldPercent", "3%"}},
     {{"lifeBar", 154}}},
    {"voltage_with_fraction", charging({{"Voltage", "12603"}}), {{"voltageField", "12.603"}}, {}},
    {"seven_digits_get_one_separator",
     charging({{"DesignCapacity", "1234567"}, {"MaxCapacity", "1234567"}}),
     {{"maxCapacityUnits", "(1234,567 mAh)"}, {"capacityField", "100%"}},
     {{"capacityBar", 158}}},
    {"small_capacity_has_no_separator",
     charging({{"DesignCapacity", "999"}, {"MaxCapacity", "999"}}),
     {{"maxCapacityUnits", "(999 mAh)"}},
     {}},
    // The block ends at the second "}", so what follows it reads as absent.
    {"second_nested_dictionary_ends_the_block",
     {{"DesignCapacity", "5200"},
      {"MaxCapacity", "5200"},
      {"CurrentCapacity", "2600"},
      {"First", "{\"A\"=1}"},
      {"Second", "{\"B\"=2}"},
      {"CycleCount", "100"},
      {"Voltage", "12000"}},
     {{"capacityField", "100%"}, {"cyclesField", "(0)"}, {"voltageField", "0"}},
     {{"lifeBar", 158}}},
    // A key given twice is read from its first line.
    {"keys_repeated",
     followedBy(charging(), {{"DesignCapacity", "9999"}, {"MaxCapacity", "9999"}}),
     {{"maxCapacityUnits", "(5,200 mAh)"}, {"capacityUnits", "(5,200 mAh)"}},
     {}},
    // Without a full-charge capacity the charge shows as mAh only: the
    // ratio over 0 would read "inf%" or "nan%" and fill the bar.
    {"full_charge_absent",
     charging({}, {"MaxCapacity"}),
     {{"capacityField", "0%"}, {"currentField", ""}, {"currentUnits", "(2,600 mAh)"}},
     {{"capacityBar", 0}, {"currentBar", 0}}},
    {"full_charge_0_with_charge",
     charging({{"MaxCapacity", "0"}, {"CurrentCapacity", "2400"}}),
     {{"capacityField", "0%"}, {"currentField", ""}, {"currentUnits", "(2,400 mAh)"}},
     {{"capacityBar", 0}, {"currentBar", 0}}},
    {"full_charge_and_charge_absent",
     charging({}, {"MaxCapacity", "CurrentCapacity"}),
     {{"currentField", ""}, {"currentUnits", "(0 mAh)"}},
     {{"currentBar", 0}}},
    {"tiny_design",
     charging({{"DesignCapacity", "1"}}),
     {{"maxCapacityUnits", "(1 mAh)"}, {"capacityField", "520000%"}},
     {{"capacityBar", 160}}},
    {"largest_readings",
     charging({{"DesignCapacity", "2147483647"},
               {"MaxCapacity", "2147483647"},
               {"CurrentCapacity", "2147483647"},
               {"CycleCount", "2147483647"},
               {"Voltage", "2147483647"}}),
     {{"maxCapacityUnits", "(2147483,647 mAh)"},
      {"capacityField", "100%"},
      {"currentField", "100%"},
      {"cyclesFieldPercent", "536870912%"},
      {"cyclesField", "(2147483647)"},
      {"voltageField", "2147,483.647"}},
     {{"lifeBar", 0}}},
    // Readings are 32-bit: a wider number stops at the largest one.
    {"readings_beyond_32_bits",
     charging({{"MaxCapacity", "99999999999"},
               {"CurrentCapacity", "99999999999"},
               {"CycleCount", "99999999999"},
               {"Voltage", "99999999999"}}),
     {{"capacityField", "41297762%"},
      {"capacityUnits", "(2147483,647 mAh)"},
      {"currentField", "100%"},
      {"cyclesField", "(2147483647)"},
      {"voltageField", "2147,483.647"}},
     {{"capacityBar", 160}}},
    {"design_beyond_32_bits",
     charging({{"DesignCapacity", "99999999999"}}),
     {{"maxCapacityUnits", "(2147483,647 mAh)"}, {"capacityField", "0%"}},
     {{"capacityBar", 0}}},
    {"full_charge_beyond_32_bits",
     charging({{"MaxCapacity", "99999999999"}}),
     {{"capacityField", "41297762%"}, {"capacityUnits", "(2147483,647 mAh)"}, {"currentField", "0%"}},
     {{"currentBar", 0}}},
    {"negative_readings",
     charging({{"MaxCapacity", "-4800"},
               {"CurrentCapacity", "-2400"},
               {"CycleCount", "-5"},
               {"Voltage", "-12000"}}),
     {{"capacityField", "-92%"},
      {"capacityUnits", "(-4,800 mAh)"},
      {"currentUnits", "(-2,400 mAh)"},
      {"cyclesFieldPercent", "-1%"},
      {"cyclesField", "(-5)"},
      {"voltageField", "-12"}},
     {{"capacityBar", 0}}},
    // Beyond the other end: bars at 0 and at their full frames.
    {"negative_full_charge_many_cycles",
     charging({{"MaxCapacity", "-5200"}, {"CurrentCapacity", "-100"}, {"CycleCount", "600"}}),
     {{"capacityField", "-100%"}, {"currentField", ""}, {"cyclesFieldPercent", "150%"}},
     {{"capacityBar", 0}, {"currentBar", 0}, {"lifeBar", 0}}},
    {"negative_cycles_fill_the_life_bar",
     charging({{"CycleCount", "-300"}}),
     {{"cyclesFieldPercent", "-75%"}, {"cyclesField", "(-300)"}},
     {{"lifeBar", 160}}},
    {"most_negative_cycles",
     charging({{"CycleCount", "-2147483648"}}),
     {{"cyclesFieldPercent", "-536870912%"}, {"cyclesField", "(-2147483648)"}},
     {{"lifeBar", 160}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, SmartNumbersTest, ::testing::ValuesIn(kNumberCases),
                         [](const auto& row) { return std::string(row.param.name); });

struct FlagCase {
  const char* name;
  Entries block;
  std::optional<std::string> flags;
  std::string shown;
};

class SmartFlagsTest : public SmartBatteryTest, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(SmartFlagsTest, Indicators) {
  const FlagCase& c = GetParam();
  fake.setOutput(kSmartListing, smartListing(c.block, c.flags));
  EXPECT_EQ(flagsShown(), c.shown);
}

const std::vector<std::string> kNoYesNo = {"ExternalConnected", "IsCharging", "BatteryInstalled",
                                           "ExternalChargeCapable", "FullyCharged"};

const FlagCase kFlagCases[] = {
    {"external_power_that_cannot_charge", charging({{"ExternalChargeCapable", "No"}, {"IsCharging", "No"}}),
     "0", "acFlag batFlag noChargeFlag"},
    {"charge_capability_absent_on_external_power", charging({}, {"ExternalChargeCapable"}), "0",
     "acFlag chFlag batFlag noChargeFlag"},
    // Without external power the capability is not even read.
    {"no_external_power_hides_not_chargeable",
     charging({{"ExternalConnected", "No"}, {"ExternalChargeCapable", "No"}}), "0", "chFlag batFlag"},
    {"fully_charged", charging({{"IsCharging", "No"}, {"FullyCharged", "Yes"}}), "0",
     "acFlag batFlag chargedFlag"},
    {"absent_answers_count_as_no", charging({}, kNoYesNo), "0", ""},
    {"only_yes_is_true",
     charging({{"ExternalConnected", "No"}, {"IsCharging", "Yes "}, {"BatteryInstalled", "1"}}), "0", ""},
    // Bits 0x01, 0x02, 0x04 and 0x40 are not read on this path.
    {"power_bits_ignored", charging({}, kNoYesNo), "71", ""},
    {"ups_installed", charging({}, kNoYesNo), "8", "upsFlag"},
    // The depleted flag stays as the bits say on this path.
    {"depleted", charging({}, kNoYesNo), "32", "emptyFlag"},
    {"ups_low_depleted", charging({}, kNoYesNo), "56", "upsFlag lowFlag emptyFlag"},
    // A negative value is widened with its sign: every bit is set.
    {"all_bits", charging({}, kNoYesNo), "-1", "upsFlag lowFlag emptyFlag"},
    {"flags_absent", charging({}, kNoYesNo), std::nullopt, ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, SmartFlagsTest, ::testing::ValuesIn(kFlagCases),
                         [](const auto& row) { return std::string(row.param.name); });

// Each of these comes to "no design capacity": the display is cleared and
// the message shows.
struct NoDataCase {
  const char* name;
  std::string listing;
};

class SmartNoDataTest : public SmartBatteryTest, public ::testing::WithParamInterface<NoDataCase> {};

TEST_P(SmartNoDataTest, FailurePattern) {
  // The probe still sees a smart battery; the first refresh gets the case.
  fake.queueOutput(kSmartListing, readTestData("ioreg/smart-battery.txt"));
  fake.setOutput(kSmartListing, GetParam().listing);
  ASSERT_EQ(window().dataMethod, 0);
  expectDisplayCleared(window());
  EXPECT_EQ(fake.messages, std::vector<std::string>{"Unable to read battery status data."});
  EXPECT_TRUE(window().batteryWarningIssued);
  EXPECT_TRUE(visible("originalCapacityLabel"));
  EXPECT_TRUE(visible("capacityBG"));
  EXPECT_TRUE(visible("capacityBarLabel"));
}

std::string withoutSecondBrace() {
  std::string listing = smartListing(charging(), 16);
  return listing.substr(0, listing.rfind('}'));
}

std::string withoutLineEnds(std::string listing) {
  std::ranges::replace(listing, '\n', ' ');
  return listing;
}

const NoDataCase kNoDataCases[] = {
    {"empty_output", ""},
    {"no_marker",
     "+-o Root  <class IORegistryEntry>\n  {\n    \"DesignCapacity\" = 5200\n    \"L\" = {\"Flags\"=4}\n  "
     "}\n"},
    {"no_design_capacity", smartListing(charging({}, {"DesignCapacity"}), 16)},
    {"zero_design_capacity", smartListing(charging({{"DesignCapacity", "0"}}), 16)},
    {"negative_design_capacity", smartListing(charging({{"DesignCapacity", "-5200"}}), 16)},
    {"non_numeric_design_capacity", smartListing(charging({{"DesignCapacity", "abc"}}), 16)},
    {"block_with_one_closing_brace", withoutSecondBrace()},
    {"lone_opening_brace", "AppleSmartBattery \"DesignCapacity\" = 5200\n{"},
    {"lone_closing_brace", "AppleSmartBattery \"DesignCapacity\" = 5200\n}\n"},
    // Without line ends no line-form value ends, so none is read.
    {"listing_without_line_ends", withoutLineEnds(smartListing(charging(), 16))},
    // A line-form key never matches a compact entry of the nested dictionary.
    {"design_only_in_nested_dictionary",
     smartListing(charging({}, {"DesignCapacity"}), std::string("16,\"DesignCapacity\"=5200"))},
};

INSTANTIATE_TEST_SUITE_P(Cases, SmartNoDataTest, ::testing::ValuesIn(kNoDataCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(SmartBatteryTest, EveryRefreshRunsTheListingAgain) {
  fake.setOutput(kSmartListing, smartListing(charging(), 16));
  window();
  fake.setOutput(kSmartListing, smartListing(charging({{"CurrentCapacity", "1300"}}), 16));
  refresh();
  EXPECT_EQ(fake.runs(kSmartListing), 3);
  EXPECT_EQ(text("currentField"), "25%");
}

}  // namespace
}  // namespace ambrelux::testing
