// The status window: the system's one window, carrying the whole battery
// display. It is built from its layout table, probes once which battery
// source the machine answers, and refreshes from that source.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "app/framework/exceptions.h"
#include "app/framework/menus.h"
#include "app/framework/shell.h"
#include "app/framework/window.h"
#include "profiler/battery_info.h"

namespace ambrelux {

struct ControlRow;

class statusWindow : public Window {
 public:
  // The class name the open window is found by.
  static constexpr const char* kClassName = "statusWindow.statusWindow";

  statusWindow();
  ~statusWindow() override;

  // The open status window, or a new one, built, shown and opened; nil when
  // none is open and Ambrelux is ending.
  static statusWindow* instance();

  // The values of dataMethod: the source the probe chose.
  static constexpr std::int32_t kSmartBattery = 0;
  static constexpr std::int32_t kOlderMachines = 1;
  static constexpr std::int32_t kSystemProfiler = 2;

  std::unique_ptr<Shell> sh;  // the probe's runner, reused by the older-machine path
  std::int32_t dataMethod = kSmartBattery;
  bool batteryWarningIssued = false;     // the failure message shows once per run of failures
  std::unique_ptr<BatteryInfo> batInfo;  // the profiler reader, made on first use

  // Menu items of the window's menu bar, by name; nil for a name no item
  // carries. Throws NilObjectException when the window has no menu bar.
  MenuItem* EditMenu() const;
  MenuItem* EditClear() const;
  MenuItem* EditPaste() const;
  MenuItem* EditCopy() const;
  MenuItem* EditCut() const;
  MenuItem* UntitledMenu0() const;
  MenuItem* EditUndo() const;
  MenuItem* FileMenu() const;
  QuitMenuItem* FileQuit() const;
  MenuItem* UntitledMenu1() const;

  // Buttons: Quit stops the refresh timer and quits with 0; the web button
  // opens the product's page.
  virtual void PushButton1_Action();
  virtual void PushButton2_Action();

  // One refresh from the source the probe chose; nothing for another value.
  virtual void updateStatus();
  virtual void updateBatteryStatus();          // smart battery
  virtual void updateBatteryStatusOld();       // older machines
  virtual void updateBatteryStatusProfiler();  // system profiler

  virtual std::string parseLine(std::string_view block, std::string_view key);
  virtual std::string parseOldLine(std::string_view line, std::string_view key);
  virtual std::string formatStr(double value);

  // Blanks the value fields, empties the bars and turns every flag off.
  virtual void clearStatusFields();

 protected:
  void Layout() override;
  void CreateControls() override;
  virtual void CreateControls0();
  virtual void CreateControls1();
  void AddMenuHandlers(Window& window) override;
  void Event_Open() override;

 private:
  void createControl(const ControlRow& row);
  MenuItem* menuItem(std::string_view name) const;
  // The failure course of a refresh that found no usable data.
  void reportNoData();
  // The older-machine and profiler sources give no design row, depletion or
  // chargeability: their refreshes hide those controls.
  void hideWhatTheSourceLacks();
  // A bar's length: `ratio` of its frame's width as it stands, less
  // `allowance` pixels, held to the frame.
  static std::int32_t barLength(const char* frame, double ratio, int allowance);

  // Controls of the open status window, looked up afresh for each write,
  // and controls of this window itself.
  template <typename T>
  static T& shown(std::string_view name);
  template <typename T>
  T& own(std::string_view name) const {
    return *requireObject(control<T>(name), "no such control");
  }
};

template <typename T>
T& statusWindow::shown(std::string_view name) {
  return requireObject(instance(), "no status window")->own<T>(name);
}

}  // namespace ambrelux
