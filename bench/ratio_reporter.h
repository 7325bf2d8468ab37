// Console output as usual, then every figure next to its floor from the
// same run, as a ratio, with its target where it has one.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace ambrelux::bench {

struct Figure {
  std::string section;
  std::string label;            // what the figure is
  std::string name;             // benchmark run measuring it
  std::string floorLabel;       // what the floor is
  std::string floorName;        // benchmark run measuring the floor
  std::string metric = "real";  // "real" or "cpu" time per iteration, or a user counter
  double scale = 1;             // applied to the metric of both
  std::string unit;             // "" for a time in seconds, else printed after the value
  double target = 0;            // largest acceptable ratio; 0 for none
  // For a figure measured in pairs with its floor by one benchmark: the
  // floor's own counter, and a counter holding each repetition's ratio,
  // whose median is shown instead of the ratio of the medians.
  std::string floorMetric;
  std::string ratioMetric;
};

// Cost per byte of a large input against a small one, from two runs of one
// family: about 1 (or less) when the cost grows linearly, about the size
// ratio when it grows quadratically.
struct Growth {
  std::string label;
  std::string family;  // for the BigO fit's RMS
  std::string smallName, largeName;
  std::string metric = "cpu";
  double target = 2;
};

void addFigure(Figure figure);
void addGrowth(Growth growth);

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  using ConsoleReporter::ConsoleReporter;
  void ReportRuns(const std::vector<Run>& runs) override;
  void Finalize() override;

 private:
  struct Sample {
    double real = 0, cpu = 0;  // seconds per iteration
    std::map<std::string, double> counters;
    std::int64_t complexityN = 0;
  };
  bool value(const std::string& name, const std::string& metric, double* out,
             std::int64_t* n = nullptr) const;

  std::map<std::string, std::vector<Sample>> samples_;
  std::map<std::string, Sample> medians_;
  std::map<std::string, Sample> p25_, p75_;  // quartiles, where computed
  std::map<std::string, double> rms_;        // by family, as a fraction
  int repetitions_ = 1;
};

}  // namespace ambrelux::bench
