// Tools that misbehave, through the real command runner with short bounds:
// each run ends within its bounds with nothing of the tool left running,
// and the window takes the failure course.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>

#include "support/display_checks.h"
#include "support/process_groups.h"
#include "support/real_command_platform.h"
#include "support/window_fixture.h"

namespace ambrelux::testing {
namespace {

namespace fs = std::filesystem;

struct Case {
  const char* name;
  const char* tool;  // what the tool does after noting its group
  int exitStatus;
  std::string output;
};

const Case kCases[] = {
    {"EndlessOutput", "yes", kOutputTooLarge, ""},
    {"OutputPastTheBound", "head -c 1048577 /dev/zero", kOutputTooLarge, ""},
    {"OutputAtTheBound", "head -c 1048576 /dev/zero", 0, std::string(1u << 20, '\0')},
    {"HangsPastTheBound", "exec sleep 600", kTimedOut, ""},
    {"HangsInAChildPastTheBound", "sleep 600; echo late", kTimedOut, ""},
    // What it printed before the bound is dropped, though it reads as a whole listing.
    {"ListingThenHangsPastTheBound", "cat '" AMBRELUX_TEST_DATA "/ioreg/smart-battery.txt'; exec sleep 600",
     kTimedOut, ""},
    // The run ends with the tool; the child still holding its output is killed.
    {"LeavesAChildHoldingItsOutput", "sleep 600 & echo early", 0, "early\n"},
    {"KilledByASignal", "echo partial; kill -9 $$", 128 + 9, "partial\n"},
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

// A short time bound keeps the hanging cases quick, yet leaves a loaded
// machine time to start the tool and let it note its group; the others keep
// the usual one, so a loaded machine or a sanitizer build can't time them out.
CommandBounds boundsFor(const Case& c) {
  return {c.exitStatus == kTimedOut ? std::chrono::seconds(1) : CommandBounds{}.time, 1u << 20};
}

class MisbehavingToolTest : public WindowTest, public ::testing::WithParamInterface<Case> {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    for (const char* name : {"ioreg", "system_profiler"}) {
      std::ofstream(dir.path() / name) << kNoteGroup << GetParam().tool << "\n";
      fs::permissions(dir.path() / name, fs::perms::owner_all);
    }
    const char* path = std::getenv("PATH");
    pathEnv.emplace("PATH", dir.path().string() + ":" + (path ? path : "/usr/bin:/bin"));
    real.bounds = boundsFor(GetParam());
  }

  void expectEveryGroupGone() {
    for (const char* name : {"ioreg", "system_profiler"})
      for (pid_t group : notedGroups(dir.path() / name))
        EXPECT_TRUE(groupEnds(group)) << name << "'s group " << group << " still runs";
  }

  TempDir dir;
  std::optional<ScopedEnv> pathEnv;
  RealCommandPlatform real;  // installed after the base's fake, so in use
};

TEST_P(MisbehavingToolTest, RunEndsWithinItsBoundsAndLeavesNothing) {
  const Case& c = GetParam();
  const CommandOutput run = runRealCommand("ioreg -w0 -c AppleSmartBattery", boundsFor(c));
  EXPECT_EQ(run.exitStatus, c.exitStatus);
  EXPECT_EQ(run.output.size(), c.output.size());
  EXPECT_TRUE(run.output == c.output);
  ASSERT_EQ(notedGroups(dir.path() / "ioreg").size(), 1u);
  expectEveryGroupGone();
}

TEST_P(MisbehavingToolTest, WindowTakesTheFailureCourse) {
  window();
  EXPECT_EQ(real.messages.size(), 1u);
  expectDisplayCleared(window());
  expectEveryGroupGone();
}

INSTANTIATE_TEST_SUITE_P(Tools, MisbehavingToolTest, ::testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace ambrelux::testing
