// The two I/O registry listings that Ambrelux reads, written from the
// readings. Lines end in "\n".
#pragma once

#include <cstdint>
#include <string>

#include "tools/readings.h"

namespace ambrelux::tools {

// The flag word of one battery. Always holds flagBatteryInstalled, as only
// batteries that are present are listed: so no battery's dictionary reads
// as an empty bay on external power (Flags exactly 1), which readers skip
// over when another dictionary follows.
std::uint32_t powerSourceFlags(const PowerState& state, const Battery& battery);

// "ioreg -w0 -c AppleSmartBattery": the first battery's object and its
// property block, one `"Key" = value` line per reading, and one nested
// dictionary on one line holding the compact "Flags" entry; that dictionary's
// "}" is the first after the block's "{". A reading that is absent leaves its
// key out. With no battery only the registry's root line: neither
// "AppleSmartBattery" nor "DesignCapacity" appears.
std::string smartBatteryListing(const PowerState& state);

// "ioreg -w0 -cAppleMacIODevice": the device holding
// `"IOBatteryInfo" = ({...},{...})` on one line, one dictionary per battery in
// name order, `"Key"=value` entries joined by "," without blanks, "Flags"
// first. A reading that is absent is written with an empty value, which
// reads as absent and keeps a reader that looks a key up along the whole
// line from taking another battery's value. With no battery but a charger
// listed, online or not, one empty bay instead: "Flags" (flagACPower and
// flagUPSInstalled only, as the machine has them), "Capacity"=0 and
// "Current"=0; as the only dictionary it is never skipped over. With
// neither, the device is listed without "IOBatteryInfo".
std::string macIODeviceListing(const PowerState& state);

}  // namespace ambrelux::tools
