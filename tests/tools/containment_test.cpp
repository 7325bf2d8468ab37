// What the stand-ins may reach and print from a hostile folder: a bounded
// number of supplies, regular files only under fixed names, and never a
// supply's name in their output.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <string>

#include "reader_checks.h"
#include "tools/ioreg_format.h"
#include "tools/power_supply.h"
#include "tools/profiler_format.h"

namespace ambrelux::tools {
namespace {

namespace fs = std::filesystem;

class ContainmentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "ambrelux-containment-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir = pattern;
  }
  void TearDown() override { fs::remove_all(dir); }

  static void writeBattery(const fs::path& folder) {
    fs::create_directories(folder);
    const std::pair<const char*, const char*> files[] = {{"type", "Battery\n"},
                                                         {"charge_full_design", "5200000\n"},
                                                         {"charge_full", "4800000\n"},
                                                         {"charge_now", "2400000\n"},
                                                         {"voltage_now", "12000000\n"}};
    for (const auto& [name, content] : files) std::ofstream(folder / name) << content;
  }

  fs::path dir;
};

TEST_F(ContainmentTest, SuppliesAreTheFirstInNameOrderOfEveryEntry) {
  // Far more entries than supplies are read, listed in whatever order the
  // file system keeps them: the battery and the first names must not depend
  // on that order or on how many entries there are.
  const fs::path root = dir / "root";
  fs::create_directories(root);
  // Links to one empty file: entries that cost no inode each.
  std::ofstream(dir / "empty").flush();
  for (int i = 0; i < 10000; ++i)
    fs::create_hard_link(dir / "empty", root / ("PSU" + std::to_string(10000 + i)));
  writeBattery(root / "BAT0");
  const auto supplies = readSupplies(root);
  ASSERT_EQ(supplies.size(), kMaxSupplies);
  EXPECT_EQ(supplies.front().name, "BAT0");
  EXPECT_EQ(kindOf(supplies.front().attributes), SupplyKind::SystemBattery);
  EXPECT_EQ(supplies.back().name, "PSU" + std::to_string(10000 + kMaxSupplies - 2));
}

TEST_F(ContainmentTest, ADeviceNodeUnderAnAttributeNameIsNeverOpened) {
  const fs::path folder = dir / "BAT0";
  fs::create_directories(folder);
  // A character device whose open would be noticed: /dev/null stands in, as
  // making a node of our own needs more than a test should ask for.
  fs::create_symlink("/dev/null", folder / "linked");
  EXPECT_FALSE(readAttribute(folder / "linked"));
  EXPECT_FALSE(readAttribute("/dev/null"));
}

struct RootCase {
  const char* name;
  // Makes the root in the folder given and returns it.
  std::function<fs::path(const fs::path&)> make;
};

const RootCase kOddRoots[] = {
    {"AFile",
     [](const fs::path& d) {
       std::ofstream(d / "root") << "BAT0\n";
       return d / "root";
     }},
    {"ALinkToItself",
     [](const fs::path& d) {
       fs::create_symlink("root", d / "root");
       return d / "root";
     }},
    {"ALinkToNothing",
     [](const fs::path& d) {
       fs::create_symlink("gone", d / "root");
       return d / "root";
     }},
    {"AFifo",
     [](const fs::path& d) {
       ::mkfifo((d / "root").c_str(), 0600);
       return d / "root";
     }},
};

void PrintTo(const RootCase& c, std::ostream* os) { *os << c.name; }

class OddRootTest : public ContainmentTest, public ::testing::WithParamInterface<RootCase> {};

TEST_P(OddRootTest, GivesNoSupplies) { EXPECT_TRUE(readSupplies(GetParam().make(dir)).empty()); }

INSTANTIATE_TEST_SUITE_P(Roots, OddRootTest, ::testing::ValuesIn(kOddRoots),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(ContainmentTest, DeviceNodeIsNoAttribute) {
  // The null device's numbers: harmless if it were read.
  if (::mknod((dir / "charge_now").c_str(), S_IFCHR | 0600, makedev(1, 3)) != 0) {
    GTEST_SKIP() << "cannot make a device node here";
  }
  EXPECT_EQ(readAttribute(dir / "charge_now"), std::nullopt);
}

// A supply's name is never printed, so no name can pass for a key, a label,
// a line end or a brace in the listings.
TEST_F(ContainmentTest, SupplyNamesNeverReachTheOutput) {
  const std::string hostile = "BAT0\"\n\"DesignCapacity\" = 9999\n}{Full Charge Capacity (mAh): 9999";
  writeBattery(dir / hostile);
  const PowerState state = powerStateFrom(readSupplies(dir));
  ASSERT_EQ(state.batteries.size(), 1u);
  for (const std::string& out : {smartBatteryListing(state), macIODeviceListing(state), powerReport(state)}) {
    EXPECT_EQ(out.find("9999"), std::string::npos) << out;
  }
  EXPECT_EQ(testing::smartValue(smartBatteryListing(state), "DesignCapacity"), "5200");
  EXPECT_EQ(testing::profilerValue(powerReport(state), "Full Charge Capacity (mAh):"), "4800");
}

// Entries of the kernel's folder are links into /sys/devices, so a supply's
// link is followed wherever it leads; beneath it only the fixed attribute
// names are read, and a link there is still refused.
TEST_F(ContainmentTest, SupplyLinkIsFollowedButNotAttributeLinks) {
  writeBattery(dir / "devices" / "BAT0");
  std::ofstream(dir / "secret") << "9999000\n";
  fs::remove(dir / "devices" / "BAT0" / "charge_now");
  fs::create_symlink(dir / "secret", dir / "devices" / "BAT0" / "charge_now");
  fs::create_directories(dir / "root");
  fs::create_symlink(dir / "devices" / "BAT0", dir / "root" / "BAT0");

  const std::vector<Supply> supplies = readSupplies(dir / "root");
  ASSERT_EQ(supplies.size(), 1u);
  EXPECT_EQ(text(supplies[0].attributes, "charge_full"), "4800000");
  EXPECT_EQ(supplies[0].attributes.count("charge_now"), 0u);
}

}  // namespace
}  // namespace ambrelux::tools
