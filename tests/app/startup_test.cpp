// The run from start-up through the event loop to shut-down, against the
// fake platform, ended the ways a user ends it.
#include "app/startup.h"

#include <gtest/gtest.h>
#include <qpa/qwindowsysteminterface.h>

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QMenuBar>
#include <QTimer>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "app/app.h"
#include "app/framework/runtime.h"
#include "app/framework/shell.h"
#include "app/framework/termination.h"
#include "app/framework/timer.h"
#include "app/menu_bar1.h"
#include "status_window/status_window.h"
#include "support/fake_platform.h"
#include "support/window_fixture.h"

namespace ambrelux::testing {
namespace {

// A command runner that fails the way a broken platform would.
class ThrowingPlatform : public FakePlatform {
 public:
  CommandOutput runCommand(const std::string& commandLine) override {
    commands.push_back(commandLine);
    throw std::runtime_error("the command runner broke");
  }
};

// Answers the smart listing until broken, then throws; its boxes keep the
// event loop running while they show, as a modal box does.
class BreakingPlatform : public FakePlatform {
 public:
  BreakingPlatform() { setOutput("ioreg -w0 -c AppleSmartBattery", readTestData("ioreg/smart-battery.txt")); }
  CommandOutput runCommand(const std::string& commandLine) override {
    if (!broken) return FakePlatform::runCommand(commandLine);
    ++runsWhileBroken;
    throw std::runtime_error("the command runner broke");
  }
  void showMessage(const std::string& text) override {
    FakePlatform::showMessage(text);
    if (messages.size() > 1) return;  // without the fix, boxes would nest without end
    QEventLoop box;
    QTimer::singleShot(100, &box, &QEventLoop::quit);
    box.exec();
  }
  bool broken = false;
  int runsWhileBroken = 0;
};

class StartupTest : public ::testing::Test {
 protected:
  // Start-up, loop and shut-down as the executable runs them; `inLoop` runs
  // once the event loop is up, `afterLoop` once it has ended.
  int run(std::function<void()> inLoop, std::function<void()> afterLoop = nullptr) {
    RuntimeInit();
    QTimer::singleShot(0, &guard, [&] {
      loopRan = true;
      inLoop();
    });
    Main();
    if (afterLoop) afterLoop();
    releaseGlobals();
    return RuntimeExit();
  }
  bool loopRan = false;
  QObject guard;  // cancels a step the loop never got to run
};

TEST_F(StartupTest, AnErrorEscapingStartUpIsReportedOnceAndShutDownStillRuns) {
  ThrowingPlatform broken;
  const int status = run([] { Quit(0); });
  EXPECT_FALSE(loopRan) << "the event loop must be skipped";
  ASSERT_EQ(broken.messages.size(), 1u);
  EXPECT_NE(broken.messages[0].find("the command runner broke"), std::string::npos);
  EXPECT_NE(status, 0) << "a run that ended in an error must not report success";
  // The globals were released.
  EXPECT_EQ(MenuBar1::implicitInstance, nullptr);
  EXPECT_EQ(FileTypes::pText, nullptr);
  EXPECT_EQ(GetImplicitWindow(statusWindow::kClassName), nullptr);
}

// After an error has ended the loop, the refresh timer keeps firing behind
// the report's box; none of its firings may refresh or report again.
TEST_F(StartupTest, AnErrorInTheLoopIsReportedOnceAndNothingRunsAfterIt) {
  BreakingPlatform breaking;
  const int status = run([&] {
    breaking.broken = true;
    App::instance()->updateTimer->setPeriod(1);
  });
  EXPECT_EQ(status, 1);
  EXPECT_EQ(breaking.messages.size(), 1u);
  EXPECT_EQ(breaking.runsWhileBroken, 1);
}

// The user closes the window while a refresh waits for its tool; the
// refresh then fails. The close must win over the failure message, whose
// modal box would otherwise swallow it.
TEST_F(StartupTest, ClosingTheWindowDuringAFailingRefreshEndsTheRunWithoutAMessage) {
  BreakingPlatform fake;
  const int status = run([&] {
    fake.setOutput("ioreg -w0 -c AppleSmartBattery", "");
    QMetaObject::invokeMethod(statusWindow::instance(), &QWidget::close, Qt::QueuedConnection);
    statusWindow::instance()->updateStatus();
  });
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(fake.messages.empty());
}

// Answers every listing, but its first run after `slowFrom` outlasts the
// refresh period, as a slow tool does, while `meanwhile` queues what the
// user did.
class SlowPlatform : public FakePlatform {
 public:
  CommandOutput runCommand(const std::string& commandLine) override {
    CommandOutput run = FakePlatform::runCommand(commandLine);
    if (slowFrom && commands.size() == *slowFrom + 1) {
      meanwhile();
      std::this_thread::sleep_for(std::chrono::milliseconds(3 * App::instance()->updateTimer->Period()));
    }
    return run;
  }
  std::optional<std::size_t> slowFrom;
  std::function<void()> meanwhile;
};

struct UserEnd {
  const char* name;
  void (*request)(QWindow* window);  // queued as the window system queues it
  bool windowStaysOpen;
};

void keyPress(QWindow* window, int key, Qt::KeyboardModifiers modifiers) {
  for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
    QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::AsynchronousDelivery>(window, type, key,
                                                                                         modifiers);
}

const UserEnd kUserEnds[] = {
    {"CtrlQ", [](QWindow* window) { keyPress(window, Qt::Key_Q, Qt::ControlModifier); }, true},
    {"CloseRequest",
     [](QWindow* window) {
       QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::AsynchronousDelivery>(window);
     },
     false},
};

void PrintTo(const UserEnd& end, std::ostream* os) { *os << end.name; }

class SlowRefreshTest : public StartupTest, public ::testing::WithParamInterface<UserEnd> {};

// The refresh the timer starts outlasts its period; the user quits or closes
// the window meanwhile. The run ends when that refresh returns, with no
// refresh, window or tool after it.
TEST_P(SlowRefreshTest, QuitOrCloseDuringItEndsTheRunWhenItReturns) {
  SlowPlatform slow;
  slow.setOutput("ioreg -w0 -c AppleSmartBattery", readTestData("ioreg/smart-battery.txt"));
  Window *opened = nullptr, *open = nullptr;
  const int status = run(
      [&] {
        opened = statusWindow::instance();
        slow.meanwhile = [&] { GetParam().request(opened->windowHandle()); };
        slow.slowFrom = slow.commands.size();
        App::instance()->updateTimer->setPeriod(50);
      },
      [&] { open = GetImplicitWindow(statusWindow::kClassName); });
  ASSERT_TRUE(slow.slowFrom);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(slow.commands.size(), *slow.slowFrom + 1) << "a tool ran after the slow refresh";
  EXPECT_EQ(open, GetParam().windowStaysOpen ? opened : nullptr) << "a window opened after it";
}

INSTANTIATE_TEST_SUITE_P(UserEnds, SlowRefreshTest, ::testing::ValuesIn(kUserEnds),
                         [](const auto& row) { return std::string(row.param.name); });

// A quit made in the same pass of the loop as a due firing, ahead of it:
// neither a refresh nor a new window may follow.
struct QuitRequest {
  const char* name;
  void (*request)();
  bool windowStaysOpen;
};

const QuitRequest kQuitRequests[] = {
    {"FileQuit", [] { statusWindow::instance()->menuBar()->findChild<QAction*>("FileQuit")->trigger(); },
     true},
    {"LastWindowClosed", [] { statusWindow::instance()->close(); }, false},
};

void PrintTo(const QuitRequest& quit, std::ostream* os) { *os << quit.name; }

class QuitIsFinalTest : public StartupTest, public ::testing::WithParamInterface<QuitRequest> {};

TEST_P(QuitIsFinalTest, NoFiringWindowOrToolFollowsIt) {
  FakePlatform fake;
  fake.setOutput("ioreg -w0 -c AppleSmartBattery", readTestData("ioreg/smart-battery.txt"));
  std::size_t commands = 0;
  statusWindow *opened = nullptr, *open = nullptr;
  std::string charge;
  const int status = run(
      [&] {
        opened = statusWindow::instance();
        App::instance()->updateTimer->setPeriod(20);
        QTimer::singleShot(0, &guard, GetParam().request);
        std::this_thread::sleep_for(std::chrono::milliseconds(60));  // the firing falls due meanwhile
        commands = fake.commands.size();
      },
      [&] {
        open = dynamic_cast<statusWindow*>(GetImplicitWindow(statusWindow::kClassName));
        // A refresh would have found no tool to run and cleared the display.
        if (open) charge = open->control<StaticText>("currentField")->Text();
      });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(fake.commands.size(), commands);
  EXPECT_EQ(open, GetParam().windowStaysOpen ? opened : nullptr);
  EXPECT_EQ(charge, GetParam().windowStaysOpen ? "50%" : "");
}

INSTANTIATE_TEST_SUITE_P(Quits, QuitIsFinalTest, ::testing::ValuesIn(kQuitRequests),
                         [](const auto& row) { return std::string(row.param.name); });

// A quit that arrives while a refresh runs its tools (a termination signal
// does) lets that refresh finish without starting another tool or showing
// its failure message.
class QuittingPlatform : public FakePlatform {
 public:
  CommandOutput runCommand(const std::string& commandLine) override {
    Quit(0);
    return FakePlatform::runCommand(commandLine);
  }
};

using QuitDuringARefreshTest = WindowTest;

TEST_F(QuitDuringARefreshTest, StartsNoFurtherToolAndShowsNoMessage) {
  fake.setOutput(kSmartListing, readTestData("ioreg/smart-battery.txt"));
  window().dataMethod = statusWindow::kSystemProfiler;  // whose refresh runs the report three times
  QuittingPlatform quitting;                            // in use from here on
  window().updateStatus();
  EXPECT_EQ(quitting.commands, std::vector<std::string>{kProfilerReport});
  EXPECT_TRUE(quitting.messages.empty());
}

// A termination signal ends the run from the moment it arrives, not only
// once the loop has read it: the loop may be held by a refresh. Each row
// runs in a process of its own, since a signal can't be taken back; the loop
// never runs there, so only the signal itself can stop what the row tries.
struct AfterSignal {
  const char* name;
  bool (*happens)(FakePlatform& fake);
};

class CountingTimer : public Timer {
 public:
  int actions = 0;

 protected:
  void Event_Action() override { ++actions; }
};

const AfterSignal kAfterSignal[] = {
    {"TimerAction",
     [](FakePlatform&) {
       CountingTimer timer;
       timer.CallAction();  // as a firing delivers it
       return timer.actions > 0;
     }},
    {"WindowBuilt", [](FakePlatform&) { return statusWindow::instance() != nullptr; }},
    {"ToolStarted",
     [](FakePlatform& fake) {
       Shell().Execute(kSmartListing);
       return !fake.commands.empty();
     }},
    {"MessageShown",
     [](FakePlatform& fake) {
       MsgBox("Unable to read battery status data.");
       return !fake.messages.empty();
     }},
};

void PrintTo(const AfterSignal& row, std::ostream* os) { *os << row.name; }

class TerminationSignalTest : public WindowTest, public ::testing::WithParamInterface<AfterSignal> {};

TEST_P(TerminationSignalTest, StopsWhatFollowsBeforeTheLoopHandlesIt) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        fake.setOutput(kSmartListing, readTestData("ioreg/smart-battery.txt"));
        catchTerminationSignals();
        ::raise(SIGTERM);
        const bool happened = GetParam().happens(fake);
        if (happened) std::fprintf(stderr, "%s after the signal\n", GetParam().name);
        std::_Exit(happened ? 1 : 0);
      },
      ::testing::ExitedWithCode(0), "");
}

INSTANTIATE_TEST_SUITE_P(Steps, TerminationSignalTest, ::testing::ValuesIn(kAfterSignal),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(StartupTest, QuitButtonEndsTheRunWithStatusZeroAndStopsTheTimer) {
  FakePlatform fake;
  bool autoQuit = false, timerWasRunning = false, timerStopped = false;
  const int status = run([&] {
    autoQuit = App::instance()->AutoQuit();
    timerWasRunning = App::instance()->updateTimer->Enabled();
    statusWindow::instance()->control<PushButton>("PushButton1")->push();
    timerStopped = !App::instance()->updateTimer->Enabled();
  });
  EXPECT_TRUE(loopRan);
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(autoQuit) << "the application's Open event sets AutoQuit";
  EXPECT_TRUE(timerWasRunning);
  EXPECT_TRUE(timerStopped);
}

TEST_F(StartupTest, ClosingTheWindowEndsTheRun) {
  FakePlatform fake;
  const int status = run([] { statusWindow::instance()->close(); });
  EXPECT_TRUE(loopRan);
  EXPECT_EQ(status, 0);
}

TEST_F(StartupTest, FileQuitEndsTheRun) {
  FakePlatform fake;
  const int status =
      run([] { statusWindow::instance()->menuBar()->findChild<QAction*>("FileQuit")->trigger(); });
  EXPECT_TRUE(loopRan);
  EXPECT_EQ(status, 0);
}

TEST_F(StartupTest, StartUpBuildsOneWindowWithTheSharedMenuBar) {
  FakePlatform fake;
  int windows = 0;
  bool sameMenuBar = false, timerHeld = false, iconShown = false;
  run([&] {
    for (QWidget* widget : QApplication::topLevelWidgets())
      windows += dynamic_cast<statusWindow*>(widget) != nullptr;
    sameMenuBar = App::instance()->MenuBar() == statusWindow::instance()->MenuBar();
    timerHeld = App::instance()->updateTimer != nullptr;
    iconShown = !statusWindow::instance()->windowIcon().pixmap(32).isNull();
    Quit(0);
  });
  EXPECT_EQ(windows, 1);
  EXPECT_TRUE(sameMenuBar);
  EXPECT_TRUE(timerHeld);
  // Docks match the window to the desktop entry ambrelux.desktop.
  EXPECT_TRUE(iconShown);
  EXPECT_EQ(QApplication::desktopFileName(), "ambrelux");
}

TEST(StartupSteps, TheApplicationObjectStartsWithoutTimerAndTheDocumentTypeIsDeclared) {
  NewAppInstance();
  ASSERT_NE(App::instance(), nullptr);
  EXPECT_EQ(App::instance()->updateTimer, nullptr);
  EXPECT_EQ(App::instance()->MenuBar(), MenuBar1::instance().get());
  EXPECT_FALSE(App::instance()->ShortVersion().empty());
  RuntimeRegisterAppObject(nullptr);
  MenuBar1::implicitInstance.reset();

  InitFileTypes();
  ASSERT_NE(FileTypes::pText, nullptr);
  EXPECT_EQ(FileTypes::pText->Name, "text");
  EXPECT_EQ(FileTypes::pText->Extensions, "");
  EXPECT_EQ(FileTypes::pText->MacType, "TEXT");
  EXPECT_EQ(FileTypes::pText->MacCreator, "R*ch");
  FileTypes::pText.reset();
}

}  // namespace
}  // namespace ambrelux::testing
