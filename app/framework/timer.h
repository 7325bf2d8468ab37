// The framework timer: Mode 0 is off, 1 fires once, 2 fires repeatedly,
// every Period milliseconds while Enabled, always on the event loop. After
// an action that ran past the next firing, the next comes one Period after
// that action ended, so what waited meanwhile (a key press, a close) goes
// first; no firing catches up.
#pragma once

#include <QTimer>
#include <cstdint>
#include <memory>

namespace ambrelux {

class Timer {
 public:
  static constexpr std::int32_t ModeOff = 0, ModeSingle = 1, ModeMultiple = 2;

  Timer();
  virtual ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  bool Enabled() const { return enabled_; }
  void setEnabled(bool value);
  std::int32_t Mode() const { return mode_; }
  void setMode(std::int32_t value);
  std::int32_t Period() const { return period_; }
  void setPeriod(std::int32_t milliseconds);

  // Delivers one Action, as a firing does. A firing that falls due while a
  // message box opened by MsgBox is showing is dropped: one box at a time.
  void CallAction();

  // The Qt timer behind it, for inspection.
  const QTimer& qtTimer() const { return *timer_; }

 protected:
  virtual void Event_Action() {}

 private:
  void reschedule();
  void fired();

  // Heap-held, so a timer freed by its own action leaves Qt a live QTimer
  // to return to; `alive_` tells the firing whether it still may touch us.
  QTimer* timer_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  int firing_ = 0;
  bool enabled_ = false;
  std::int32_t mode_ = ModeMultiple;
  std::int32_t period_ = 1000;
};

}  // namespace ambrelux
