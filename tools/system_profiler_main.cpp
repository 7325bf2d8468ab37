// Stands in for the system profiler on Linux: answers its power report
// from /sys/class/power_supply.
#include "tools/profiler_format.h"
#include "tools/stand_in.h"

int main(int argc, char** argv) {
  using namespace ambrelux::tools;
  using Args = std::vector<std::string_view>;
  if (argumentsOf(argc, argv) == Args{"SPPowerDataType"}) return printReport("system_profiler", powerReport);
  return printUsage("system_profiler SPPowerDataType");
}
