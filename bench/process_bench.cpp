// Whole refreshes with the real command runner and the stand-ins, the
// stand-ins themselves, and start-up, each against the cheapest way to do
// the same work: the same command line spawned with its output discarded,
// /bin/true spawned that way, an empty Qt window.
#include <benchmark/benchmark.h>
#include <sys/wait.h>

#include <QSize>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/app.h"
#include "app/framework/controls.h"
#include "app/framework/platform.h"
#include "app/framework/runtime.h"
#include "app/menu_bar1.h"
#include "ratio_reporter.h"
#include "spawn.h"
#include "status_window/status_window.h"

namespace ambrelux::bench {

namespace {

constexpr const char* kSmartListing = "ioreg -w0 -c AppleSmartBattery";
constexpr const char* kMacIOListing = "ioreg -w0 -cAppleMacIODevice";
constexpr const char* kProfilerReport = "system_profiler SPPowerDataType";

// The real command runner; a failure message would wait for a click that
// never comes, so it is counted instead and the benchmark gives up.
class RealRunnerNoBoxes final : public Platform {
 public:
  CommandOutput runCommand(const std::string& commandLine) override { return runRealCommand(commandLine); }
  void showMessage(const std::string&) override { ++messages; }
  void openUrl(const std::string&) override {}
  int messages = 0;
};

RealRunnerNoBoxes& platformGuard() {
  static RealRunnerNoBoxes guard;
  return guard;
}

// Built, shown and opened once (the probe and the first refresh run here),
// as the fixture of the GUI tests does it.
statusWindow& window() {
  static statusWindow* open = [] {
    setPlatform(&platformGuard());
    auto app = std::make_unique<App>();
    app->setMenuBar(MenuBar1::instance());
    RuntimeRegisterAppObject(std::move(app));
    return statusWindow::instance();
  }();
  return *open;
}

void BM_Refresh(benchmark::State& state, int source) {
  statusWindow& w = window();
  w.dataMethod = source;
  w.updateStatus();  // the profiler path runs its report twice on its first refresh
  const StaticText* voltage = w.control<StaticText>("voltageField");
  if (platformGuard().messages > 0 || w.batteryWarningIssued || !voltage || voltage->Text().empty())
    return state.SkipWithError("the refresh found no battery data");
  const double cpuBefore = cpuSecondsSelfAndChildren();
  for (auto _ : state) w.updateStatus();
  state.counters["cpu_s"] = (cpuSecondsSelfAndChildren() - cpuBefore) / static_cast<double>(state.iterations());
}

// The command runner alone, without the window: where a refresh's time
// beyond its floor goes.
void BM_Runner(benchmark::State& state, const char* commandLine) {
  if (runRealCommand(commandLine).exitStatus != 0) return state.SkipWithError("the command failed");
  for (auto _ : state) benchmark::DoNotOptimize(runRealCommand(commandLine));
}

void BM_Discarded(benchmark::State& state, const char* commandLine) {
  double cpu = 0;
  try {
    runDiscarded(commandLine);
    for (auto _ : state) cpu += runDiscarded(commandLine).cpuSeconds;
  } catch (const std::exception& e) {
    return state.SkipWithError(e.what());
  }
  state.counters["cpu_s"] = cpu / static_cast<double>(state.iterations());
}

void BM_Startup(benchmark::State& state, bool ambrelux) {
  std::vector<std::string> argv;
  if (ambrelux) {
    argv = {binaryBesideUs("ambrelux_startup_probe")};
  } else {
    const QSize size = window().size();
    argv = {binaryBesideUs("ambrelux_empty_window"), std::to_string(size.width()), std::to_string(size.height())};
  }
  std::vector<std::string> environment = toolEnvironment();
  double maxRss = 0, cpu = 0;
  for (auto _ : state) {
    const ChildRun run = spawnAndWait(argv, environment);
    if (!WIFEXITED(run.status) || WEXITSTATUS(run.status) != 0) return state.SkipWithError("the program failed");
    maxRss = std::max(maxRss, static_cast<double>(run.maxRssKb));
    cpu += run.cpuSeconds;
  }
  state.counters["peak_rss_kb"] = maxRss;
  state.counters["cpu_s"] = cpu / static_cast<double>(state.iterations());
}

benchmark::internal::Benchmark* timed(benchmark::internal::Benchmark* b) {
  return b->UseRealTime()->Unit(benchmark::kMillisecond);
}

}  // namespace

void registerProcessBenchmarks() {
  struct Source {
    const char* key;
    const char* label;
    const char* line;
    int method;
  };
  const Source sources[] = {{"smart", "smart battery", kSmartListing, 0},
                            {"older", "older machines", kMacIOListing, 1},
                            {"profiler", "system profiler", kProfilerReport, 2}};

  timed(benchmark::RegisterBenchmark("spawn/bin-true", BM_Discarded, "/bin/true"));
  for (const Source& s : sources) {
    const std::string key = s.key;
    timed(benchmark::RegisterBenchmark(("refresh/" + key).c_str(), BM_Refresh, s.method));
    timed(benchmark::RegisterBenchmark(("spawn/" + key).c_str(), BM_Discarded, s.line));
    timed(benchmark::RegisterBenchmark(("runner/" + key).c_str(), BM_Runner, s.line));
  }
  timed(benchmark::RegisterBenchmark("startup/ambrelux", BM_Startup, true));
  timed(benchmark::RegisterBenchmark("startup/empty-window", BM_Startup, false));

  for (const Source& s : sources) {
    const std::string key = s.key, line = s.line;
    addFigure({"Whole refresh, headless, real runner and stand-ins", std::string("refresh, ") + s.label,
               "refresh/" + key, "sh -c \"" + line + " >/dev/null\"", "spawn/" + key, "real", 1, "", 1.2});
  }
  for (const Source& s : sources) {
    const std::string key = s.key, line = s.line;
    addFigure({"Stand-ins, spawned through sh, output discarded", line, "spawn/" + key,
               "sh -c \"/bin/true >/dev/null\"", "spawn/bin-true", "real", 1, "", 2.0});
  }
  addFigure({"Start-up to the first refresh shown (offscreen)", "wall time, Ambrelux", "startup/ambrelux",
             "empty Qt Widgets window, same size", "startup/empty-window", "real", 1, "", 1.3});
  addFigure({"Start-up to the first refresh shown (offscreen)", "peak resident memory, Ambrelux",
             "startup/ambrelux", "empty Qt Widgets window, same size", "startup/empty-window", "peak_rss_kb", 1,
             "KiB", 1.2});
  for (const Source& s : sources) {
    const std::string key = s.key, line = s.line;
    addFigure({"CPU time (user+sys, with children) over one hour of 15 s refreshes (240)",
               std::string("per hour, ") + s.label, "refresh/" + key, "240 x sh -c \"" + line + " >/dev/null\"",
               "spawn/" + key, "cpu_s", 240, "", 0});
  }
  for (const Source& s : sources) {
    const std::string key = s.key, line = s.line;
    addFigure({"Diagnostics: the command runner alone (QProcess), no window", std::string("runner, ") + s.label,
               "runner/" + key, "sh -c \"" + line + " >/dev/null\"", "spawn/" + key, "real", 1, "", 0});
  }
}

}  // namespace ambrelux::bench
