// A registered App and a fake platform, so a status window can be built,
// opened and refreshed headless without the battery tools. Every window is
// freed and the run ended after each test.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/app.h"
#include "app/framework/runtime.h"
#include "app/menu_bar1.h"
#include "status_window/status_window.h"
#include "support/display_checks.h"
#include "support/fake_platform.h"

namespace ambrelux::testing {

inline constexpr const char* kSmartListing = "ioreg -w0 -c AppleSmartBattery";
inline constexpr const char* kMacIOListing = "ioreg -w0 -cAppleMacIODevice";
inline constexpr const char* kProfilerReport = "system_profiler SPPowerDataType";

// Fails the test once for each problem a display check found.
inline void expectNone(const Problems& problems) {
  for (const std::string& problem : problems) ADD_FAILURE() << problem;
}
inline void expectDisplaySound(const statusWindow& w) { expectNone(soundnessProblems(w)); }
inline void expectDisplayCleared(const statusWindow& w) { expectNone(clearingProblems(w)); }

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto app = std::make_unique<App>();
    app->setMenuBar(MenuBar1::instance());
    RuntimeRegisterAppObject(std::move(app));
  }

  // Ends the run as the program does, so a Quit made by one test does not
  // end the next one's.
  void TearDown() override {
    releaseFrameworkLists();
    RuntimeExit();
  }

  // The open status window, built and opened on first use.
  statusWindow& window() { return *statusWindow::instance(); }

  template <typename T>
  T& control(const std::string& name) {
    T* found = window().control<T>(name);
    if (!found) throw std::runtime_error("no control " + name);
    return *found;
  }
  std::string text(const std::string& name) { return control<StaticText>(name).Text(); }
  bool visible(const std::string& name) { return control<RectControl>(name).Visible(); }
  int width(const std::string& name) { return control<RectControl>(name).Width(); }

  FakePlatform fake;
};

}  // namespace ambrelux::testing
