// Battery readings from the system profiler's power report
// ("system_profiler SPPowerDataType"). The object keeps the report's whole
// text and answers each reading by looking up a fixed label and taking the
// rest of its line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ambrelux {

class BatteryInfo {
 public:
  // Runs the report afresh: its complete output when it exits with 0,
  // otherwise the empty text, whatever was held before.
  virtual void updateBatteryInfo();
  // "Full Charge Capacity (mAh):"
  virtual std::int32_t getBatteryCapacity();
  // The rest of the line of the first `key` in `text` (a plain substring
  // search, not anchored to a line start), leading blanks and tabs removed,
  // trailing characters kept; "" when `key` is absent. On a last line
  // without a line end the value runs to the end of the text.
  virtual std::string getStringParameter(std::string_view text, std::string_view key);
  // "Battery Installed:"
  virtual bool getBatteryInstalled();
  // "First low level warning:"
  virtual bool get1stLowLevelWarn();
  // "Remaining Capacity (mAh):"
  virtual std::int32_t getRemainingCapacity();
  // The held report; runs it first when none is held, so an empty text
  // (a failed run or empty output) is retried on every call.
  virtual std::string getBatteryInfo();
  // "Amperage (mA):"
  virtual std::int32_t getBatteryAmperage();
  // "Voltage (mV):"
  virtual std::int32_t getBatteryVoltage();
  // "Cycle Count:"
  virtual std::int32_t getBatteryCycleCount();
  // "Connected:"
  virtual bool getACconnected();
  // "Charging:"
  virtual bool getBatteryCharging();
  // "UPS Installed:"
  virtual bool getUPSInstalled();

  virtual ~BatteryInfo() = default;

  // The latest successful report, "" when none is held.
  std::string theBatteryInfo;

 private:
  // Number getters: 0 for an absent or empty value, else the number the
  // value starts with. Yes/no getters: true exactly for the value "Yes".
  std::int32_t numberAfter(std::string_view label);
  bool yesAfter(std::string_view label);
};

}  // namespace ambrelux
