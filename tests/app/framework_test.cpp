// Framework behaviour the system relies on beyond what the window tests
// show: the timer, widths, errors out of event handlers, pictures.
#include <gtest/gtest.h>
#include <qpa/qwindowsysteminterface.h>

#include <QLabel>
#include <QPointer>
#include <QTest>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "app/framework/picture.h"
#include "app/framework/runtime.h"
#include "app/framework/timer.h"
#include "app/framework/window.h"
#include "support/fake_platform.h"

namespace ambrelux::testing {
namespace {

class CountingTimer : public Timer {
 public:
  int actions = 0;

 protected:
  void Event_Action() override { ++actions; }
};

TEST(Timer, SettingsMapOntoACoarseRepeatingQtTimer) {
  CountingTimer timer;
  EXPECT_FALSE(timer.qtTimer().isActive());
  timer.setEnabled(true);
  timer.setMode(Timer::ModeMultiple);
  timer.setPeriod(15000);
  EXPECT_TRUE(timer.qtTimer().isActive());
  EXPECT_FALSE(timer.qtTimer().isSingleShot());
  EXPECT_EQ(timer.qtTimer().interval(), 15000);
  EXPECT_EQ(timer.qtTimer().timerType(), Qt::VeryCoarseTimer);
  timer.setMode(Timer::ModeOff);
  EXPECT_FALSE(timer.qtTimer().isActive());
  timer.setMode(Timer::ModeSingle);
  EXPECT_TRUE(timer.qtTimer().isSingleShot());
  timer.setEnabled(false);
  EXPECT_FALSE(timer.qtTimer().isActive());
  timer.CallAction();
  EXPECT_EQ(timer.actions, 1);
}

// An action that outlasts the period, as a refresh waiting for a slow tool
// does, while the window system queues a key press. Qt delivers such input
// after the timers due in the same pass, so a firing already due when the
// action returns would run first.
class OverrunningTimer : public Timer {
 public:
  OverrunningTimer(QWindow* window, std::vector<std::string>& log) : window_(window), log_(log) {}

 protected:
  void Event_Action() override {
    log_.push_back("action");
    if (log_.size() > 1) return;
    QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::AsynchronousDelivery>(
        window_, QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    std::this_thread::sleep_for(std::chrono::milliseconds(3 * Period()));
  }

 private:
  QWindow* window_;
  std::vector<std::string>& log_;
};

class KeyLog : public QObject {
 public:
  explicit KeyLog(std::vector<std::string>& log) : log_(log) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) log_.push_back("key");
    return false;
  }

 private:
  std::vector<std::string>& log_;
};

TEST(Timer, InputQueuedDuringAnOverrunningActionGoesBeforeTheNextFiring) {
  QWidget target;
  target.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&target));
  std::vector<std::string> log;
  KeyLog keys(log);
  target.installEventFilter(&keys);
  OverrunningTimer timer(target.windowHandle(), log);
  timer.setMode(Timer::ModeMultiple);
  timer.setPeriod(50);
  timer.setEnabled(true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return log.size() >= 3; }));
  EXPECT_EQ(log, (std::vector<std::string>{"action", "key", "action"}));
}

TEST(Timer, FiringsWhileAMessageBoxIsOpenAreDropped) {
  FakePlatform box;
  CountingTimer timer;
  box.whileMessageShows = [&] { timer.CallAction(); };
  MsgBox("Unable to read battery status data.");
  EXPECT_EQ(box.messages.size(), 1u);
  EXPECT_EQ(timer.actions, 0);
  EXPECT_FALSE(messageBoxOpen());
  timer.CallAction();
  EXPECT_EQ(timer.actions, 1);
}

class ThrowingTimer : public Timer {
 protected:
  void Event_Action() override { throw std::runtime_error("action failed"); }
};

TEST(Runtime, AnErrorOutOfAHandlerOutsideTheLoopIsReportedNotThrownThroughQt) {
  FakePlatform fake;
  ThrowingTimer timer;
  EXPECT_NO_THROW(timer.CallAction());
  ASSERT_EQ(fake.messages.size(), 1u);
  EXPECT_NE(fake.messages[0].find("action failed"), std::string::npos);
  EXPECT_TRUE(unhandledExceptionReported());
  EXPECT_EQ(RuntimeExit(), 1);  // and the run would end as a failure
}

class TwoLabels : public Window {
 public:
  TwoLabels() : Window("test.TwoLabels") {}

 protected:
  void CreateControls() override {
    auto& outer = newControl<StaticText>("outer");
    SetProperties(outer, encodeProperties({{"Left", 100}, {"Top", 50}, {"Width", 80}, {"Height", 20}}));
    auto& inner = newControl<StaticText>("inner");
    SetProperties(inner, encodeProperties({{"Left", 110},
                                           {"Top", 55},
                                           {"Width", 30},
                                           {"Height", 10},
                                           {"Visible", false},
                                           {"InitialParent", std::string("outer")}}));
  }
};

TEST(Controls, NestedControlsTakeContentCoordinatesAndWidthsNeverGoNegative) {
  auto* window = new TwoLabels;
  window->construct();
  auto* inner = window->control<StaticText>("inner");
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->widget()->parentWidget(), window->control<StaticText>("outer")->widget());
  EXPECT_EQ(inner->widget()->geometry(), QRect(10, 5, 30, 10));
  EXPECT_FALSE(inner->Visible());
  EXPECT_TRUE(inner->widget()->isHidden()) << "reparenting must not show a hidden control";
  inner->setWidth(-2);
  EXPECT_EQ(inner->Width(), 0);
  EXPECT_EQ(inner->widget()->width(), 0);
  inner->setWidth(2147483647);
  EXPECT_EQ(inner->widget()->width(), QWIDGETSIZE_MAX);
  // Text is shown as text, never as markup.
  inner->setText("<b>5200</b>");
  EXPECT_EQ(inner->label()->textFormat(), Qt::PlainText);
  EXPECT_EQ(GetImplicitWindow("test.TwoLabels"), window);
  window->close();
  EXPECT_EQ(GetImplicitWindow("test.TwoLabels"), nullptr) << "a closed window no longer counts as open";
  releaseFrameworkLists();
}

TEST(Pictures, AMissingPictureIsNilAndTriedAgain) {
  PictureCache missing(999);
  EXPECT_EQ(missing.get(), nullptr);
  EXPECT_EQ(missing.get(), nullptr);
}

}  // namespace
}  // namespace ambrelux::testing

namespace ambrelux::testing {
namespace {

// As when a firing after the window closed opens a new window, which
// stores a new timer in place of the one that is firing: Qt is still inside
// the old QTimer's timeout then, so that QTimer must outlive the action.
class ReplacingTimer : public Timer {
 public:
  ReplacingTimer(std::unique_ptr<Timer>& holder, bool& qtTimerSurvived)
      : holder_(holder), qtTimerSurvived_(qtTimerSurvived) {}

 protected:
  void Event_Action() override {
    const QPointer<const QTimer> own = &qtTimer();
    bool& survived = qtTimerSurvived_;
    holder_ = std::make_unique<CountingTimer>();  // frees this object
    survived = !own.isNull();
  }

 private:
  std::unique_ptr<Timer>& holder_;
  bool& qtTimerSurvived_;
};

TEST(Timer, ATimerFreedByItsOwnActionLeavesItsQtTimerToTheDeferredDeletes) {
  std::unique_ptr<Timer> holder;
  bool qtTimerSurvived = false;
  holder = std::make_unique<ReplacingTimer>(holder, qtTimerSurvived);
  const QPointer<const QTimer> replaced = &holder->qtTimer();
  holder->setMode(Timer::ModeMultiple);
  holder->setPeriod(1);
  holder->setEnabled(true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return dynamic_cast<CountingTimer*>(holder.get()) != nullptr; }));
  EXPECT_TRUE(qtTimerSurvived);
  EXPECT_TRUE(QTest::qWaitFor([&] { return replaced.isNull(); }));
}

}  // namespace
}  // namespace ambrelux::testing
