// Whole refreshes with the real command runner and the stand-ins, the
// stand-ins themselves, and start-up, each against the cheapest way to do
// the same work: the same command line spawned with its output discarded,
// /bin/true spawned that way, an empty Qt window.
//
// Each figure is measured in pairs with its floor, alternating which goes
// first, so load from other work on the machine falls on both alike; every
// repetition yields the ratio of the two sums.
#include <benchmark/benchmark.h>
#include <sys/wait.h>

#include <QSize>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

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

// What one run of a step cost.
struct Cost {
  double wall = 0;   // seconds
  double cpu = 0;    // user + system seconds, ours and our children's
  double rssKb = 0;  // peak resident set, where the step reports one
};

using Step = std::function<Cost()>;

// A step measured from outside: wall clock and CPU around it.
Step timed(std::function<void()> step) {
  return [step = std::move(step)] {
    const double cpuBefore = cpuSecondsSelfAndChildren();
    const auto before = std::chrono::steady_clock::now();
    step();
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - before;
    return Cost{wall.count(), cpuSecondsSelfAndChildren() - cpuBefore, 0};
  };
}

// The figure's step and its floor's in turn, each iteration starting with
// the other one; counters per run of each, and the ratio of the sums.
void pairedBenchmark(benchmark::State& state, const Step& value, const Step& floor) {
  Cost values, floors;
  bool valueFirst = true;
  try {
    for (auto _ : state) {
      const Cost a = valueFirst ? value() : floor();
      const Cost b = valueFirst ? floor() : value();
      const Cost& v = valueFirst ? a : b;
      const Cost& f = valueFirst ? b : a;
      values = {values.wall + v.wall, values.cpu + v.cpu, values.rssKb + v.rssKb};
      floors = {floors.wall + f.wall, floors.cpu + f.cpu, floors.rssKb + f.rssKb};
      state.SetIterationTime(v.wall + f.wall);
      valueFirst = !valueFirst;
    }
  } catch (const std::exception& e) {
    return state.SkipWithError(e.what());
  }
  const auto n = static_cast<double>(state.iterations());
  state.counters["value_s"] = values.wall / n;
  state.counters["floor_s"] = floors.wall / n;
  state.counters["ratio"] = values.wall / floors.wall;
  state.counters["value_cpu_s"] = values.cpu / n;
  state.counters["floor_cpu_s"] = floors.cpu / n;
  if (values.rssKb > 0) {
    state.counters["value_rss_kb"] = values.rssKb / n;
    state.counters["floor_rss_kb"] = floors.rssKb / n;
    state.counters["rss_ratio"] = values.rssKb / floors.rssKb;
  }
}

Step discarded(const char* commandLine) {
  return timed([commandLine] { runDiscarded(commandLine); });
}

void BM_Refresh(benchmark::State& state, int source, const char* commandLine) {
  statusWindow& w = window();
  w.dataMethod = source;
  w.updateStatus();  // the profiler path runs its report twice on its first refresh
  const StaticText* voltage = w.control<StaticText>("voltageField");
  if (platformGuard().messages > 0 || w.batteryWarningIssued || !voltage || voltage->Text().empty())
    return state.SkipWithError("the refresh found no battery data");
  pairedBenchmark(state, timed([&w] { w.updateStatus(); }), discarded(commandLine));
}

// The command runner alone, without the window, against posix_spawn
// reading the same output: what the keeper, the process group and the
// environment cost.
void BM_Runner(benchmark::State& state, const char* commandLine) {
  if (runRealCommand(commandLine).output != runReading(commandLine))
    return state.SkipWithError("the runner and posix_spawn read different outputs");
  pairedBenchmark(state, timed([commandLine] { benchmark::DoNotOptimize(runRealCommand(commandLine)); }),
                  timed([commandLine] { benchmark::DoNotOptimize(runReading(commandLine)); }));
}

// The least any runner can cost: posix_spawn with the output read through
// a pipe.
void BM_Reading(benchmark::State& state, const char* commandLine) {
  pairedBenchmark(state, timed([commandLine] { benchmark::DoNotOptimize(runReading(commandLine)); }),
                  discarded(commandLine));
}

// A refresh with the command's output canned: parsing and writing the
// controls, without any process.
class CannedOutput final : public Platform {
 public:
  CommandOutput runCommand(const std::string& commandLine) override { return outputs.at(commandLine); }
  void showMessage(const std::string&) override { ++messages; }
  void openUrl(const std::string&) override {}
  std::map<std::string, CommandOutput> outputs;
  int messages = 0;
};

void BM_Display(benchmark::State& state, int source, const char* commandLine) {
  statusWindow& w = window();
  CannedOutput canned;
  canned.outputs[commandLine] = runRealCommand(commandLine);
  setPlatform(&canned);
  w.dataMethod = source;
  w.updateStatus();
  if (canned.messages > 0 || w.batteryWarningIssued) state.SkipWithError("the refresh found no battery data");
  else
    for (auto _ : state) w.updateStatus();
  setPlatform(&platformGuard());
}

void BM_StandIn(benchmark::State& state, const char* commandLine) {
  pairedBenchmark(state, discarded(commandLine), discarded("/bin/true"));
}

// One start of a program through ambrelux_measure, which spawns it from a
// small process and reports its wall time, peak RSS and CPU: a child that
// is vforked by a large process is charged that process's RSS at exec.
Step measured(const std::vector<std::string>& words) {
  std::string command;
  for (const std::string& word : words) command.append(command.empty() ? "" : " ").append(word);
  return [command] {
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) throw std::runtime_error("cannot start " + command);
    Cost cost;
    long rssKb = 0;
    int status = -1;
    const int read = std::fscanf(pipe, "%lf %ld %lf %d", &cost.wall, &rssKb, &cost.cpu, &status);
    pclose(pipe);
    if (read != 4 || status != 0) throw std::runtime_error("failed: " + command);
    cost.rssKb = static_cast<double>(rssKb);
    return cost;
  };
}

Step emptyWindow(bool withLabel) {
  const QSize size = window().size();
  std::vector<std::string> words = {binaryBesideUs("ambrelux_measure"),
                                    binaryBesideUs("ambrelux_empty_window"), std::to_string(size.width()),
                                    std::to_string(size.height())};
  if (withLabel) words.push_back("label");
  return measured(words);
}

void BM_Startup(benchmark::State& state, bool labelFloor) {
  pairedBenchmark(state,
                  measured({binaryBesideUs("ambrelux_measure"), binaryBesideUs("ambrelux_startup_probe")}),
                  emptyWindow(labelFloor));
}

double quartile(const std::vector<double>& values, double q) {
  std::vector<double> sorted = values;
  std::sort(sorted.begin(), sorted.end());
  return sorted.empty() ? 0
                        : sorted[static_cast<std::size_t>(q * static_cast<double>(sorted.size() - 1) + 0.5)];
}

// Repetitions spread on a busy machine: the middle half of them is shown
// beside the median.
void paired(benchmark::internal::Benchmark* b) {
  b->UseManualTime()->Unit(benchmark::kMillisecond);
  b->ComputeStatistics("p25", [](const std::vector<double>& v) { return quartile(v, 0.25); });
  b->ComputeStatistics("p75", [](const std::vector<double>& v) { return quartile(v, 0.75); });
}

// The window's part of a refresh: the refresh against the command runner
// running the same command alone.
void BM_WindowPart(benchmark::State& state, int source, const char* commandLine) {
  statusWindow& w = window();
  w.dataMethod = source;
  w.updateStatus();
  if (platformGuard().messages > 0 || w.batteryWarningIssued)
    return state.SkipWithError("the refresh found no battery data");
  pairedBenchmark(state, timed([&w] { w.updateStatus(); }),
                  timed([commandLine] { benchmark::DoNotOptimize(runRealCommand(commandLine)); }));
}

}  // namespace

void registerProcessBenchmarks() {
  struct Source {
    const char* key;
    const char* label;
    const char* line;
    int method;
  };
  const Source sources[] = {
      {"smart", "smart battery", kSmartListing, statusWindow::kSmartBattery},
      {"older", "older machines", kMacIOListing, statusWindow::kOlderMachines},
      {"profiler", "system profiler (1 report per refresh)", kProfilerReport, statusWindow::kSystemProfiler}};

  for (const Source& s : sources) {
    const std::string key = s.key;
    paired(benchmark::RegisterBenchmark(("refresh/" + key).c_str(), BM_Refresh, s.method, s.line));
    paired(benchmark::RegisterBenchmark(("spawn/" + key).c_str(), BM_StandIn, s.line));
    paired(benchmark::RegisterBenchmark(("runner/" + key).c_str(), BM_Runner, s.line));
    paired(benchmark::RegisterBenchmark(("reading/" + key).c_str(), BM_Reading, s.line));
    paired(benchmark::RegisterBenchmark(("window/" + key).c_str(), BM_WindowPart, s.method, s.line));
    benchmark::RegisterBenchmark(("display/" + key).c_str(), BM_Display, s.method, s.line)
        ->Unit(benchmark::kMicrosecond);
  }
  paired(benchmark::RegisterBenchmark("startup/empty-window", BM_Startup, false));
  paired(benchmark::RegisterBenchmark("startup/label-window", BM_Startup, true));

  const auto pair = [](std::string section, std::string label, std::string name, std::string floorLabel,
                       double target) {
    addFigure({std::move(section), std::move(label), name, std::move(floorLabel), name, "value_s", 1, "",
               target, "floor_s", "ratio"});
  };
  for (const Source& s : sources)
    pair("Whole refresh, headless, real runner and stand-ins", std::string("refresh, ") + s.label,
         std::string("refresh/") + s.key, "sh -c \"" + std::string(s.line) + " >/dev/null\"", 1.2);
  for (const Source& s : sources)
    pair("Stand-ins, spawned through sh, output discarded", s.line, std::string("spawn/") + s.key,
         "sh -c \"/bin/true >/dev/null\"", 2.0);
  const std::string startup = "Start-up to the first refresh shown (offscreen)";
  pair(startup, "wall time, Ambrelux", "startup/empty-window", "empty Qt Widgets window, same size", 1.3);
  addFigure({startup, "peak resident memory, Ambrelux", "startup/empty-window",
             "empty Qt Widgets window, same size", "startup/empty-window", "value_rss_kb", 1, "KiB", 1.2,
             "floor_rss_kb", "rss_ratio"});
  const std::string withText =
      "Diagnostics: start-up against a window that also shows text (Qt's font database)";
  pair(withText, "wall time, Ambrelux", "startup/label-window", "the same window with one text label", 0);
  addFigure({withText, "peak resident memory, Ambrelux", "startup/label-window",
             "the same window with one text label", "startup/label-window", "value_rss_kb", 1, "KiB", 0,
             "floor_rss_kb", "rss_ratio"});
  for (const Source& s : sources) {
    const std::string name = std::string("refresh/") + s.key;
    addFigure({"CPU time (user+sys, with children) over one hour of 15 s refreshes (240)",
               std::string("per hour, ") + s.label, name,
               "240 x sh -c \"" + std::string(s.line) + " >/dev/null\"", name, "value_cpu_s", 240, "", 0,
               "floor_cpu_s", ""});
  }
  const std::string parts = "Diagnostics: where a refresh's time beyond its floor goes";
  for (const Source& s : sources)
    pair(parts, std::string("posix_spawn reading the output, ") + s.key, std::string("reading/") + s.key,
         "the same, output discarded", 0);
  for (const Source& s : sources)
    pair(parts, std::string("command runner, ") + s.key, std::string("runner/") + s.key,
         "posix_spawn reading the output", 0);
  for (const Source& s : sources)
    pair(parts, std::string("whole refresh, ") + s.key, std::string("window/") + s.key,
         "the command runner alone, same command", 0);
  for (const Source& s : sources)
    addFigure({parts, std::string("parse and write the controls, ") + s.key, std::string("display/") + s.key,
               "the whole refresh", std::string("refresh/") + s.key, "real", 1, "", 0, "value_s", ""});
}

}  // namespace ambrelux::bench
