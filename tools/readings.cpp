#include "tools/readings.h"

#include <cmath>
#include <cstdlib>
#include <string_view>

namespace ambrelux::tools {

namespace {

// Plausibility: no portable battery holds 1000 Ah or passes 1000 A, and none
// runs below 1 V or above 100 V. Values beyond these are unit mistakes of
// the firmware (mWh reported as µWh and the like) and count as absent.
constexpr std::int64_t kMaxMilli = 1'000'000;
constexpr std::int64_t kMinMicrovolts = 1'000'000;
constexpr std::int64_t kMaxMicrovolts = 100'000'000;
// Even LiFePO4 cells are rated for fewer cycles; 65535 is the battery
// firmware's "unknown".
constexpr std::int64_t kMaxCycles = 50'000;

// Micro-units to milli-units, to the nearest, halves away from zero.
std::int64_t milli(std::int64_t micro) {
  std::int64_t result = micro / 1000;
  const std::int64_t rest = micro % 1000;
  if (rest >= 500) ++result;
  if (rest <= -500) --result;
  return result;
}

std::optional<std::int32_t> within(std::optional<std::int64_t> value, std::int64_t low, std::int64_t high) {
  if (!value || *value < low || *value > high) return std::nullopt;
  return static_cast<std::int32_t>(*value);
}

// milli-units of numerator / microvolts, when both are known and it is in range.
std::optional<std::int64_t> perVolt(std::optional<std::int64_t> micro,
                                    std::optional<std::int64_t> microvolts) {
  if (!micro || !microvolts) return std::nullopt;
  const double value = static_cast<double>(*micro) * 1000.0 / static_cast<double>(*microvolts);
  if (!(std::fabs(value) <= static_cast<double>(kMaxMilli))) return std::nullopt;
  return std::llround(value);
}

std::optional<std::int64_t> microvolts(const Attributes& a, std::string_view name) {
  return within(integer(a, name), kMinMicrovolts, kMaxMicrovolts);
}

// mAh from charge_<what> (µAh); a battery that counts energy instead gives
// energy_<what> (µWh), turned into charge at the design voltage.
std::optional<std::int64_t> capacity(const Attributes& a, const std::string& what,
                                     std::optional<std::int64_t> designVoltage) {
  if (auto micro = integer(a, "charge_" + what); micro && *micro >= 0) return milli(*micro);
  auto energy = integer(a, "energy_" + what);
  if (!energy || *energy < 0) return std::nullopt;
  return perVolt(energy, designVoltage);
}

// Printable text only: a model name must not pass for a label, a line end
// or a brace in the listings.
std::string printable(const Attributes& a, std::string_view name) {
  constexpr std::size_t kMaxLength = 32;
  std::string result;
  for (char c : text(a, name).value_or("")) {
    const bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == ' ' || c == '.' || c == '-' || c == '_';
    if (keep && result.size() < kMaxLength) result += c;
  }
  while (!result.empty() && result.back() == ' ') result.pop_back();
  return result;
}

}  // namespace

Battery batteryFrom(const Attributes& a) {
  Battery b;
  b.manufacturer = printable(a, "manufacturer");
  b.model = printable(a, "model_name");

  // The firmware converts its own mWh figures at the nominal (minimum design)
  // voltage, as UPower does; the present voltage drifts with the charge, so it
  // is only the fallback.
  std::optional<std::int64_t> designVoltage = microvolts(a, "voltage_min_design");
  const std::optional<std::int64_t> voltageNow = microvolts(a, "voltage_now");
  if (!designVoltage) designVoltage = voltageNow;

  // 0 is the firmware's "unknown" for both capacities. A battery cannot hold
  // more than twice its design capacity: a design figure that says so is in
  // the wrong scale and is dropped.
  b.fullCapacity = within(capacity(a, "full", designVoltage), 1, kMaxMilli);
  b.designCapacity = within(capacity(a, "full_design", designVoltage), 1, kMaxMilli);
  if (b.designCapacity && b.fullCapacity && *b.fullCapacity > 2 * std::int64_t{*b.designCapacity}) {
    b.designCapacity.reset();
  }
  b.remainingCapacity = within(capacity(a, "now", designVoltage), 0, kMaxMilli);
  if (voltageNow) b.voltage = static_cast<std::int32_t>(milli(*voltageNow));
  // The kernel's cycle_count 0 means it does not know.
  b.cycleCount = within(integer(a, "cycle_count"), 1, kMaxCycles);

  const std::string_view status = text(a, "status").value_or("");
  b.charging = status == "Charging";
  b.fullyCharged = status == "Full";

  // Many drivers give the current unsigned, so the sign comes from the status.
  // Batteries that count energy often give power_now instead of current_now.
  std::optional<std::int64_t> current;
  if (auto micro = integer(a, "current_now")) current = milli(*micro);
  if (!current) current = perVolt(integer(a, "power_now"), voltageNow);
  if (auto mA = within(current, -kMaxMilli, kMaxMilli)) {
    if (status == "Discharging") *mA = -std::abs(*mA);
    if (status == "Charging") *mA = std::abs(*mA);
    b.amperage = mA;
  }

  const std::string_view level = text(a, "capacity_level").value_or("");
  b.lowWarning = level == "Low" || level == "Critical";
  // Depleted: nothing left to draw, by the percentage or by the charge
  // itself, whether or not a charger has just been plugged in.
  b.depleted = integer(a, "capacity") == 0 || b.remainingCapacity == 0;
  // Not chargeable: the battery is worn out, broken, or too hot or too cold
  // for the charger to feed it. "Not charging" alone is no sign of it, since
  // charge thresholds stop charging on purpose.
  const std::string_view health = text(a, "health").value_or("");
  for (std::string_view refusal : {"Dead", "Unspecified failure", "Over voltage", "Over current", "Overheat",
                                   "Hot", "Cold", "Safety timer expire", "Watchdog timer expire"}) {
    if (health == refusal) b.notChargeable = true;
  }
  return b;
}

PowerState powerStateFrom(const std::vector<Supply>& supplies) {
  PowerState state;
  for (const Supply& supply : supplies) {
    const Attributes& a = supply.attributes;
    switch (kindOf(a)) {
      case SupplyKind::SystemBattery:
        // Without "present" the kernel means present; a bay's empty slot says 0.
        if (integer(a, "present") != 0) state.batteries.push_back(batteryFrom(a));
        break;
      case SupplyKind::Charger:
        state.chargerListed = true;
        // 1 is a fixed, 2 a programmable supply: both online.
        if (integer(a, "online") > 0) state.externalPower = true;
        break;
      case SupplyKind::Ups:
        if (integer(a, "present") != 0) state.upsInstalled = true;
        break;
      case SupplyKind::Other:
        break;
    }
  }
  return state;
}

}  // namespace ambrelux::tools
