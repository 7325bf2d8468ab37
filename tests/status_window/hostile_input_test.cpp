// Broken and hostile tool output, through the real command runner: scripts
// named like the tools stand at the front of the PATH. This test is built
// away from the stand-ins, so a tool it does not provide is really missing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>

#include "support/real_command_platform.h"
#include "support/window_fixture.h"

namespace ambrelux::testing {
namespace {

namespace fs = std::filesystem;

// ---- Tool output, good and bad ----

std::string property(const std::string& key, const std::string& value) {
  return "        \"" + key + "\" = " + value + "\n";
}

std::string smartListing(const std::string& properties, const std::string& flags = "7") {
  return "+-o Root  <class IORegistryEntry>\n"
         "  +-o AppleSmartBattery  <class AppleSmartBattery, registered, matched, active>\n"
         "      {\n" +
         properties + "        \"BatteryData\" = {\"Flags\"=" + flags + "}\n      }\n";
}

// A charging battery: design 5200 mAh, full 4800, charge 2400, 100 cycles,
// 12 V. `overrides` replace a key's value; they go first, so a key given
// twice is read from its override.
std::string smartProperties(const std::map<std::string, std::string>& overrides = {}) {
  std::string out;
  for (const auto& [key, value] : overrides) out += property(key, value);
  const std::pair<const char*, const char*> good[] = {{"BatteryInstalled", "Yes"},
                                                      {"CurrentCapacity", "2400"},
                                                      {"CycleCount", "100"},
                                                      {"DesignCapacity", "5200"},
                                                      {"ExternalChargeCapable", "Yes"},
                                                      {"ExternalConnected", "Yes"},
                                                      {"FullyCharged", "No"},
                                                      {"IsCharging", "Yes"},
                                                      {"MaxCapacity", "4800"},
                                                      {"Voltage", "12000"}};
  for (const auto& [key, value] : good) out += property(key, value);
  return out;
}

std::string goodSmartListing() { return smartListing(smartProperties()); }

std::string goodPowerReport() {
  return "Power:\n\n"
         "    Battery Information:\n\n"
         "      Charge Information:\n"
         "          Remaining Capacity (mAh): 2400\n"
         "          Full Charge Capacity (mAh): 4800\n"
         "          Charging: Yes\n"
         "      Health Information:\n"
         "          Cycle Count: 100\n"
         "      Battery Installed: Yes\n"
         "      Voltage (mV): 12000\n\n"
         "    AC Charger Information:\n\n"
         "      Connected: Yes\n";
}

// Lines of filler up to `bytes`, none of them a marker or a label.
std::string filler(std::size_t bytes) {
  const std::string line = std::string(79, 'x') + "\n";
  std::string out;
  out.reserve(bytes + line.size());
  while (out.size() < bytes) out += line;
  return out;
}

constexpr std::size_t kFiftyMegabytes = 50u * 1024 * 1024;

// ---- Cases ----

using Output = std::function<std::string()>;
using Shown = std::map<std::string, std::string>;

struct Case {
  const char* name;
  // The smart listing and the report; a tool with no output given is
  // missing. ioreg prints nothing for the older machines' listing.
  Output smart, profiler;
  // Shell text run after the output: an exit status, a signal.
  const char* ending;
  // Fields after the first refresh; empty for the failure course.
  Shown shown;
  // Text that must never show: a number the refresh did not read.
  const char* never = nullptr;
};

const Shown kGoodSmart = {{"maxCapacityField", "100%"},  {"maxCapacityUnits", "(5,200 mAh)"},
                          {"capacityField", "92%"},      {"capacityUnits", "(4,800 mAh)"},
                          {"currentField", "50%"},       {"currentUnits", "(2,400 mAh)"},
                          {"cyclesFieldPercent", "25%"}, {"cyclesField", "(100)"},
                          {"voltageField", "12"}};

const Shown kGoodProfiler = {
    {"maxCapacityField", ""},       {"maxCapacityUnits", ""}, {"capacityField", ""},
    {"capacityUnits", "4,800 mAh"}, {"currentField", "50%"},  {"currentUnits", "(2,400 mAh)"},
    {"cyclesFieldPercent", "25%"},  {"cyclesField", "(100)"}, {"voltageField", "12"}};

const Case kCases[] = {
    {"FiftyMegabytesBeforeTheBattery", [] { return filler(kFiftyMegabytes) + goodSmartListing(); }, nullptr,
     "", kGoodSmart},
    {"FiftyMegabytesOfNothing",
     [] { return filler(kFiftyMegabytes); },
     [] { return filler(kFiftyMegabytes); },
     "",
     {}},
    {"FiftyMegabyteReport", nullptr, [] { return filler(kFiftyMegabytes) + goodPowerReport(); }, "",
     kGoodProfiler},
    // Only the number before a NUL is read.
    {"NulBytes",
     [] {
       using namespace std::string_literals;
       return "\0\0"s + smartListing(smartProperties(
                            {{"DesignCapacity", "5200\0\0"s + "999"}, {"MaxCapacity", "4800\0"s}}));
     },
     nullptr, "", kGoodSmart, "999"},
    {"InvalidUtf8",
     [] {
       return "\xff\xfe\xc3(" + smartListing(smartProperties({{"DesignCapacity", "5200\xff\xfe"},
                                                              {"CycleCount", "100\xe2\x82"},
                                                              {"Manufacturer", "\x80\xbf\xf5"}}));
     },
     nullptr, "", kGoodSmart},
    // A label on an unterminated last line runs to the end of the text.
    {"ReportWithoutLineEnds",
     nullptr,
     [] { return std::string("Full Charge Capacity (mAh): 4800"); },
     "",
     {{"capacityUnits", "4,800 mAh"},
      {"currentUnits", "(0 mAh)"},
      {"cyclesField", "(0)"},
      {"voltageField", "0"}}},
    // The listings' exit status is not consulted; the report's is.
    {"ListingFailsWithGoodOutput", [] { return goodSmartListing(); }, nullptr, "exit 3", kGoodSmart},
    {"ReportFailsWithGoodOutput", nullptr, [] { return goodPowerReport(); }, "exit 1", {}},
    {"ListingKilledAfterGoodOutput", [] { return goodSmartListing(); }, nullptr, "kill -9 $$", kGoodSmart},
    {"ReportKilledAfterGoodOutput", nullptr, [] { return goodPowerReport(); }, "kill -9 $$", {}},
    {"EveryToolMissing", nullptr, nullptr, "", {}},
    // The refresh ends with the tool, not with a child still holding its output.
    {"ToolLeavesAChildHoldingItsOutput", [] { return goodSmartListing(); }, nullptr, "sleep 600 &",
     kGoodSmart},
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class HostileOutputTest : public WindowTest, public ::testing::WithParamInterface<Case> {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    // The premise: no stand-in can answer in place of a missing script.
    ASSERT_FALSE(fs::exists(fs::path(toolsFolder()) / "ioreg")) << toolsFolder();
    fs::create_directory(tools());
    const Case& c = GetParam();
    if (c.smart) {
      write("smart", c.smart());
      script("ioreg", "if [ \"$*\" = '-w0 -c AppleSmartBattery' ]; then cat '" + file("smart") + "'; fi\n" +
                          c.ending + "\n");
    }
    if (c.profiler) {
      write("report", c.profiler());
      script("system_profiler", "cat '" + file("report") + "'\n" + std::string(c.ending) + "\n");
    }
    path.emplace("PATH",
                 tools().string() + ":" + (std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin"));
  }

  fs::path tools() const { return dir.path() / "bin"; }
  std::string file(const char* name) const { return (dir.path() / name).string(); }
  void write(const char* name, const std::string& content) {
    std::ofstream(file(name), std::ios::binary) << content;
  }
  void script(const char* name, const std::string& body) {
    const fs::path at = tools() / name;
    std::ofstream(at) << "#!/bin/sh\n" << body;
    fs::permissions(at, fs::perms::owner_all);
  }

  void expectShownOrFailure(const Case& c) {
    expectNone(shownOrFailureProblems(window(), real.messages, c.shown, c.never));
  }

  TempDir dir;
  std::optional<ScopedEnv> path;
  // Installed after the base's fake, so this one is in use.
  RealCommandPlatform real;
};

TEST_P(HostileOutputTest, ShowsWhatWasReadOrTheFailureOnce) {
  const Case& c = GetParam();
  window();
  {
    SCOPED_TRACE("first refresh");
    expectShownOrFailure(c);
  }
  window().updateStatus();
  SCOPED_TRACE("second refresh");
  expectShownOrFailure(c);
}

INSTANTIATE_TEST_SUITE_P(Outputs, HostileOutputTest, ::testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace ambrelux::testing
