// From kernel attributes to readings: units, rounding, plausibility and the
// status rules.
#include "tools/readings.h"

#include <gtest/gtest.h>

namespace ambrelux::tools {
namespace {

using Reading = std::optional<std::int32_t> Battery::*;
constexpr std::optional<std::int32_t> kAbsent;

struct NumberCase {
  const char* name;
  Attributes attributes;
  Reading reading;
  std::optional<std::int32_t> expected;
};

const NumberCase kNumbers[] = {
    {"ChargeRoundsDownBelowHalf", {{"charge_now", "1499\n"}}, &Battery::remainingCapacity, 1},
    {"ChargeRoundsHalfUp", {{"charge_now", "1500\n"}}, &Battery::remainingCapacity, 2},
    {"EmptyChargeIsZeroNotAbsent", {{"charge_now", "0\n"}}, &Battery::remainingCapacity, 0},
    {"NegativeChargeIsAbsent", {{"charge_now", "-5\n"}}, &Battery::remainingCapacity, kAbsent},
    {"EnergyAtMinimumDesignVoltage",
     {{"energy_full", "57000000"}, {"voltage_min_design", "11400000"}, {"voltage_now", "12600000"}},
     &Battery::fullCapacity,
     5000},
    {"EnergyAtPresentVoltageWithoutDesignVoltage",
     {{"energy_full", "57000000"}, {"voltage_now", "11400000"}},
     &Battery::fullCapacity,
     5000},
    {"EnergyWithoutVoltageIsAbsent", {{"energy_full", "57000000"}}, &Battery::fullCapacity, kAbsent},
    {"EnergyAtZeroVoltageIsAbsent",
     {{"energy_full", "57000000"}, {"voltage_min_design", "0"}},
     &Battery::fullCapacity,
     kAbsent},
    {"ChargeWinsOverEnergy",
     {{"charge_full", "4000000"}, {"energy_full", "57000000"}, {"voltage_now", "11400000"}},
     &Battery::fullCapacity,
     4000},
    {"ZeroFullCapacityIsUnknown", {{"charge_full", "0"}}, &Battery::fullCapacity, kAbsent},
    {"BeyondThousandAmpHoursIsAbsent", {{"charge_full", "1000500000"}}, &Battery::fullCapacity, kAbsent},
    {"BeyondSixtyFourBitsIsAbsent",
     {{"charge_full", "99999999999999999999"}},
     &Battery::fullCapacity,
     kAbsent},
    {"TrailingGarbageIsAbsent", {{"charge_full", "12abc"}}, &Battery::fullCapacity, kAbsent},
    {"DesignHalfOfFullIsKept",
     {{"charge_full_design", "2000000"}, {"charge_full", "4000000"}},
     &Battery::designCapacity,
     2000},
    {"DesignBelowHalfOfFullIsWrongScale",
     {{"charge_full_design", "1999000"}, {"charge_full", "4000000"}},
     &Battery::designCapacity,
     kAbsent},
    {"ZeroDesignIsUnknown", {{"charge_full_design", "0"}}, &Battery::designCapacity, kAbsent},
    {"ZeroCyclesIsUnknown", {{"cycle_count", "0"}}, &Battery::cycleCount, kAbsent},
    {"FirmwareUnknownCyclesIsAbsent", {{"cycle_count", "65535"}}, &Battery::cycleCount, kAbsent},
    {"VoltageInMillivolts", {{"voltage_now", "12345678"}}, &Battery::voltage, 12346},
    {"ZeroVoltageIsAbsent", {{"voltage_now", "0"}}, &Battery::voltage, kAbsent},
    {"UnsignedCurrentIsNegativeWhileDischarging",
     {{"current_now", "1500000"}, {"status", "Discharging"}},
     &Battery::amperage,
     -1500},
    {"CurrentIsPositiveWhileCharging",
     {{"current_now", "-1500000"}, {"status", "Charging"}},
     &Battery::amperage,
     1500},
    {"CurrentFromPowerAndVoltage",
     {{"power_now", "9440000"}, {"voltage_now", "11800000"}},
     &Battery::amperage,
     800},
    {"MostNegativeCurrentIsAbsent",
     {{"current_now", "-9223372036854775808"}, {"status", "Discharging"}},
     &Battery::amperage,
     kAbsent},
};

class Numbers : public ::testing::TestWithParam<NumberCase> {};

TEST_P(Numbers, Read) {
  const NumberCase& c = GetParam();
  EXPECT_EQ(batteryFrom(c.attributes).*c.reading, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Battery, Numbers, ::testing::ValuesIn(kNumbers),
                         [](const auto& row) { return std::string(row.param.name); });

struct FlagCase {
  const char* name;
  Attributes attributes;
  bool Battery::*flag;
  bool expected;
};

const FlagCase kFlags[] = {
    {"CriticalLevelWarns", {{"capacity_level", "Critical\n"}}, &Battery::lowWarning, true},
    {"LevelWithNulDoesNotWarn", {{"capacity_level", std::string("Low\0", 4)}}, &Battery::lowWarning, false},
    {"NoPercentLeftIsDepleted", {{"capacity", "0\n"}}, &Battery::depleted, true},
    {"NoChargeLeftIsDepleted", {{"charge_now", "0\n"}}, &Battery::depleted, true},
    {"OnePercentIsNotDepleted", {{"capacity", "1\n"}}, &Battery::depleted, false},
    {"UnknownChargeIsNotDepleted", {}, &Battery::depleted, false},
    {"DeadIsNotChargeable", {{"health", "Dead\n"}}, &Battery::notChargeable, true},
    {"OverheatedIsNotChargeable", {{"health", "Overheat\n"}}, &Battery::notChargeable, true},
    // Charge thresholds stop charging on purpose.
    {"NotChargingWhileGoodIsChargeable",
     {{"status", "Not charging\n"}, {"health", "Good\n"}},
     &Battery::notChargeable,
     false},
};

class Flags : public ::testing::TestWithParam<FlagCase> {};

TEST_P(Flags, Read) {
  const FlagCase& c = GetParam();
  EXPECT_EQ(batteryFrom(c.attributes).*c.flag, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Battery, Flags, ::testing::ValuesIn(kFlags),
                         [](const auto& row) { return std::string(row.param.name); });

struct StateCase {
  const char* name;
  Attributes supply;
  std::size_t batteries;
  bool externalPower;
  bool ups;
  bool charger;  // listed, online or not
};

const StateCase kStates[] = {
    {"BatteryWithoutPresentCounts", {{"type", "Battery\n"}}, 1, false, false, false},
    {"EmptyBayIsSkipped", {{"type", "Battery"}, {"present", "0"}}, 0, false, false, false},
    {"GarbledPresentCounts", {{"type", "Battery"}, {"present", "yes"}}, 1, false, false, false},
    {"PeripheralBatteryIsIgnored", {{"type", "Battery"}, {"scope", "Device"}}, 0, false, false, false},
    {"UnknownScopeCounts", {{"type", "Battery"}, {"scope", "Unknown"}}, 1, false, false, false},
    {"MainsOnline", {{"type", "Mains"}, {"online", "1\n"}}, 0, true, false, true},
    {"ProgrammableUsbOnline", {{"type", "USB"}, {"online", "2"}}, 0, true, false, true},
    {"OldUsbKindOnline", {{"type", "USB_PD"}, {"online", "1"}}, 0, true, false, true},
    {"MainsOfflineIsListed", {{"type", "Mains"}, {"online", "0\n"}}, 0, false, false, true},
    {"PeripheralChargerIsIgnored",
     {{"type", "USB"}, {"scope", "Device"}, {"online", "1"}},
     0,
     false,
     false,
     false},
    {"GarbledOnlineIsOffline", {{"type", "Mains"}, {"online", "1garbage"}}, 0, false, false, true},
    {"Ups", {{"type", "UPS"}}, 0, false, true, false},
    {"LowercaseTypeIsUnknown", {{"type", "battery"}}, 0, false, false, false},
};

class States : public ::testing::TestWithParam<StateCase> {};

TEST_P(States, Read) {
  const StateCase& c = GetParam();
  const PowerState state = powerStateFrom({Supply{"X", c.supply}});
  EXPECT_EQ(state.batteries.size(), c.batteries);
  EXPECT_EQ(state.externalPower, c.externalPower);
  EXPECT_EQ(state.upsInstalled, c.ups);
  EXPECT_EQ(state.chargerListed, c.charger);
}

INSTANTIATE_TEST_SUITE_P(Supplies, States, ::testing::ValuesIn(kStates),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace ambrelux::tools
