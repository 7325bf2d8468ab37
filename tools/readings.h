// The battery readings the stand-in tools print, made from the kernel's
// power-supply attributes. A reading the kernel does not give, or gives in a
// form that cannot be right, is absent: never a guess, never a 0 in its place.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/power_supply.h"

namespace ambrelux::tools {

struct Battery {
  std::string manufacturer;                       // printable letters, digits, blanks and ".-_" only
  std::string model;                              // the same
  std::optional<std::int32_t> designCapacity;     // mAh, as built
  std::optional<std::int32_t> fullCapacity;       // mAh, held when full today
  std::optional<std::int32_t> remainingCapacity;  // mAh, held now
  std::optional<std::int32_t> voltage;            // mV
  std::optional<std::int32_t> amperage;           // mA, negative while discharging
  std::optional<std::int32_t> cycleCount;
  bool charging = false;
  bool fullyCharged = false;
  bool lowWarning = false;
  bool depleted = false;
  bool notChargeable = false;
};

struct PowerState {
  std::vector<Battery> batteries;  // this computer's batteries that are present, in name order
  bool externalPower = false;      // a charger of this computer is online
  bool chargerListed = false;      // a charger of this computer is listed, online or not
  bool upsInstalled = false;
};

// The readings of one battery from its attributes (the rules are in the
// implementation, next to the code that applies them).
Battery batteryFrom(const Attributes& attributes);

// The state of the whole machine; `supplies` in name order, as
// readSupplies gives them.
PowerState powerStateFrom(const std::vector<Supply>& supplies);

}  // namespace ambrelux::tools
