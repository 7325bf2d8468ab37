// One refresh from the system profiler's power report.
#include "app/framework/text.h"
#include "status_window/display.h"
#include "status_window/status_window.h"

namespace ambrelux {

void statusWindow::updateBatteryStatusProfiler() {
  if (!batInfo) batInfo = std::make_unique<BatteryInfo>();
  BatteryInfo& info = *batInfo;
  info.getBatteryInfo();
  info.updateBatteryInfo();
  const std::int32_t full = info.getBatteryCapacity();
  if (full <= 0) return reportNoData();
  const std::int32_t remaining = info.getRemainingCapacity();
  const std::int32_t cycles = info.getBatteryCycleCount();
  const std::int32_t voltage = info.getBatteryVoltage();

  auto bar = [](const char* frame, double ratio) { return barLength(frame, ratio, 2); };

  shown<StaticText>("maxCapacityField").setText("");
  shown<StaticText>("maxCapacityUnits").setText("");
  shown<StaticText>("capacityField").setText("");
  shown<StaticText>("capacityUnits").setText(formatStr(full) + " mAh");
  shown<Canvas>("capacityBar").setWidth(0);
  shown<StaticText>("currentField").setText(percentText(static_cast<double>(remaining) / full * 100));
  shown<StaticText>("currentUnits").setText(Concat({"(", formatStr(remaining), " mAh)"}));
  shown<Canvas>("currentBar").setWidth(bar("currentBG", static_cast<double>(remaining) / full));
  shown<StaticText>("cyclesFieldPercent").setText(percentText(cycles / 4.0));
  shown<StaticText>("cyclesField").setText(Concat({"(", Str(cycles), ")"}));
  shown<Canvas>("lifeBar").setWidth(bar("lifeBG", cyclesLeft(cycles) / 500));
  shown<StaticText>("voltageField").setText(formatStr(voltage / 1000.0));

  shown<StaticText>("acFlag").setVisible(info.getACconnected());
  shown<StaticText>("chFlag").setVisible(info.getBatteryCharging());
  shown<StaticText>("batFlag").setVisible(info.getBatteryInstalled());
  shown<StaticText>("lowFlag").setVisible(info.get1stLowLevelWarn());
  // The reader takes no "Fully Charged:" line from the report: on external
  // power, installed and not charging counts as charged.
  shown<StaticText>("chargedFlag")
      .setVisible(own<StaticText>("acFlag").Visible() && own<StaticText>("batFlag").Visible() &&
                  !own<StaticText>("chFlag").Visible());
  shown<StaticText>("upsFlag").setVisible(info.getUPSInstalled());

  hideWhatTheSourceLacks();

  batteryWarningIssued = false;
}

}  // namespace ambrelux
