// The system-profiler reader over an arbitrary report, run through the fake
// platform so no process starts. Input: a key for getStringParameter (a
// FuzzedDataProvider string), the report, and in the last byte the
// report's exit status (odd: a failed run).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "profiler/battery_info.h"
#include "require.h"
#include "support/fake_platform.h"

namespace {

using namespace ambrelux;
using fuzzing::require;

constexpr const char* kReport = "system_profiler SPPowerDataType";

bool within(std::string_view part, std::string_view whole) {
  return whole.find(part) != std::string_view::npos;
}

void checkValue(BatteryInfo& info, std::string_view text, std::string_view key) {
  const std::string value = info.getStringParameter(text, key);
  require(within(value, text), "a value is a piece of the report");
  if (!within(key, text)) require(value.empty(), "an absent label has no value");
  require(value.empty() || (value[0] != ' ' && value[0] != '\t'), "a value has no leading blanks");
  // A key holding a line end may end its own line: the rest of the text.
  if (!within("\n", key)) require(!within("\n", value), "a value stays on its label's line");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string key = in.ConsumeRandomLengthString(40);
  const int status = in.ConsumeIntegral<std::uint8_t>() % 2;
  const std::string report = in.ConsumeRemainingBytesAsString();

  testing::FakePlatform fake;
  fake.setOutput(kReport, report, status);
  BatteryInfo info;
  const std::int32_t numbers[] = {info.getBatteryCapacity(), info.getRemainingCapacity(),
                                  info.getBatteryAmperage(), info.getBatteryVoltage(),
                                  info.getBatteryCycleCount()};
  const bool answers[] = {info.getBatteryInstalled(), info.get1stLowLevelWarn(), info.getACconnected(),
                          info.getBatteryCharging(), info.getUPSInstalled()};

  const bool held = status == 0 && !report.empty();
  require(info.theBatteryInfo == (held ? report : std::string()),
          "the text is the last good report, else empty");
  // One run serves every reading while a text is held; without one, each
  // reading runs the report again.
  require(fake.runs(kReport) == (held ? 1 : 10), "the report runs once while a text is held");
  if (!held) {
    for (std::int32_t n : numbers) require(n == 0, "no text gives 0");
    for (bool yes : answers) require(!yes, "no text gives no");
  }
  const char* const labels[] = {"Full Charge Capacity (mAh):", "Remaining Capacity (mAh):", "Amperage (mA):",
                                "Voltage (mV):", "Cycle Count:"};
  for (int i = 0; i < 5; ++i)
    if (!within(labels[i], info.theBatteryInfo)) require(numbers[i] == 0, "an absent label reads 0");
  require(answers[3] == (info.getStringParameter(info.theBatteryInfo, "Charging:") == "Yes"),
          "a yes/no reading is yes exactly for the value Yes");

  checkValue(info, report, key);
  for (std::string_view label : labels) checkValue(info, report, label);

  // A failed run drops a held text, and a good one replaces it whole.
  fake.setOutput(kReport, report, 1 - status);
  info.updateBatteryInfo();
  require(info.theBatteryInfo == (status == 1 ? report : std::string()), "each run replaces the text whole");
  return 0;
}
