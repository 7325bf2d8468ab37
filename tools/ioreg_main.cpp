// Stands in for the I/O registry tool on Linux: answers the two listings
// Ambrelux asks for from /sys/class/power_supply.
#include "tools/ioreg_format.h"
#include "tools/stand_in.h"

int main(int argc, char** argv) {
  using namespace ambrelux::tools;
  using Args = std::vector<std::string_view>;
  const Args args = argumentsOf(argc, argv);
  if (args == Args{"-w0", "-c", "AppleSmartBattery"}) return printReport("ioreg", smartBatteryListing);
  if (args == Args{"-w0", "-cAppleMacIODevice"}) return printReport("ioreg", macIODeviceListing);
  return printUsage("ioreg -w0 -c AppleSmartBattery | ioreg -w0 -cAppleMacIODevice");
}
