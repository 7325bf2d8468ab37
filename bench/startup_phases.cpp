// Where start-up's time goes: the probe's run with a clock read between its
// steps, printed when it ends (milliseconds since the process was spawned
// when started by ambrelux_measure, else since main).
#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/framework/platform.h"
#include "app/framework/runtime.h"
#include "app/menu_bar1.h"
#include "app/startup.h"
#include "status_window/status_window.h"

namespace {

using Clock = std::chrono::steady_clock;

long long nowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

long long origin = 0;
std::vector<std::pair<std::string, long long>> marks;

void mark(const std::string& what) { marks.emplace_back(what, nowNs()); }

// The real runner, timed.
class TimedRunner final : public ambrelux::Platform {
 public:
  ambrelux::CommandOutput runCommand(const std::string& line) override {
    const long long before = nowNs();
    ambrelux::CommandOutput out = ambrelux::runRealCommand(line);
    commandNs += nowNs() - before;
    ++commands;
    return out;
  }
  void showMessage(const std::string&) override {}
  void openUrl(const std::string&) override {}
  long long commandNs = 0;
  int commands = 0;
};

class TimedWindow : public ambrelux::statusWindow {
 protected:
  void Layout() override {
    mark("window object made");
    statusWindow::Layout();
    mark("Layout (menu bar, window properties)");
  }
  void CreateControls() override {
    statusWindow::CreateControls();
    mark("CreateControls (54 controls)");
  }
  void Event_Open() override {
    mark("tab order, flags, show");
    statusWindow::Event_Open();
    mark("Event_Open (probe, first refresh, timer)");
  }
};

}  // namespace

int main() {
  const char* start = std::getenv("AMBRELUX_MEASURE_START_NS");
  origin = start ? std::atoll(start) : nowNs();
  mark("main entered");
  TimedRunner runner;
  ambrelux::RuntimeInit();
  mark("RuntimeInit (QApplication)");
  QTimer::singleShot(0, [] {
    QCoreApplication::processEvents();
    mark("event loop: posted events, paint");
    ambrelux::Quit(0);
  });
  ambrelux::InitFileTypes();
  ambrelux::NewAppInstance();
  mark("document type, App, menu bar");
  (new TimedWindow())->construct();
  ambrelux::RuntimeRun();
  ambrelux::releaseGlobals();
  const int status = ambrelux::RuntimeExit();
  mark("release, RuntimeExit");
  long long previous = origin;
  for (const auto& [what, at] : marks) {
    std::printf("%8.2f ms  +%6.2f  %s\n", (at - origin) / 1e6, (at - previous) / 1e6, what.c_str());
    previous = at;
  }
  std::printf("of which %d command runs: %.2f ms\n", runner.commands, runner.commandNs / 1e6);
  return status;
}
