// The power-source bits of the registry listings' "Flags" value: the window
// reads them, the stand-ins write them.
#pragma once

#include <cstdint>

namespace ambrelux {

inline constexpr std::uint32_t flagACPower = 0x01;
inline constexpr std::uint32_t flagBatteryCharging = 0x02;
inline constexpr std::uint32_t flagBatteryInstalled = 0x04;
inline constexpr std::uint32_t flagUPSInstalled = 0x08;
inline constexpr std::uint32_t flagBatteryLowWarn = 0x10;
inline constexpr std::uint32_t flagBatteryDepleted = 0x20;
inline constexpr std::uint32_t flagNotChargeable = 0x40;

}  // namespace ambrelux
