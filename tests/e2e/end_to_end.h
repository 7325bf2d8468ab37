// A status window on the real command runner and the stand-in tools, which
// read the power-supply tree the test points them at.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "support/real_command_platform.h"
#include "support/window_fixture.h"

namespace ambrelux::testing {

class EndToEndTest : public WindowTest {
 protected:
  // The stand-ins read `root` from here on.
  void useTree(const std::filesystem::path& root) {
    root_.emplace("AMBRELUX_POWER_SUPPLY_ROOT", root.string());
  }

  static std::filesystem::path sampleTree(const std::string& name) {
    return std::filesystem::path(AMBRELUX_TEST_DATA) / "power_supply" / name;
  }

  // Refreshes from `source` (a dataMethod), whatever the probe chose.
  void refreshFrom(std::int32_t source) {
    window().dataMethod = source;
    window().updateStatus();
  }

  // Installed after the base's fake, so this one is in use.
  RealCommandPlatform real;

 private:
  std::optional<ScopedEnv> root_;
};

}  // namespace ambrelux::testing
