// One refresh from the older machines' IOBatteryInfo record.
#include "app/framework/text.h"
#include "status_window/display.h"
#include "status_window/parsers.h"
#include "status_window/status_window.h"

namespace ambrelux {

void statusWindow::updateBatteryStatusOld() {
  Shell& shell = *requireObject(sh.get(), "no command runner");
  shell.Execute("ioreg -w0 -cAppleMacIODevice");
  const std::optional<std::string> record = cutBatteryInfoRecord(shell.Result());
  // A listing that no longer reports the property leaves the display as it is.
  if (!record) return;
  const OldBatteryReading reading = readOldBattery(
      *record, [this](std::string_view text, std::string_view key) { return parseOldLine(text, key); });
  if (reading.capacity <= 0) return reportNoData();

  const double capacity = reading.capacity, design = reading.design, charge = reading.charge;
  const std::int32_t cycles = reading.cycles;
  const bool cyclesKnown = cycles != -1;
  // A full bar is exactly as wide as its frame on this path.
  auto bar = [](const char* frame, double ratio) { return barLength(frame, ratio, 0); };

  if (reading.design == 0) {
    shown<StaticText>("maxCapacityField").setText("");
    shown<StaticText>("maxCapacityUnits").setText("");
    shown<StaticText>("capacityField").setText("");
    shown<StaticText>("capacityUnits").setText(Concat({" ", formatStr(capacity), " mAh"}));
  } else {
    shown<StaticText>("maxCapacityField").setText("100%");
    shown<StaticText>("maxCapacityUnits").setText(Concat({"(", formatStr(design), " mAh)"}));
    shown<StaticText>("capacityField").setText(percentText(capacity / design * 100));
    shown<StaticText>("capacityUnits").setText(Concat({"(", formatStr(capacity), " mAh)"}));
  }
  shown<Canvas>("capacityBar").setWidth(bar("capacityBG", capacity / design));
  shown<StaticText>("currentField").setText(percentText(charge / capacity * 100));
  shown<StaticText>("currentUnits").setText(Concat({"(", formatStr(charge), " mAh)"}));
  shown<Canvas>("currentBar").setWidth(bar("currentBG", charge / capacity));
  shown<StaticText>("cyclesFieldPercent").setText(cyclesKnown ? percentText(cycles / 4.0) : "Not");
  shown<StaticText>("cyclesField").setText(cyclesKnown ? Concat({"(", Str(cycles), ")"}) : "available");
  shown<Canvas>("lifeBar").setWidth(cyclesKnown ? bar("lifeBG", cyclesLeft(cycles) / 500) : 0);
  shown<StaticText>("voltageField").setText(formatStr(reading.voltage / 1000.0));

  const std::int32_t flags = reading.flags;
  shown<StaticText>("acFlag").setVisible(flagSet(flags, flagACPower));
  shown<StaticText>("chFlag").setVisible(flagSet(flags, flagBatteryCharging));
  shown<StaticText>("batFlag").setVisible(flagSet(flags, flagBatteryInstalled));
  shown<StaticText>("upsFlag").setVisible(flagSet(flags, flagUPSInstalled));
  shown<StaticText>("lowFlag").setVisible(flagSet(flags, flagBatteryLowWarn));
  shown<StaticText>("emptyFlag").setVisible(flagSet(flags, flagBatteryDepleted));
  shown<StaticText>("noChargeFlag").setVisible(flagSet(flags, flagNotChargeable));
  shown<StaticText>("chargedFlag")
      .setVisible(flagSet(flags, flagACPower) && flagSet(flags, flagBatteryInstalled) &&
                  !flagSet(flags, flagBatteryCharging) && !flagSet(flags, flagNotChargeable));

  hideWhatTheSourceLacks();

  batteryWarningIssued = false;
}

}  // namespace ambrelux
