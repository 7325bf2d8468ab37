#include "ratio_reporter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <thread>

namespace ambrelux::bench {

namespace {

std::vector<Figure>& figures() {
  static std::vector<Figure> list;
  return list;
}

std::vector<Growth>& growths() {
  static std::vector<Growth> list;
  return list;
}

std::string formatValue(double value, const std::string& unit) {
  char buffer[64];
  if (!unit.empty()) {
    std::snprintf(buffer, sizeof buffer, value >= 100 ? "%.0f %s" : "%.3g %s", value, unit.c_str());
  } else if (value >= 1) {
    std::snprintf(buffer, sizeof buffer, "%.3f s", value);
  } else if (value >= 1e-3) {
    std::snprintf(buffer, sizeof buffer, "%.3f ms", value * 1e3);
  } else if (value >= 1e-6) {
    std::snprintf(buffer, sizeof buffer, "%.3f us", value * 1e6);
  } else {
    std::snprintf(buffer, sizeof buffer, "%.1f ns", value * 1e9);
  }
  return buffer;
}

template <typename... Args>
void print(std::ostream& out, const char* format, Args... args) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, format, args...);
  out << buffer;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string verdict(double ratio, double target) {
  if (target <= 0) return "";
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "<= %.1f  %s", target, ratio <= target ? "met" : "MISSED");
  return buffer;
}

}  // namespace

void addFigure(Figure figure) { figures().push_back(std::move(figure)); }
void addGrowth(Growth growth) { growths().push_back(std::move(growth)); }

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
  // Of the aggregates, the console shows the median and the O(N) fit; the
  // mean, spread and quartiles only feed the figures.
  std::vector<Run> shown;
  for (const Run& run : runs)
    if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median" || run.report_big_o ||
        run.report_rms)
      shown.push_back(run);
  if (!shown.empty()) ConsoleReporter::ReportRuns(shown);
  for (const Run& run : runs) {
    if (run.error_occurred) continue;
    if (run.report_rms) rms_[run.run_name.function_name] = run.GetAdjustedRealTime();
    const bool isAggregate = run.run_type == Run::RT_Aggregate;
    const bool isMedian = isAggregate && run.aggregate_name == "median";
    const bool isQuartile = isAggregate && (run.aggregate_name == "p25" || run.aggregate_name == "p75");
    if (run.run_type != Run::RT_Iteration && !isMedian && !isQuartile) continue;
    const double perSecond = benchmark::GetTimeUnitMultiplier(run.time_unit);
    Sample sample;
    sample.real = run.GetAdjustedRealTime() / perSecond;
    sample.cpu = run.GetAdjustedCPUTime() / perSecond;
    for (const auto& [key, counter] : run.counters) sample.counters[key] = counter.value;
    sample.complexityN = run.complexity_n;
    repetitions_ = std::max<int>(repetitions_, static_cast<int>(run.repetitions));
    // The library's own median wins over the repetitions it was taken from
    // (which the console shows only without --benchmark_display_aggregates_only).
    // Figures name runs by function and arguments only, without the
    // "real_time" or repetition fields the library may add.
    std::string key = run.run_name.function_name;
    if (!run.run_name.args.empty()) key += "/" + run.run_name.args;
    if (isMedian) medians_[key] = sample;
    else if (isQuartile) (run.aggregate_name == "p25" ? p25_ : p75_)[key] = sample;
    else samples_[key].push_back(sample);
  }
}

bool RatioReporter::value(const std::string& name, const std::string& metric, double* out,
                          std::int64_t* n) const {
  std::vector<Sample> chosen;
  auto found = samples_.find(name);
  if (const auto m = medians_.find(name); m != medians_.end()) {
    chosen = {m->second};
  } else if (found == samples_.end() || found->second.empty()) {
    return false;
  } else {
    chosen = found->second;
  }
  std::vector<double> values;
  for (const Sample& s : chosen) {
    if (metric == "real") values.push_back(s.real);
    else if (metric == "cpu") values.push_back(s.cpu);
    else if (const auto c = s.counters.find(metric); c != s.counters.end()) values.push_back(c->second);
  }
  if (values.empty()) return false;
  *out = median(values);
  if (n) *n = chosen.front().complexityN;
  return true;
}

void RatioReporter::Finalize() {
  ConsoleReporter::Finalize();
  std::ostream& out = GetOutputStream();
  print(out, "\n== Figures against their floors (median of %d repetition%s%s; %u cores) ==\n", repetitions_,
        repetitions_ == 1 ? "" : "s", repetitions_ == 1 ? "" : ", middle half in brackets",
        std::thread::hardware_concurrency());
  std::string section;
  for (const Figure& f : figures()) {
    double value = 0, floor = 0, pairedRatio = 0;
    const std::string& floorMetric = f.floorMetric.empty() ? f.metric : f.floorMetric;
    if (!this->value(f.name, f.metric, &value) || !this->value(f.floorName, floorMetric, &floor)) continue;
    const bool paired = !f.ratioMetric.empty() && this->value(f.name, f.ratioMetric, &pairedRatio);
    if (f.section != section) {
      section = f.section;
      print(out, "\n-- %s --\n", section.c_str());
    }
    value *= f.scale;
    floor *= f.scale;
    const double ratio = paired ? pairedRatio : floor > 0 ? value / floor : NAN;
    char spread[40] = "";
    const auto low = p25_.find(f.name), high = p75_.find(f.name);
    if (paired && low != p25_.end() && high != p75_.end() && low->second.counters.count(f.ratioMetric) &&
        high->second.counters.count(f.ratioMetric))
      std::snprintf(spread, sizeof spread, "(%.2f-%.2f)", low->second.counters.at(f.ratioMetric),
                    high->second.counters.at(f.ratioMetric));
    print(out, "%-48s %14s | floor: %-54s %14s | ratio %5.2f %-11s %s\n", f.label.c_str(),
          formatValue(value, f.unit).c_str(), f.floorLabel.c_str(), formatValue(floor, f.unit).c_str(), ratio,
          spread, verdict(ratio, f.target).c_str());
  }
  bool header = false;
  for (const Growth& g : growths()) {
    double small = 0, large = 0;
    std::int64_t smallN = 0, largeN = 0;
    if (!value(g.smallName, g.metric, &small, &smallN) || !value(g.largeName, g.metric, &large, &largeN))
      continue;
    // Aggregates carry no input size: growth is shown for runs without repetitions.
    if (smallN <= 0 || largeN <= 0) continue;
    if (!header) {
      header = true;
      print(out, "\n-- Growth: cost per byte of the large input / of the small one (1 = linear) --\n");
    }
    const double sizeRatio = smallN > 0 ? static_cast<double>(largeN) / smallN : NAN;
    const double ratio = (large / static_cast<double>(largeN)) / (small / static_cast<double>(smallN));
    const auto rms = rms_.find(g.family);
    char fit[48] = "";
    if (rms != rms_.end()) std::snprintf(fit, sizeof fit, "O(N) fit RMS %4.1f%%", rms->second * 100);
    print(out, "%-44s %7lld -> %9lld bytes (x%5.1f): %11s -> %11s | per-byte ratio %5.2f  %s  %s\n",
          g.label.c_str(), static_cast<long long>(smallN), static_cast<long long>(largeN), sizeRatio,
          formatValue(small, "").c_str(), formatValue(large, "").c_str(), ratio, fit,
          verdict(ratio, g.target).c_str());
  }
  out.flush();
}

}  // namespace ambrelux::bench
