#include "status_window/parsers.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace ambrelux {
namespace {

std::string caseName(const char* name) { return name; }

// ---- Smart battery ------------------------------------------------------

struct LineCase {
  const char* name;
  std::string data;
  std::string key;
  std::string expected;
};

class ParseLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(ParseLineTest, ValueOfKey) {
  const LineCase& c = GetParam();
  EXPECT_EQ(parseLine(c.data, c.key), c.expected);
}

const LineCase kLineCases[] = {
    {"empty_value", "{\n  \"Voltage\" = \n}", "Voltage", ""},
    // Exactly one blank each side of "=".
    {"no_blanks_around_equals", "{\n  \"Voltage\"=12000\n}", "Voltage", ""},
    {"two_blanks_before_equals", "{\n  \"Voltage\"  = 12000\n}", "Voltage", ""},
    {"quote_keeps_longer_key_apart", "{\n  \"AbsoluteMaxCapacity\" = 9\n  \"MaxCapacity\" = 5200\n}",
     "MaxCapacity", "5200"},
    {"flags_at_end_of_dictionary", "{\n  \"Legacy\" = {\"Amperage\"=0,\"Flags\"=7}\n}", "Flags", "7"},
    {"flags_line_form_not_read", "{\n  \"Flags\" = 4\n}", "Flags", ""},
    {"flags_brace_missing", "{\n  \"Legacy\" = {\"Flags\"=7,", "Flags", ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, ParseLineTest, ::testing::ValuesIn(kLineCases),
                         [](const auto& row) { return caseName(row.param.name); });

TEST(CutSmartBatteryBlockTest, FromFirstBraceAfterTheMarkerLineToTheSecondClosing) {
  EXPECT_EQ(cutSmartBatteryBlock(
                "+-o Root\n  +-o AppleSmartBattery  <class AppleSmartBattery, {x}>\n    {\n"
                "      \"A\" = 1\n      \"L\" = {\"Flags\"=4}\n      \"B\" = 2\n    }\n+-o Next {}\n"),
            "{\n      \"A\" = 1\n      \"L\" = {\"Flags\"=4}\n      \"B\" = 2\n    }");
}

SmartBatteryReading readListing(const std::string& listing) {
  return readSmartBattery(cutSmartBatteryBlock(listing));
}

std::string smartListing(const std::string& properties) {
  return "+-o AppleSmartBattery  <class AppleSmartBattery>\n    {\n" + properties +
         "      \"Legacy\" = {\"Amperage\"=0,\"Flags\"=4,\"Voltage\"=1}\n    }\n";
}

TEST(SmartBatteryTest, YesNoKeys) {
  struct Case {
    const char* name;
    std::string properties;
    bool externalConnected, externalChargeCapable;
  };
  const Case cases[] = {
      {"charge capable ignored without external power",
       "      \"ExternalConnected\" = No\n      \"ExternalChargeCapable\" = Yes\n", false, false},
      {"charge capable absent on external power", "      \"ExternalConnected\" = Yes\n", true, false},
      {"charge capable on external power",
       "      \"ExternalConnected\" = Yes\n      \"ExternalChargeCapable\" = Yes\n", true, true},
      {"lower-case yes is no", "      \"ExternalConnected\" = yes\n      \"ExternalChargeCapable\" = Yes\n",
       false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SmartBatteryReading r = readListing(smartListing(c.properties));
    EXPECT_EQ(r.externalConnected, c.externalConnected);
    EXPECT_EQ(r.externalChargeCapable, c.externalChargeCapable);
  }
}

TEST(SmartBatteryTest, AbsentKeysReadAsZeroOrNo) {
  const SmartBatteryReading r = readListing(smartListing("      \"DesignCapacity\" = 5200\n"));
  EXPECT_EQ(r.design, 5200);
  EXPECT_EQ(r.max, 0);
  EXPECT_EQ(r.current, 0);
  EXPECT_EQ(r.cycles, 0);
  EXPECT_EQ(r.voltage, 0);  // the nested "Voltage"=1 is no line-form key
  EXPECT_EQ(r.flags, 4);
  EXPECT_FALSE(r.externalConnected);
  EXPECT_FALSE(r.isCharging);
  EXPECT_FALSE(r.batteryInstalled);
  EXPECT_FALSE(r.fullyCharged);
}

TEST(SmartBatteryTest, DesignCapacity) {
  struct Case {
    const char* name;
    std::string listing;
    std::int32_t design;
  };
  const Case cases[] = {
      // The block ends at a second nested dictionary's "}".
      {"after a second nested dictionary",
       "+-o AppleSmartBattery\n  {\n    \"A\" = {\"Flags\"=4}\n    \"B\" = {\"X\"=1}\n"
       "    \"DesignCapacity\" = 5200\n  }\n",
       0},
      {"before a second nested dictionary",
       "+-o AppleSmartBattery\n  {\n    \"DesignCapacity\" = 5200\n    \"A\" = {\"Flags\"=4}\n"
       "    \"B\" = {\"X\"=1}\n  }\n",
       5200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(readListing(c.listing).design, c.design);
  }
}

// ---- Older machines -----------------------------------------------------

class ParseOldLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(ParseOldLineTest, ValueOfKey) {
  const LineCase& c = GetParam();
  EXPECT_EQ(parseOldLine(c.data, c.key), c.expected);
}

const LineCase kOldLineCases[] = {
    {"entry_before_comma", "({\"Capacity\"=3000,\"Current\"=2500})", "Capacity", "3000"},
    {"last_entry_before_brace", "({\"Capacity\"=3000,\"Current\"=2500})", "Current", "2500"},
    {"capacity_not_inside_design_capacity", "({\"DesignCapacity\"=4000,\"Capacity\"=3000})", "Capacity",
     "3000"},
    {"only_design_capacity", "({\"DesignCapacity\"=4000})", "Capacity", ""},
    {"count_not_inside_cycle_count", "({\"Cycle Count\"=31})", "Count", ""},
    {"key_with_blank", "({\"Cycle Count\"=31})", "Cycle Count", "31"},
    // The "," is looked for across the end of the dictionary.
    {"last_entry_of_first_of_two", "({\"Capacity\"=3000,\"Flags\"=4},{\"Capacity\"=2000})", "Flags", "4}"},
    {"blank_before_equals", "({\"Capacity\" =3000})", "Capacity", ""},
    {"empty_value", "({\"DesignCapacity\"=,\"MaxCapacity\"=5})", "DesignCapacity", ""},
    {"no_terminator", "({\"Capacity\"=3000", "Capacity", ""},
    {"absent", "({\"Capacity\"=3000})", "Voltage", ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, ParseOldLineTest, ::testing::ValuesIn(kOldLineCases),
                         [](const auto& row) { return caseName(row.param.name); });

std::string macioLine(const std::string& dictionaries) {
  return "    | |   \"IOBatteryInfo\" = (" + dictionaries + ")\n    | |   \"name\" = <\"mac-io\">\n";
}

struct RecordCase {
  const char* name;
  std::string listing;
  std::optional<std::string> expected;
};

class CutBatteryInfoRecordTest : public ::testing::TestWithParam<RecordCase> {};

TEST_P(CutBatteryInfoRecordTest, Record) {
  const RecordCase& c = GetParam();
  EXPECT_EQ(cutBatteryInfoRecord(c.listing), c.expected);
}

const RecordCase kRecordCases[] = {
    {"one_dictionary", macioLine("{\"Capacity\"=3000,\"Flags\"=5}"),
     "IOBatteryInfo\" = ({\"Capacity\"=3000,\"Flags\"=5})\n"},
    {"first_flags_ten_is_not_one", macioLine("{\"Flags\"=10},{\"Capacity\"=3000}"),
     "IOBatteryInfo\" = ({\"Flags\"=10},{\"Capacity\"=3000})\n"},
    // The record's line is the one its first "{" stands on.
    {"brace_on_the_line_after_the_marker", "  \"IOBatteryInfo\" = (\n  {\"Capacity\"=3000})\n  \"name\"=1\n",
     "IOBatteryInfo\" = (\n  {\"Capacity\"=3000})\n"},
    // A record cut short right after its "Flags": nothing to read, so 0.
    {"cut_short_after_flags", "\"IOBatteryInfo\" = ({\"A\"=1},{\"Flags\n",
     "IOBatteryInfo\" = ({\"A\"=1},{\"Flags\n"},
};

INSTANTIATE_TEST_SUITE_P(Cases, CutBatteryInfoRecordTest, ::testing::ValuesIn(kRecordCases),
                         [](const auto& row) { return caseName(row.param.name); });

struct OldReadingCase {
  const char* name;
  std::string record;
  OldBatteryReading expected;
};

class ReadOldBatteryTest : public ::testing::TestWithParam<OldReadingCase> {};

TEST_P(ReadOldBatteryTest, Reading) {
  const OldReadingCase& c = GetParam();
  const OldBatteryReading r = readOldBattery(c.record);
  EXPECT_EQ(r.capacity, c.expected.capacity);
  EXPECT_EQ(r.cycles, c.expected.cycles);
  EXPECT_EQ(r.charge, c.expected.charge);
  EXPECT_EQ(r.voltage, c.expected.voltage);
  EXPECT_EQ(r.flags, c.expected.flags);
  EXPECT_EQ(r.design, c.expected.design);
}

// Fields: capacity, cycles, charge, voltage, flags, design.
const OldReadingCase kOldReadingCases[] = {
    {"all_keys",
     "{\"Capacity\"=3000,\"Count\"=31,\"Current\"=2500,\"Voltage\"=12603,\"Flags\"=5,\"DesignCapacity\"="
     "4000}",
     {3000, 31, 2500, 12603, 5, 4000}},
    {"count_before_cycle_count", "{\"Cycle Count\"=9,\"Count\"=31}", {0, 31, 0, 0, 0, 0}},
    {"both_cycle_keys_empty", "{\"Count\"=,\"Cycle Count\"=}", {0, -1, 0, 0, 0, 0}},
    {"cycles_not_a_number", "{\"Count\"=n/a}", {0, 0, 0, 0, 0, 0}},
    {"design_from_max_capacity",
     "{\"MaxCapacity\"=4100,\"AbsoluteMaxCapacity\"=4200}",
     {0, -1, 0, 0, 0, 4100}},
    {"design_capacity_first",
     "{\"AbsoluteMaxCapacity\"=1,\"MaxCapacity\"=2,\"DesignCapacity\"=3}",
     {0, -1, 0, 0, 0, 3}},
    // A record line without a line end after its "{" is cut to nothing.
    {"empty_record", "", {0, -1, 0, 0, 0, 0}},
};

INSTANTIATE_TEST_SUITE_P(Cases, ReadOldBatteryTest, ::testing::ValuesIn(kOldReadingCases),
                         [](const auto& row) { return caseName(row.param.name); });

TEST(ValueTextTest, ReadInt32AndIsYes) {
  const struct {
    const char* text;
    std::int32_t value;
  } numbers[] = {{"5200", 5200},
                 {"", 0},
                 {"-1", -1},
                 // A value that runs on to its dictionary's end or to the
                 // entries after it reads as its leading number.
                 {"4}", 4},
                 {"7,\"Capacity\"=5200", 7},
                 {"18446744073709551615", 2147483647}};
  for (const auto& c : numbers) EXPECT_EQ(readInt32(c.text), c.value) << c.text;
  EXPECT_TRUE(isYes("Yes"));
  for (const char* no : {"Yes ", "yes", ""}) EXPECT_FALSE(isYes(no)) << no;
}

}  // namespace
}  // namespace ambrelux
