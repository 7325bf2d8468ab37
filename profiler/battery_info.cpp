#include "profiler/battery_info.h"

#include "app/framework/shell.h"
#include "app/framework/text.h"

namespace ambrelux {

void BatteryInfo::updateBatteryInfo() {
  Shell shell;
  shell.Execute("system_profiler SPPowerDataType");
  theBatteryInfo = shell.ErrorCode() == 0 ? shell.Result() : std::string();
}

std::string BatteryInfo::getBatteryInfo() {
  if (theBatteryInfo.empty()) updateBatteryInfo();
  return theBatteryInfo;
}

std::string BatteryInfo::getStringParameter(std::string_view text, std::string_view key) {
  const std::int64_t pos = InStr(text, key);
  if (pos <= 0) return {};
  // The line end is searched from the label's own first character; a label on
  // an unterminated last line gives a negative count, which Mid reads as
  // "to the end".
  const std::int64_t eol = InStr(pos, text, EndOfLine);
  const std::int64_t keyLength = Len(key);
  return LTrim(Mid(text, pos + keyLength, eol - pos - keyLength));
}

std::int32_t BatteryInfo::numberAfter(std::string_view label) {
  const std::string value = getStringParameter(getBatteryInfo(), label);
  if (value.empty()) return 0;
  return ToInt32(Val(value));
}

bool BatteryInfo::yesAfter(std::string_view label) {
  return TextEquals(getStringParameter(getBatteryInfo(), label), "Yes");
}

std::int32_t BatteryInfo::getBatteryCapacity() { return numberAfter("Full Charge Capacity (mAh):"); }
bool BatteryInfo::getBatteryInstalled() { return yesAfter("Battery Installed:"); }
bool BatteryInfo::get1stLowLevelWarn() { return yesAfter("First low level warning:"); }
std::int32_t BatteryInfo::getRemainingCapacity() { return numberAfter("Remaining Capacity (mAh):"); }
std::int32_t BatteryInfo::getBatteryAmperage() { return numberAfter("Amperage (mA):"); }
std::int32_t BatteryInfo::getBatteryVoltage() { return numberAfter("Voltage (mV):"); }
std::int32_t BatteryInfo::getBatteryCycleCount() { return numberAfter("Cycle Count:"); }
bool BatteryInfo::getACconnected() { return yesAfter("Connected:"); }
bool BatteryInfo::getBatteryCharging() { return yesAfter("Charging:"); }
bool BatteryInfo::getUPSInstalled() { return yesAfter("UPS Installed:"); }

}  // namespace ambrelux
