// One refresh from the smart-battery listing.
#include "app/framework/text.h"
#include "status_window/display.h"
#include "status_window/parsers.h"
#include "status_window/status_window.h"

namespace ambrelux {

void statusWindow::updateBatteryStatus() {
  Shell shell;
  shell.Execute("ioreg -w0 -c AppleSmartBattery");
  const SmartBatteryReading reading =
      readSmartBattery(cutSmartBatteryBlock(shell.Result()),
                       [this](std::string_view text, std::string_view key) { return parseLine(text, key); });
  if (reading.design <= 0) return reportNoData();

  const double design = reading.design, max = reading.max, current = reading.current;
  const std::int32_t cycles = reading.cycles;
  // The border takes 2 of the frame's pixels on this path.
  auto bar = [](const char* frame, double ratio) { return barLength(frame, ratio, 2); };

  shown<StaticText>("maxCapacityField").setText("100%");
  shown<StaticText>("maxCapacityUnits").setText(Concat({"(", formatStr(design), " mAh)"}));
  shown<StaticText>("capacityField").setText(percentText((max / design) * 100));
  shown<StaticText>("capacityUnits").setText(Concat({"(", formatStr(max), " mAh)"}));
  shown<Canvas>("capacityBar").setWidth(bar("capacityBG", max / design));
  // Some batteries don't report their full-charge capacity (0 or nothing):
  // the charge then has no share to show, only its mAh figure.
  const bool maxKnown = max > 0;
  shown<StaticText>("currentField").setText(maxKnown ? percentText((current / max) * 100) : "");
  shown<StaticText>("currentUnits").setText(Concat({"(", formatStr(current), " mAh)"}));
  shown<Canvas>("currentBar").setWidth(maxKnown ? bar("currentBG", current / max) : 0);
  shown<StaticText>("cyclesFieldPercent").setText(percentText(cycles / 4.0));
  shown<StaticText>("cyclesField").setText(Concat({"(", Str(cycles), ")"}));
  shown<Canvas>("lifeBar").setWidth(bar("lifeBG", cyclesLeft(cycles) / 500));
  shown<StaticText>("voltageField").setText(formatStr(reading.voltage / 1000.0));

  shown<StaticText>("acFlag").setVisible(reading.externalConnected);
  shown<StaticText>("chFlag").setVisible(reading.isCharging);
  shown<StaticText>("batFlag").setVisible(reading.batteryInstalled);
  shown<StaticText>("upsFlag").setVisible(flagSet(reading.flags, flagUPSInstalled));
  shown<StaticText>("lowFlag").setVisible(flagSet(reading.flags, flagBatteryLowWarn));
  shown<StaticText>("emptyFlag").setVisible(flagSet(reading.flags, flagBatteryDepleted));
  shown<StaticText>("noChargeFlag").setVisible(reading.externalConnected && !reading.externalChargeCapable);
  shown<StaticText>("chargedFlag").setVisible(reading.fullyCharged);

  batteryWarningIssued = false;
}

}  // namespace ambrelux
