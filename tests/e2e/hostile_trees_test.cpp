// Broken and hostile power-supply trees, built by each test, read by the
// stand-ins and shown by the window: only what was read shows, or the
// failure course; no bar leaves its frame.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "end_to_end.h"

namespace ambrelux::testing {
namespace {

namespace fs = std::filesystem;

using Attributes = std::map<std::string, std::string>;

// A laptop like the ac-charging sample: design 5200 mAh, full 4800, charge
// 2400, 100 cycles, 12 V, charging.
const Attributes kBattery = {{"type", "Battery\n"},
                             {"present", "1\n"},
                             {"status", "Charging\n"},
                             {"capacity", "50\n"},
                             {"capacity_level", "Normal\n"},
                             {"health", "Good\n"},
                             {"charge_full_design", "5200000\n"},
                             {"charge_full", "4800000\n"},
                             {"charge_now", "2400000\n"},
                             {"current_now", "1500000\n"},
                             {"cycle_count", "100\n"},
                             {"voltage_min_design", "11550000\n"},
                             {"voltage_now", "12000000\n"},
                             {"manufacturer", "SMP\n"},
                             {"model_name", "5B10W13930\n"}};

void writeFile(const fs::path& file, const std::string& content) {
  std::ofstream(file, std::ios::binary) << content;
}

void writeSupply(const fs::path& folder, const Attributes& attributes) {
  fs::create_directories(folder);
  for (const auto& [name, content] : attributes) writeFile(folder / name, content);
}

// The adapter online and BAT0 with `changes` to its attribute files (an
// empty text leaves the file empty).
void writeLaptop(const fs::path& root, const Attributes& changes = {}) {
  writeSupply(root / "AC", {{"type", "Mains\n"}, {"online", "1\n"}});
  Attributes battery = kBattery;
  for (const auto& [name, content] : changes) battery[name] = content;
  writeSupply(root / "BAT0", battery);
}

// Replaces one of BAT0's attribute files with something else.
void replaceAttribute(const fs::path& root, const char* name,
                      const std::function<void(const fs::path&)>& make) {
  const fs::path file = root / "BAT0" / name;
  fs::remove(file);
  make(file);
}

std::string garbage() {
  using namespace std::string_literals;
  std::string bytes =
      "\0\xff\xfe{}\"\n\"DesignCapacity\" = 9999\n\x80"
      "Full Charge Capacity (mAh): 9999\n"s;
  for (int i = 0; i < 200; ++i) bytes += static_cast<char>((i * 37) & 0xff);
  return bytes;
}

struct TreeCase {
  const char* name;
  // Builds the tree in the folder given and returns the root to read.
  std::function<fs::path(const fs::path&)> build;
  // Fields after the first refresh; empty for the failure course.
  std::map<std::string, std::string> shown;
  // Text no field may ever show: a number nobody read from a file.
  const char* never = nullptr;
};

const std::map<std::string, std::string> kLaptopShown = {{"maxCapacityUnits", "(5,200 mAh)"},
                                                         {"capacityUnits", "(4,800 mAh)"},
                                                         {"currentUnits", "(2,400 mAh)"},
                                                         {"cyclesField", "(100)"},
                                                         {"voltageField", "12"}};

std::map<std::string, std::string> laptopShownWith(const std::map<std::string, std::string>& changes) {
  auto shown = kLaptopShown;
  for (const auto& [field, text] : changes) shown[field] = text;
  return shown;
}

fs::path laptopWith(const fs::path& dir, const char* attribute,
                    const std::function<void(const fs::path&)>& make) {
  writeLaptop(dir);
  replaceAttribute(dir, attribute, make);
  return dir;
}

const TreeCase kTrees[] = {
    // Unreadable attributes: a folder, a FIFO, a link to nothing (as root,
    // permissions would not stop the read).
    {"ChargeIsAFolder",
     [](const fs::path& dir) {
       return laptopWith(dir, "charge_now", [](const fs::path& f) { fs::create_directory(f); });
     },
     laptopShownWith({{"currentUnits", "(0 mAh)"}})},
    {"DesignIsAFifo",
     [](const fs::path& dir) {
       return laptopWith(dir, "charge_full_design", [](const fs::path& f) { ::mkfifo(f.c_str(), 0600); });
     },
     // No design capacity: the older machines' listing is the source.
     laptopShownWith({{"maxCapacityUnits", ""}, {"capacityUnits", " 4,800 mAh"}})},
    {"VoltageIsADanglingLink",
     [](const fs::path& dir) {
       return laptopWith(dir, "voltage_now", [](const fs::path& f) { fs::create_symlink("gone", f); });
     },
     laptopShownWith({{"voltageField", "0"}})},
    {"FullLinksOutOfTheTree",
     [](const fs::path& dir) {
       writeFile(dir / "outside", "9999000\n");
       const fs::path root = dir / "root";
       return laptopWith(root, "charge_full",
                         [&](const fs::path& f) { fs::create_symlink(dir / "outside", f); });
     },
     laptopShownWith({{"capacityUnits", "(0 mAh)"}}), "9,999"},
    {"DesignLinksToItself",
     [](const fs::path& dir) {
       return laptopWith(dir, "charge_full_design",
                         [](const fs::path& f) { fs::create_symlink(f.filename(), f); });
     },
     laptopShownWith({{"maxCapacityUnits", ""}, {"capacityUnits", " 4,800 mAh"}})},
    {"EveryFileEmpty",
     [](const fs::path& dir) {
       Attributes empty;
       for (const auto& [name, content] : kBattery) empty[name] = "";
       writeLaptop(dir, empty);
       return dir;
     },
     {}},
    {"ReadingsEmpty",
     [](const fs::path& dir) {
       writeLaptop(dir, {{"charge_full_design", ""},
                         {"charge_full", ""},
                         {"charge_now", ""},
                         {"cycle_count", ""},
                         {"voltage_now", ""},
                         {"voltage_min_design", ""},
                         {"current_now", ""}});
       return dir;
     },
     {}},
    // Labels and numbers inside garbage must not pass for readings.
    {"BinaryGarbage",
     [](const fs::path& dir) {
       Attributes junk;
       for (const auto& [name, content] : kBattery) junk[name] = name == "type" ? content : garbage();
       writeLaptop(dir, junk);
       return dir;
     },
     {},
     "9,999"},
    {"HugeNumbers",
     [](const fs::path& dir) {
       writeLaptop(dir, {{"charge_full_design", "99999999999999999999999\n"},
                         {"charge_full", "9223372036854775807\n"},
                         {"charge_now", "-9223372036854775808\n"},
                         {"cycle_count", "4294967296\n"},
                         {"voltage_now", "18446744073709551616\n"}});
       return dir;
     },
     {},
     "2147"},
    {"NegativeReadings",
     [](const fs::path& dir) {
       writeLaptop(dir,
                   {{"charge_now", "-2400000\n"}, {"cycle_count", "-5\n"}, {"voltage_now", "-12000000\n"}});
       return dir;
     },
     laptopShownWith({{"currentUnits", "(0 mAh)"}, {"cyclesField", "(0)"}, {"voltageField", "0"}})},
    {"SupplyLinkLoops",
     [](const fs::path& dir) {
       writeLaptop(dir);
       fs::create_symlink("BAT1", dir / "BAT1");
       fs::create_symlink("LOOP_B", dir / "LOOP_A");
       fs::create_symlink("LOOP_A", dir / "LOOP_B");
       return dir;
     },
     kLaptopShown},
    {"RootIsALinkLoop",
     [](const fs::path& dir) {
       fs::create_symlink("root", dir / "root");
       return dir / "root";
     },
     {}},
};

void PrintTo(const TreeCase& c, std::ostream* os) { *os << c.name; }

class HostileTreeTest : public EndToEndTest, public ::testing::WithParamInterface<TreeCase> {
 protected:
  TempDir dir;
};

// The first refresh shows only what was read; a refresh from any source
// then keeps the display sound.
TEST_P(HostileTreeTest, ShowsOnlyWhatWasRead) {
  const TreeCase& c = GetParam();
  useTree(c.build(dir.path()));
  expectNone(shownOrFailureProblems(window(), real.messages, c.shown, c.never));
  for (std::int32_t source : {0, 1, 2}) {
    SCOPED_TRACE(source);
    refreshFrom(source);
    expectDisplaySound(window());
    expectNone(unreadProblems(window(), c.never));
  }
}

INSTANTIATE_TEST_SUITE_P(Trees, HostileTreeTest, ::testing::ValuesIn(kTrees),
                         [](const auto& row) { return std::string(row.param.name); });

// The battery is taken out between two refreshes, then put back.
struct VanishCase {
  const char* name;
  std::int32_t source;
  bool adapterToo;     // the adapter goes with the battery
  bool failureCourse;  // false: the display is left as it was
};

void PrintTo(const VanishCase& c, std::ostream* os) { *os << c.name; }

class VanishingBatteryTest : public EndToEndTest, public ::testing::WithParamInterface<VanishCase> {
 protected:
  TempDir dir;
};

TEST_P(VanishingBatteryTest, FailsOnceThenRecovers) {
  const VanishCase& c = GetParam();
  writeLaptop(dir.path());
  useTree(dir.path());
  refreshFrom(c.source);
  ASSERT_TRUE(real.messages.empty());
  const std::string shownCapacity = text("capacityUnits");
  const int shownCharge = width("currentBar");

  const auto takeOut = [&] {
    fs::remove_all(dir.path() / "BAT0");
    if (c.adapterToo) fs::remove_all(dir.path() / "AC");
  };
  takeOut();
  window().updateStatus();
  window().updateStatus();
  if (c.failureCourse) {
    EXPECT_EQ(real.messages.size(), 1u);
    expectDisplayCleared(window());
  } else {
    // Without an adapter the older machines' listing has no "IOBatteryInfo",
    // which changes nothing.
    EXPECT_TRUE(real.messages.empty());
    EXPECT_EQ(text("capacityUnits"), shownCapacity);
    EXPECT_EQ(width("currentBar"), shownCharge);
  }
  expectDisplaySound(window());

  writeLaptop(dir.path());
  window().updateStatus();
  EXPECT_EQ(text("capacityUnits"), shownCapacity);
  EXPECT_EQ(width("currentBar"), shownCharge);
  EXPECT_FALSE(window().batteryWarningIssued);
  expectDisplaySound(window());

  // A success arms the message again for the next failure.
  takeOut();
  window().updateStatus();
  EXPECT_EQ(real.messages.size(), c.failureCourse ? 2u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Sources, VanishingBatteryTest,
                         ::testing::Values(VanishCase{"SmartBattery", 0, false, true},
                                           VanishCase{"OlderMachines", 1, false, true},
                                           VanishCase{"OlderMachinesWithoutAdapter", 1, true, false},
                                           VanishCase{"SystemProfiler", 2, false, true}),
                         [](const auto& row) { return std::string(row.param.name); });

using EmptyBayTest = EndToEndTest;

// Without a design capacity the probe settles on the older machines'
// listing; the battery taken out and the charger unplugged leave the bay
// listed empty, which clears the display until the battery is back.
TEST_F(EmptyBayTest, ClearsTheDisplayUntilTheBatteryIsBack) {
  TempDir dir;
  writeLaptop(dir.path());
  fs::remove(dir.path() / "BAT0" / "charge_full_design");
  useTree(dir.path());
  window();
  ASSERT_EQ(window().dataMethod, 1);
  ASSERT_TRUE(real.messages.empty());

  fs::remove_all(dir.path() / "BAT0");
  writeFile(dir.path() / "AC" / "online", "0\n");
  window().updateStatus();
  expectDisplayCleared(window());
  EXPECT_EQ(real.messages, std::vector<std::string>{"Unable to read battery status data."});
  window().updateStatus();
  EXPECT_EQ(real.messages.size(), 1u);

  writeLaptop(dir.path());
  window().updateStatus();
  EXPECT_EQ(text("currentUnits"), "(2,400 mAh)");
  EXPECT_EQ(text("currentField"), "50%");
  EXPECT_FALSE(window().batteryWarningIssued);
  expectDisplaySound(window());
}

}  // namespace
}  // namespace ambrelux::testing
