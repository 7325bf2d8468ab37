// Each sample power-supply tree through the three outputs, read back the way
// Ambrelux's readers read them.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "reader_checks.h"
#include "status_window/parsers.h"
#include "tools/ioreg_format.h"
#include "tools/profiler_format.h"

namespace ambrelux::tools {
namespace {

using testing::oldValue;
using testing::profilerValue;
using testing::smartValue;

constexpr std::optional<int> no;  // reading absent

struct TreeCase {
  const char* tree;
  bool battery;  // the first battery's readings follow
  std::optional<int> design, full, remaining, cycles, voltage, amperage;
  unsigned flags;  // of the first battery; only 0x01 and 0x08 without one
  bool fullyCharged;
};

const TreeCase kTrees[] = {
    {"ac_charging", true, 5200, 4800, 2400, 100, 12000, 1500, 0x07, false},
    // 57 Wh / 11.4 V = 5000 mAh; 9.44 W / 11.8 V = 800 mA; cycle_count 0 is unknown
    {"energy_discharging", true, 5000, 4500, 2000, no, 11800, -800, 0x04, false},
    // BAT0 shown; it has no cycle count, and BAT1's must not stand in for it
    {"two_batteries", true, 2000, 1900, 1000, no, 11100, -700, 0x04, false},
    // the mouse's low battery sorts first and is no part of the machine's state
    {"peripheral", true, 4382, 4100, 3280, 31, 12700, 0, 0x05, false},
    {"ac_only", false, no, no, no, no, no, no, 0x01, false},
    {"full", true, 6000, 5500, 5500, 412, 12900, 0, 0x05, true},
    {"ups", true, 4000, 3800, 380, 250, 10900, -2100, 0x1C, false},
    {"dead_battery", true, 4400, 600, 0, 1480, 9000, 0, 0x75, false},
    // no design capacity, so the smart listing must let the probe fall through
    {"garbage", true, no, 4000, no, no, no, no, 0x04, false},
};

std::string treeName(const TreeCase& c) {
  std::string name = c.tree;
  for (char& ch : name) ch = ch == '_' ? '-' : ch;
  return name;
}

std::string shown(std::optional<int> value) { return value ? std::to_string(*value) : ""; }
std::string yesNo(bool value) { return value ? "Yes" : "No"; }

class Listings : public ::testing::TestWithParam<TreeCase> {
 protected:
  const TreeCase& c = GetParam();
  const PowerState state =
      powerStateFrom(readSupplies(std::string(AMBRELUX_TEST_DATA) + "/power_supply/" + treeName(c)));
  bool bit(unsigned mask) const { return (c.flags & mask) == mask; }
};

TEST_P(Listings, SmartBatteryListingReadsAsTheTreeSays) {
  const std::string listing = smartBatteryListing(state);
  EXPECT_EQ(listing.find("AppleSmartBattery") != std::string::npos, c.battery);
  // The probe picks this listing exactly when it holds a design capacity.
  ASSERT_EQ(listing.find("DesignCapacity") != std::string::npos, c.design.has_value());
  if (!c.design) return;
  EXPECT_EQ(smartValue(listing, "DesignCapacity"), shown(c.design));
  EXPECT_EQ(smartValue(listing, "MaxCapacity"), shown(c.full));
  EXPECT_EQ(smartValue(listing, "CurrentCapacity"), shown(c.remaining));
  EXPECT_EQ(smartValue(listing, "CycleCount"), shown(c.cycles));
  EXPECT_EQ(smartValue(listing, "Voltage"), shown(c.voltage));
  EXPECT_EQ(readInt32(smartValue(listing, "Flags")), static_cast<std::int32_t>(c.flags));
  EXPECT_EQ(smartValue(listing, "ExternalConnected"), yesNo(bit(0x01)));
  EXPECT_EQ(smartValue(listing, "IsCharging"), yesNo(bit(0x02)));
  EXPECT_EQ(smartValue(listing, "BatteryInstalled"), "Yes");
  EXPECT_EQ(smartValue(listing, "ExternalChargeCapable"), yesNo(bit(0x01) && !bit(0x40)));
  EXPECT_EQ(smartValue(listing, "FullyCharged"), yesNo(c.fullyCharged));
}

TEST_P(Listings, OlderMachineListingReadsAsTheTreeSays) {
  const std::string listing = macIODeviceListing(state);
  // Every tree lists an adapter: without a battery its bay reads empty.
  ASSERT_NE(listing.find("IOBatteryInfo"), std::string::npos);
  EXPECT_EQ(oldValue(listing, "Capacity"), c.battery ? shown(c.full) : "0");
  EXPECT_EQ(oldValue(listing, "Current"), c.battery ? shown(c.remaining) : "0");
  EXPECT_EQ(oldValue(listing, "Voltage"), shown(c.voltage));
  EXPECT_EQ(oldValue(listing, "Cycle Count"), shown(c.cycles));
  EXPECT_EQ(oldValue(listing, "Count"), "");
  // The last entry before "},{" keeps the "}"; a reader takes its number.
  EXPECT_EQ(readInt32(oldValue(listing, "DesignCapacity")), c.design.value_or(0));
  EXPECT_EQ(readInt32(oldValue(listing, "Flags")), static_cast<std::int32_t>(c.flags));
}

TEST_P(Listings, PowerReportReadsAsTheTreeSays) {
  const std::string report = powerReport(state);
  EXPECT_EQ(profilerValue(report, "Full Charge Capacity (mAh):"), shown(c.full));
  EXPECT_EQ(profilerValue(report, "Remaining Capacity (mAh):"), shown(c.remaining));
  EXPECT_EQ(profilerValue(report, "Amperage (mA):"), shown(c.amperage));
  EXPECT_EQ(profilerValue(report, "Voltage (mV):"), shown(c.voltage));
  EXPECT_EQ(profilerValue(report, "Cycle Count:"), shown(c.cycles));
  EXPECT_EQ(profilerValue(report, "Battery Installed:"), c.battery ? "Yes" : "");
  EXPECT_EQ(profilerValue(report, "First low level warning:"), c.battery ? yesNo(bit(0x10)) : "");
  EXPECT_EQ(profilerValue(report, "Connected:"), yesNo(bit(0x01)));
  EXPECT_EQ(profilerValue(report, "Charging:"), yesNo(bit(0x02)));
  EXPECT_EQ(profilerValue(report, "UPS Installed:"), yesNo(bit(0x08)));
}

// Readers take a label's first occurrence anywhere: it must start its line.
TEST_P(Listings, EveryLabelFirstStandsAtTheStartOfALine) {
  const std::string report = powerReport(state);
  for (const char* label : {"Full Charge Capacity (mAh):", "Remaining Capacity (mAh):", "Amperage (mA):",
                            "Voltage (mV):", "Cycle Count:", "Battery Installed:", "First low level warning:",
                            "Connected:", "Charging:", "UPS Installed:"}) {
    const std::size_t at = report.find(label);
    if (at == std::string::npos) continue;
    const std::size_t lineStart = report.rfind('\n', at) + 1;
    EXPECT_EQ(report.find_first_not_of(' ', lineStart), at) << label;
  }
}

INSTANTIATE_TEST_SUITE_P(Trees, Listings, ::testing::ValuesIn(kTrees),
                         [](const auto& row) { return std::string(row.param.tree); });

// Without a battery the older machines' listing keeps the bay while a
// charger is listed, online or not.
struct EmptyBayCase {
  const char* name;
  bool externalPower, chargerListed, ups;
  const char* record;  // nullptr: no "IOBatteryInfo" at all
};

void PrintTo(const EmptyBayCase& c, std::ostream* os) { *os << c.name; }

class EmptyBay : public ::testing::TestWithParam<EmptyBayCase> {};

TEST_P(EmptyBay, IsListedWithTheMachinesFlags) {
  const EmptyBayCase& c = GetParam();
  PowerState state;
  state.externalPower = c.externalPower;
  state.chargerListed = c.chargerListed;
  state.upsInstalled = c.ups;
  const std::string listing = macIODeviceListing(state);
  if (c.record == nullptr) {
    EXPECT_EQ(listing.find("IOBatteryInfo"), std::string::npos);
  } else {
    EXPECT_NE(listing.find("\"IOBatteryInfo\" = " + std::string(c.record) + "\n"), std::string::npos)
        << listing;
  }
}

const EmptyBayCase kEmptyBays[] = {
    {"AdapterOnline", true, true, false, R"(({"Flags"=1,"Capacity"=0,"Current"=0}))"},
    {"AdapterOffline", false, true, false, R"(({"Flags"=0,"Capacity"=0,"Current"=0}))"},
    {"AdapterOnlineAndUps", true, true, true, R"(({"Flags"=9,"Capacity"=0,"Current"=0}))"},
    {"UpsWithoutAdapter", false, false, true, nullptr},
    {"NeitherBatteryNorAdapter", false, false, false, nullptr},
};

INSTANTIATE_TEST_SUITE_P(States, EmptyBay, ::testing::ValuesIn(kEmptyBays),
                         [](const auto& row) { return std::string(row.param.name); });

// With two batteries the charger's and the power source's lines speak for
// the machine: charging when either battery charges.
struct TwoBatteriesCase {
  const char* name;
  bool firstCharging, secondCharging, externalPower;
  std::string powerSettings, charger;  // the sections' lines
};

void PrintTo(const TwoBatteriesCase& c, std::ostream* os) { *os << c.name; }

class TwoBatteriesReport : public ::testing::TestWithParam<TwoBatteriesCase> {};

// The lines of the report's section under `title`, up to its blank line.
std::string section(const std::string& report, const std::string& title) {
  const std::string heading = "    " + title + "\n\n";
  const std::size_t start = report.find(heading);
  if (start == std::string::npos) return "(no " + title + ")";
  const std::size_t body = start + heading.size();
  return report.substr(body, report.find("\n\n", body) + 1 - body);
}

TEST_P(TwoBatteriesReport, ChargerAndPowerSource) {
  const TwoBatteriesCase& c = GetParam();
  PowerState state;
  state.batteries.resize(2);
  state.batteries[0].charging = c.firstCharging;
  state.batteries[1].charging = c.secondCharging;
  state.externalPower = c.externalPower;
  const std::string report = powerReport(state);
  EXPECT_EQ(section(report, "System Power Settings:"), c.powerSettings);
  EXPECT_EQ(section(report, "AC Charger Information:"), c.charger);
}

const std::string kOnCharger =
    "      AC Power:\n          Current Power Source: Yes\n"
    "      Battery Power:\n          Current Power Source: No\n";
const std::string kOnBattery =
    "      AC Power:\n          Current Power Source: No\n"
    "      Battery Power:\n          Current Power Source: Yes\n";

const TwoBatteriesCase kTwoBatteries[] = {
    {"second_charging", false, true, true, kOnCharger, "      Connected: Yes\n      Charging: Yes\n"},
    {"first_charging", true, false, true, kOnCharger, "      Connected: Yes\n      Charging: Yes\n"},
    {"neither_charging_on_charger", false, false, true, kOnCharger,
     "      Connected: Yes\n      Charging: No\n"},
    {"on_battery", false, false, false, kOnBattery, "      Connected: No\n      Charging: No\n"},
};

INSTANTIATE_TEST_SUITE_P(Cases, TwoBatteriesReport, ::testing::ValuesIn(kTwoBatteries),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace ambrelux::tools
