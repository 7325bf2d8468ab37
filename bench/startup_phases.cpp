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

// Resident set now, in KiB, from /proc/self/status.
long residentKb() {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (!status) return 0;
  char line[256];
  long kb = 0;
  while (std::fgets(line, sizeof line, status))
    if (std::sscanf(line, "VmRSS: %ld", &kb) == 1) break;
  std::fclose(status);
  return kb;
}

struct Mark {
  std::string what;
  long long at;
  long rssKb;
};

long long origin = 0;
std::vector<Mark> marks;

void mark(const std::string& what) { marks.push_back({what, nowNs(), residentKb()}); }

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
  ambrelux::setPlatform(&runner);
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
  long previousRss = 0;
  std::printf("%8s     %7s  %9s  %7s\n", "at", "step", "RSS KiB", "step");
  for (const Mark& m : marks) {
    std::printf("%8.2f ms  +%6.2f  %9ld  %+7ld  %s\n", (m.at - origin) / 1e6, (m.at - previous) / 1e6,
                m.rssKb, m.rssKb - previousRss, m.what.c_str());
    previous = m.at;
    previousRss = m.rssKb;
  }
  std::printf("of which %d command runs: %.2f ms\n", runner.commands, runner.commandNs / 1e6);
  return status;
}
