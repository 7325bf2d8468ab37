// Opening the window (version line, probe, first refresh, timer), the
// refresh dispatch, the shared display helpers and the two buttons.
#include <QApplication>

#include "app/app.h"
#include "app/framework/runtime.h"
#include "app/framework/text.h"
#include "app/update_timer.h"
#include "status_window/display.h"
#include "status_window/format.h"
#include "status_window/layout_table.h"
#include "status_window/parsers.h"
#include "status_window/status_window.h"

namespace ambrelux {

namespace {

App& app() { return *requireObject(App::instance(), "no application object"); }

Timer& updateTimer() { return *requireObject(app().updateTimer.get(), "no refresh timer"); }

}  // namespace

void statusWindow::Event_Open() {
  own<StaticText>("versionField").setText("Ambrelux " + app().ShortVersion() + std::string(kVersionNotice));

  sh = std::make_unique<Shell>();
  sh->Execute("ioreg -w0 -c AppleSmartBattery");
  if (InStr(sh->Result(), "DesignCapacity") > 0) {
    dataMethod = kSmartBattery;
  } else {
    sh->Execute("ioreg -w0 -cAppleMacIODevice");
    dataMethod = InStr(sh->Result(), "IOBatteryInfo") > 0 ? kOlderMachines : kSystemProfiler;
  }
  sh->releaseResult();  // the first refresh runs its own command again

  updateStatus();

  app().updateTimer = std::make_unique<updateTimerClass>();
  updateTimer().setEnabled(true);
  updateTimer().setMode(Timer::ModeMultiple);
  updateTimer().setPeriod(15000);
}

void statusWindow::updateStatus() {
  if (dataMethod == kSmartBattery) updateBatteryStatus();
  else if (dataMethod == kOlderMachines) updateBatteryStatusOld();
  else if (dataMethod == kSystemProfiler) updateBatteryStatusProfiler();
}

std::string statusWindow::formatStr(double value) { return ambrelux::formatStr(value); }

std::string statusWindow::parseLine(std::string_view block, std::string_view key) {
  return ambrelux::parseLine(block, key);
}

std::string statusWindow::parseOldLine(std::string_view line, std::string_view key) {
  return ambrelux::parseOldLine(line, key);
}

void statusWindow::clearStatusFields() {
  for (const char* field : {"maxCapacityField", "maxCapacityUnits", "capacityField", "capacityUnits"})
    shown<StaticText>(field).setText("");
  shown<Canvas>("capacityBar").setWidth(0);
  shown<StaticText>("currentField").setText("");
  shown<StaticText>("currentUnits").setText("");
  shown<Canvas>("currentBar").setWidth(0);
  shown<StaticText>("cyclesFieldPercent").setText("");
  shown<StaticText>("cyclesField").setText("");
  shown<Canvas>("lifeBar").setWidth(0);
  shown<StaticText>("voltageField").setText("");
  for (const char* flag :
       {"acFlag", "chFlag", "batFlag", "upsFlag", "lowFlag", "emptyFlag", "noChargeFlag", "chargedFlag"})
    shown<StaticText>(flag).setVisible(false);
}

void statusWindow::reportNoData() {
  clearStatusFields();
  if (!batteryWarningIssued) {
    MsgBox(std::string(kNoDataMessage));
    batteryWarningIssued = true;
  }
}

void statusWindow::hideWhatTheSourceLacks() {
  own<Rectangle>("capacityBG").setVisible(false);
  own<StaticText>("capacityBarLabel").setVisible(false);
  shown<StaticText>("emptyFlag").setVisible(false);
  shown<StaticText>("noChargeFlag").setVisible(false);
  own<StaticText>("originalCapacityLabel").setVisible(false);
}

std::int32_t statusWindow::barLength(const char* frame, double ratio, int allowance) {
  const std::int32_t width = shown<Rectangle>(frame).Width();
  return barWidth(ratio * width - allowance, width);
}

void statusWindow::PushButton1_Action() {
  updateTimer().setEnabled(false);
  Quit(0);
}

void statusWindow::PushButton2_Action() { ShowURL(std::string(kWebAddress)); }

}  // namespace ambrelux
