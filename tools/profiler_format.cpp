#include "tools/profiler_format.h"

#include <optional>
#include <string_view>

namespace ambrelux::tools {

namespace {

void line(std::string& out, std::string_view indent, std::string_view label, std::string_view value) {
  out.append(indent).append(label).append(" ").append(value).append("\n");
}

void line(std::string& out, std::string_view indent, std::string_view label,
          std::optional<std::int32_t> value) {
  if (value) line(out, indent, label, std::to_string(*value));
}

std::string_view yesNo(bool value) { return value ? "Yes" : "No"; }

constexpr std::string_view kSection = "    ";
constexpr std::string_view kItem = "      ";
constexpr std::string_view kDetail = "          ";

void battery(std::string& out, const Battery& b) {
  out.append(kSection).append("Battery Information:\n\n");
  if (!b.manufacturer.empty() || !b.model.empty()) {
    out.append(kItem).append("Model Information:\n");
    if (!b.manufacturer.empty()) line(out, kDetail, "Manufacturer:", b.manufacturer);
    if (!b.model.empty()) line(out, kDetail, "Device Name:", b.model);
  }
  out.append(kItem).append("Charge Information:\n");
  line(out, kDetail, "Remaining Capacity (mAh):", b.remainingCapacity);
  line(out, kDetail, "Full Charge Capacity (mAh):", b.fullCapacity);
  line(out, kDetail, "Fully Charged:", yesNo(b.fullyCharged));
  line(out, kDetail, "Charging:", yesNo(b.charging));
  line(out, kDetail, "First low level warning:", yesNo(b.lowWarning));
  if (b.cycleCount) {
    out.append(kItem).append("Health Information:\n");
    line(out, kDetail, "Cycle Count:", b.cycleCount);
  }
  line(out, kItem, "Battery Installed:", yesNo(true));
  line(out, kItem, "Amperage (mA):", b.amperage);
  line(out, kItem, "Voltage (mV):", b.voltage);
  out += "\n";
}

}  // namespace

std::string powerReport(const PowerState& state) {
  std::string out = "Power:\n\n";
  // The first battery only, as the profiler has one battery section: a
  // second battery's line would stand in for a reading the first lacks.
  if (!state.batteries.empty()) battery(out, state.batteries.front());

  out.append(kSection).append("System Power Settings:\n\n");
  out.append(kItem).append("AC Power:\n");
  line(out, kDetail, "Current Power Source:", yesNo(state.externalPower));
  if (!state.batteries.empty()) {
    out.append(kItem).append("Battery Power:\n");
    line(out, kDetail, "Current Power Source:", yesNo(!state.externalPower));
  }
  out += "\n";

  out.append(kSection).append("Hardware Configuration:\n\n");
  line(out, kItem, "UPS Installed:", yesNo(state.upsInstalled));
  out += "\n";

  bool charging = false;
  for (const Battery& b : state.batteries) charging = charging || b.charging;
  out.append(kSection).append("AC Charger Information:\n\n");
  line(out, kItem, "Connected:", yesNo(state.externalPower));
  line(out, kItem, "Charging:", yesNo(charging));
  out += "\n";
  return out;
}

}  // namespace ambrelux::tools
