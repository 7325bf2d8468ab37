// The stand-ins' power-supply reading fed arbitrary attribute contents (see
// supply_records.h for the input): the readings keep their documented
// ranges, and each of the three outputs, read back by Ambrelux's own
// readers, gives exactly those readings. Now and then the supplies are also
// written as a folder tree and read back through the file reader.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "profiler/battery_info.h"
#include "require.h"
#include "status_window/parsers.h"
#include "status_window/power_flags.h"
#include "supply_records.h"
#include "tools/ioreg_format.h"
#include "tools/profiler_format.h"
#include "tools/readings.h"

namespace {

using namespace ambrelux;
using namespace ambrelux::tools;
using fuzzing::require;

std::filesystem::path scratch;

bool printable(const std::string& name) {
  return name.size() <= 32 &&
         name.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .-_") ==
             std::string::npos &&
         (name.empty() || name.back() != ' ');
}

template <typename T>
bool inRange(const std::optional<T>& value, std::int64_t low, std::int64_t high) {
  return !value || (*value >= low && *value <= high);
}

void checkBattery(const Battery& b) {
  require(printable(b.manufacturer) && printable(b.model), "names hold printable characters only");
  require(inRange(b.designCapacity, 1, 1'000'000) && inRange(b.fullCapacity, 1, 1'000'000) &&
              inRange(b.remainingCapacity, 0, 1'000'000),
          "capacities are plausible");
  require(!b.designCapacity || !b.fullCapacity || *b.fullCapacity <= 2 * std::int64_t{*b.designCapacity},
          "no battery holds twice its design capacity");
  require(inRange(b.voltage, 1000, 100'000) && inRange(b.amperage, -1'000'000, 1'000'000) &&
              inRange(b.cycleCount, 1, 50'000),
          "voltage, current and cycles are plausible");
}

void checkSmartListing(const PowerState& state) {
  const std::string listing = smartBatteryListing(state);
  if (state.batteries.empty()) {
    require(listing.find("AppleSmartBattery") == std::string::npos &&
                listing.find("DesignCapacity") == std::string::npos,
            "no battery, no smart battery");
    return;
  }
  const Battery& b = state.batteries.front();
  const SmartBatteryReading r = readSmartBattery(cutSmartBatteryBlock(listing));
  require(r.design == b.designCapacity.value_or(0) && r.max == b.fullCapacity.value_or(0) &&
              r.current == b.remainingCapacity.value_or(0) && r.cycles == b.cycleCount.value_or(0) &&
              r.voltage == b.voltage.value_or(0),
          "the smart-battery listing reads back as the readings");
  require(static_cast<std::uint32_t>(r.flags) == powerSourceFlags(state, b) &&
              r.externalConnected == state.externalPower && r.isCharging == b.charging &&
              r.batteryInstalled && r.fullyCharged == b.fullyCharged &&
              r.externalChargeCapable == (state.externalPower && !b.notChargeable),
          "the smart-battery listing's flags read back");
}

void checkMacIOListing(const PowerState& state) {
  const auto record = cutBatteryInfoRecord(macIODeviceListing(state));
  require(record.has_value() == (!state.batteries.empty() || state.chargerListed),
          "IOBatteryInfo exactly when there is a battery or a charger");
  if (!record) return;
  if (state.batteries.empty()) {
    const OldBatteryReading r = readOldBattery(*record);
    const std::uint32_t machine =
        (state.externalPower ? flagACPower : 0u) | (state.upsInstalled ? flagUPSInstalled : 0u);
    require(r.capacity == 0 && r.charge == 0 && static_cast<std::uint32_t>(r.flags) == machine,
            "an empty bay reads as no capacity with the machine's flags only");
    return;
  }
  const Battery& b = state.batteries.front();
  const OldBatteryReading r = readOldBattery(*record);
  require(r.capacity == b.fullCapacity.value_or(0) && r.charge == b.remainingCapacity.value_or(0) &&
              r.voltage == b.voltage.value_or(0) && r.cycles == b.cycleCount.value_or(-1) &&
              r.design == b.designCapacity.value_or(0) &&
              static_cast<std::uint32_t>(r.flags) == powerSourceFlags(state, b),
          "the older machines' listing reads back as the first battery's readings");
}

void checkPowerReport(const PowerState& state) {
  BatteryInfo info;
  info.theBatteryInfo = powerReport(state);
  require(!info.theBatteryInfo.empty(), "the report is never empty, so the reader runs nothing");
  const Battery none;
  const Battery& b = state.batteries.empty() ? none : state.batteries.front();
  require(info.getBatteryCapacity() == b.fullCapacity.value_or(0) &&
              info.getRemainingCapacity() == b.remainingCapacity.value_or(0) &&
              info.getBatteryAmperage() == b.amperage.value_or(0) &&
              info.getBatteryVoltage() == b.voltage.value_or(0) &&
              info.getBatteryCycleCount() == b.cycleCount.value_or(0),
          "the power report's numbers read back as the readings");
  require(info.getBatteryInstalled() == !state.batteries.empty() && info.getBatteryCharging() == b.charging &&
              info.get1stLowLevelWarn() == b.lowWarning && info.getACconnected() == state.externalPower &&
              info.getUPSInstalled() == state.upsInstalled,
          "the power report's yes/no readings read back");
}

// The supplies as files, read back by the tools' own folder reader: the
// outputs must not change.
void checkTree(const std::vector<Supply>& supplies, const PowerState& state) {
  const std::filesystem::path root = scratch / "power_supply";
  std::filesystem::remove_all(root);
  for (const Supply& supply : supplies) {
    std::filesystem::create_directories(root / supply.name);
    for (const auto& [name, value] : supply.attributes)
      std::ofstream(root / supply.name / name, std::ios::binary) << value;
  }
  const std::vector<Supply> read = readSupplies(root);
  require(read.size() == supplies.size(), "every supply folder is read");
  for (std::size_t i = 0; i < read.size(); ++i) {
    require(read[i].name == supplies[i].name, "supplies come in name order");
    for (const auto& [name, value] : read[i].attributes) {
      const auto written = supplies[i].attributes.find(name);
      require(written != supplies[i].attributes.end() && written->second == value,
              "an attribute reads as written");
    }
  }
  const PowerState again = powerStateFrom(read);
  require(smartBatteryListing(again) == smartBatteryListing(state) &&
              macIODeviceListing(again) == macIODeviceListing(state) &&
              powerReport(again) == powerReport(state),
          "the folder gives the same outputs as its attributes");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string pattern = (std::filesystem::temp_directory_path() / "ambrelux-fuzz-XXXXXX").string();
  if (!mkdtemp(pattern.data())) std::abort();
  scratch = pattern;
  std::atexit([] { std::filesystem::remove_all(scratch); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::vector<Supply> supplies = fuzzing::decodeSupplies(input);
  const PowerState state = powerStateFrom(supplies);
  for (const Battery& b : state.batteries) checkBattery(b);
  checkSmartListing(state);
  checkMacIOListing(state);
  checkPowerReport(state);
  // Writing files is slow: one input in eight, chosen by its content so a
  // crash replays.
  if (std::hash<std::string_view>{}(input) % 8 == 0) checkTree(supplies, state);
  return 0;
}
