// The run from start-up through the event loop to shut-down, against the
// fake platform, ended the ways a user ends it.
#include "app/startup.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QMenuBar>
#include <QTimer>
#include <stdexcept>

#include "app/app.h"
#include "app/framework/runtime.h"
#include "app/menu_bar1.h"
#include "status_window/status_window.h"
#include "support/fake_platform.h"

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
  // once the event loop is up.
  int run(std::function<void()> inLoop) {
    RuntimeInit();
    QTimer::singleShot(0, &guard, [&] {
      loopRan = true;
      inLoop();
    });
    Main();
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
