#include "app/framework/timer.h"

#include <algorithm>

#include "app/framework/runtime.h"

namespace ambrelux {

Timer::Timer() : timer_(new QTimer) {
  QObject::connect(timer_, &QTimer::timeout, [this] { fired(); });
}

Timer::~Timer() {
  *alive_ = false;
  timer_->stop();
  QObject::disconnect(timer_, nullptr, nullptr, nullptr);
  // Qt must not have a QTimer freed under its own timeout.
  if (firing_ > 0) timer_->deleteLater();
  else delete timer_;
}

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
    // A refresh every few seconds needs no precision; a very coarse timer
    // lets the system batch wake-ups, which matters on a laptop running on
    // battery. It keeps whole seconds only, so shorter periods stay coarse.
    timer_->setTimerType(period_ >= 1000 ? Qt::VeryCoarseTimer : Qt::CoarseTimer);
    timer_->setSingleShot(mode_ == ModeSingle);
    timer_->start(period_);
  } else {
    timer_->stop();
  }
}

void Timer::fired() {
  if (mode_ == ModeSingle) enabled_ = false;
  const std::shared_ptr<bool> alive = alive_;
  ++firing_;
  CallAction();
  if (!*alive) return;
  --firing_;
  // An action that ran past the next firing (a slow tool) would otherwise be
  // followed at once by another, ahead of the input that waited meanwhile:
  // the next firing comes one period after this one ended.
  if (timer_->isActive() && !timer_->isSingleShot() && timer_->remainingTime() == 0) timer_->start(period_);
}

void Timer::CallAction() {
  if (messageBoxOpen()) return;
  deliverEvent([this] { Event_Action(); });
}

}  // namespace ambrelux
