// The two I/O registry listings that Ambrelux reads, written from the
// readings. Lines end in "\n".
#pragma once

#include <cstdint>
#include <string>

#include "tools/readings.h"

namespace ambrelux::tools {

// Power-source flag bits of the listings' "Flags" value.
inline constexpr std::uint32_t kFlagACPower = 0x01;
inline constexpr std::uint32_t kFlagCharging = 0x02;
inline constexpr std::uint32_t kFlagBatteryInstalled = 0x04;
inline constexpr std::uint32_t kFlagUPSInstalled = 0x08;
inline constexpr std::uint32_t kFlagLowWarning = 0x10;
inline constexpr std::uint32_t kFlagDepleted = 0x20;
inline constexpr std::uint32_t kFlagNotChargeable = 0x40;

// The flag word of one battery. Always holds kFlagBatteryInstalled, as only
// batteries that are present are listed: so no dictionary ever reads as an
// empty bay on external power (Flags exactly 1), which readers skip over.
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
// line from taking another battery's value. With no battery the device
// is listed without "IOBatteryInfo".
std::string macIODeviceListing(const PowerState& state);

}  // namespace ambrelux::tools
