// The benchmark program: parsing benchmarks need nothing; the refresh and
// start-up benchmarks run headless against a sample power-supply tree.
#include <benchmark/benchmark.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "app/framework/runtime.h"
#include "app/startup.h"
#include "ratio_reporter.h"

namespace ambrelux::bench {
void registerParsingBenchmarks();
void registerProcessBenchmarks();
}  // namespace ambrelux::bench

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", /*overwrite=*/1);
  const std::string sampleTree = std::string(AMBRELUX_SOURCE_DIR) + "/tests/data/power_supply/ac-charging";
  setenv("AMBRELUX_POWER_SUPPLY_ROOT", sampleTree.c_str(), /*overwrite=*/0);

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  ambrelux::RuntimeInit();
  std::setlocale(LC_ALL, "C");
  ambrelux::bench::registerParsingBenchmarks();
  ambrelux::bench::registerProcessBenchmarks();

  ambrelux::bench::RatioReporter reporter(benchmark::ConsoleReporter::OO_Tabular);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  ambrelux::releaseGlobals();
  return ambrelux::RuntimeExit();
}
