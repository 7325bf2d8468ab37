#include "tools/ioreg_format.h"

#include <optional>
#include <string_view>

#include "status_window/power_flags.h"

namespace ambrelux::tools {

namespace {

constexpr std::string_view kRoot = "+-o Root  <class IORegistryEntry>\n";
constexpr std::string_view kIndent = "        ";

std::string number(std::optional<std::int32_t> value) {
  return value ? std::to_string(*value) : std::string();
}

void line(std::string& out, std::string_view key, std::string_view value) {
  out.append(kIndent).append("\"").append(key).append("\" = ").append(value).append("\n");
}

void line(std::string& out, std::string_view key, std::optional<std::int32_t> value) {
  if (value) line(out, key, std::to_string(*value));
}

void yesNo(std::string& out, std::string_view key, bool value) {
  line(out, key, std::string_view(value ? "Yes" : "No"));
}

void entry(std::string& out, std::string_view key, const std::string& value) {
  if (out.back() != '{') out += ',';
  out.append("\"").append(key).append("\"=").append(value);
}

// The machine's part of every flag word, the same for each bay.
std::uint32_t machineFlags(const PowerState& state) {
  std::uint32_t flags = 0;
  if (state.externalPower) flags |= flagACPower;
  if (state.upsInstalled) flags |= flagUPSInstalled;
  return flags;
}

}  // namespace

std::uint32_t powerSourceFlags(const PowerState& state, const Battery& battery) {
  std::uint32_t flags = machineFlags(state) | flagBatteryInstalled;
  if (battery.charging) flags |= flagBatteryCharging;
  if (battery.lowWarning) flags |= flagBatteryLowWarn;
  if (battery.depleted) flags |= flagBatteryDepleted;
  if (battery.notChargeable) flags |= flagNotChargeable;
  return flags;
}

std::string smartBatteryListing(const PowerState& state) {
  std::string out(kRoot);
  if (state.batteries.empty()) return out;
  const Battery& b = state.batteries.front();
  out += "  +-o AppleSmartBattery  <class AppleSmartBattery, registered, matched, active>\n";
  out += "      {\n";
  // Keys in the registry's alphabetical order. No "{" or "}" may stand
  // before the nested dictionary's: readers cut the block at the second "}".
  line(out, "Amperage", b.amperage);
  line(out, "BatteryData", "{\"Flags\"=" + std::to_string(powerSourceFlags(state, b)) + "}");
  yesNo(out, "BatteryInstalled", true);
  line(out, "CurrentCapacity", b.remainingCapacity);
  line(out, "CycleCount", b.cycleCount);
  line(out, "DesignCapacity", b.designCapacity);
  yesNo(out, "ExternalChargeCapable", state.externalPower && !b.notChargeable);
  yesNo(out, "ExternalConnected", state.externalPower);
  yesNo(out, "FullyCharged", b.fullyCharged);
  yesNo(out, "IsCharging", b.charging);
  line(out, "MaxCapacity", b.fullCapacity);
  line(out, "Voltage", b.voltage);
  out += "      }\n";
  return out;
}

std::string macIODeviceListing(const PowerState& state) {
  std::string out(kRoot);
  out += "  +-o mac-io  <class AppleMacIODevice, registered, matched, active>\n";
  out += "      {\n";
  if (!state.batteries.empty()) {
    std::string array = "(";
    for (const Battery& b : state.batteries) {
      if (array.size() > 1) array += ',';
      array += '{';
      // "Flags" first: with several batteries, readers take the first
      // "Flags" on the line for the first battery's.
      entry(array, "Flags", std::to_string(powerSourceFlags(state, b)));
      entry(array, "Capacity", number(b.fullCapacity));
      entry(array, "Current", number(b.remainingCapacity));
      entry(array, "Voltage", number(b.voltage));
      entry(array, "Amperage", number(b.amperage));
      entry(array, "Cycle Count", number(b.cycleCount));
      // Last: before "},{" an empty value reads as "}", a number 0, and only
      // for the design capacity does 0 mean unknown.
      entry(array, "DesignCapacity", number(b.designCapacity));
      array += '}';
    }
    line(out, "IOBatteryInfo", array + ")");
  } else if (state.chargerListed) {
    // Older portables kept the bay listed with the battery taken out, so a
    // reader learns it is gone instead of hearing nothing new.
    std::string bay = "{";
    entry(bay, "Flags", std::to_string(machineFlags(state)));
    entry(bay, "Capacity", "0");
    entry(bay, "Current", "0");
    line(out, "IOBatteryInfo", "(" + bay + "})");
  }
  line(out, "name", std::string_view("<\"mac-io\">"));
  out += "      }\n";
  return out;
}

}  // namespace ambrelux::tools
