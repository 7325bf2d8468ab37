#include "app/framework/timer.h"

#include <algorithm>

#include "app/framework/runtime.h"

namespace ambrelux {

Timer::Timer() {
  // A refresh every few seconds needs no precision; a coarse timer lets the
  // system batch wake-ups, which matters on a laptop running on battery.
  timer_.setTimerType(Qt::VeryCoarseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] { fired(); });
}

Timer::~Timer() = default;

void Timer::setEnabled(bool value) {
  enabled_ = value;
  reschedule();
}

void Timer::setMode(std::int32_t value) {
  mode_ = value;
  reschedule();
}

void Timer::setPeriod(std::int32_t milliseconds) {
  period_ = std::max(milliseconds, 1);
  reschedule();
}

void Timer::reschedule() {
  if (enabled_ && (mode_ == ModeSingle || mode_ == ModeMultiple)) {
    timer_.setSingleShot(mode_ == ModeSingle);
    timer_.start(period_);
  } else {
    timer_.stop();
  }
}

void Timer::fired() {
  if (mode_ == ModeSingle) enabled_ = false;
  CallAction();
}

void Timer::CallAction() {
  if (messageBoxOpen()) return;
  deliverEvent([this] { Event_Action(); });
}

}  // namespace ambrelux
