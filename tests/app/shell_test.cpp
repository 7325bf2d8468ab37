#include "app/framework/shell.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "app/framework/platform.h"
#include "support/fake_platform.h"
#include "support/process_groups.h"
#include "support/real_command_platform.h"

namespace ambrelux {
namespace {

using testing::FakePlatform;
using testing::ScopedEnv;
using testing::TempDir;

TEST(ShellTest, TakesOutputAndStatusFromThePlatform) {
  FakePlatform fake;
  fake.queueOutput("ioreg -w0 -c AppleSmartBattery", "first\n", 0);
  fake.queueOutput("ioreg -w0 -c AppleSmartBattery", "", 4);

  Shell shell;
  shell.Execute("ioreg -w0 -c AppleSmartBattery");
  EXPECT_EQ(shell.Result(), "first\n");
  EXPECT_EQ(shell.ErrorCode(), 0);

  // A later run replaces both, also with an empty output.
  shell.Execute("ioreg -w0 -c AppleSmartBattery");
  EXPECT_EQ(shell.Result(), "");
  EXPECT_EQ(shell.ErrorCode(), 4);
  EXPECT_EQ(fake.runs("ioreg -w0 -c AppleSmartBattery"), 2);
}

TEST(ShellTest, RunsTheRealCommandWhenNoFakeIsInstalled) {
  Shell shell;
  shell.Execute("printf 'a\\nb'; exit 3");
  EXPECT_EQ(shell.Result(), "a\nb");
  EXPECT_EQ(shell.ErrorCode(), 3);
}

struct RealCase {
  const char* name;
  const char* commandLine;
  std::string output;
  int exitStatus;
};

class RealCommandTest : public ::testing::TestWithParam<RealCase> {};

TEST_P(RealCommandTest, OutputAndExitStatus) {
  const RealCase& c = GetParam();
  const CommandOutput run = runRealCommand(c.commandLine);
  EXPECT_EQ(run.output, c.output);
  EXPECT_EQ(run.exitStatus, c.exitStatus);
}

const RealCase kRealCases[] = {
    {"line_ends_kept", "printf 'a\\nb\\n'", "a\nb\n", 0},
    {"exit_status", "exit 3", "", 3},
    {"output_of_a_failing_command", "printf partial; exit 5", "partial", 5},
    {"missing_tool", "ambrelux-no-such-tool --version", "", 127},
    {"standard_error_not_joined", "echo out; echo err >&2; echo more", "out\nmore\n", 0},
    {"nul_bytes_kept", "printf 'a\\000b'", std::string("a\0b", 3), 0},
    // The child must not wait for input that never comes.
    {"standard_input_empty", "cat", "", 0},
    // Killed by SIGKILL: reported like a shell does, never as success.
    {"killed_by_signal", "printf before; kill -9 $$", "before", 128 + 9},
    // Nothing to run succeeds, as under `sh -c`.
    {"empty_line", "", "", 0},
    {"comment_only", "# nothing to run", "", 0},
};

INSTANTIATE_TEST_SUITE_P(Cases, RealCommandTest, ::testing::ValuesIn(kRealCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(RealRunnerTest, ReadsMegabytesOfOutputWhole) {
  // Numbered lines, so a lost or repeated chunk shows, not only a short count.
  std::string expected;
  for (int i = 1; i <= 800000; ++i) expected += std::to_string(i) + '\n';
  ASSERT_GT(expected.size(), 5u * 1024 * 1024);

  const CommandOutput run = runRealCommand("seq 1 800000");
  EXPECT_EQ(run.exitStatus, 0);
  ASSERT_EQ(run.output.size(), expected.size());
  EXPECT_TRUE(run.output == expected);
}

// The largest bound the type holds leaves the output unbounded, not empty.
TEST(RealRunnerTest, LargestOutputBoundTakesEverything) {
  const CommandOutput run =
      runRealCommand("echo hi", {CommandBounds{}.time, std::numeric_limits<std::size_t>::max()});
  EXPECT_EQ(run.output, "hi\n");
  EXPECT_EQ(run.exitStatus, 0);
}

TEST(RealRunnerTest, ChildRunsUnderTheCLocale) {
  const ScopedEnv lcAll("LC_ALL", "de_DE.UTF-8");
  const ScopedEnv lang("LANG", "de_DE.UTF-8");
  const CommandOutput run = runRealCommand("printf '%s|%s' \"$LC_ALL\" \"$LANG\"");
  EXPECT_EQ(run.output, "C|de_DE.UTF-8");  // the rest of the environment is passed on
}

TEST(RealRunnerTest, ToolsFolderIsSearchedAfterThePath) {
  const ScopedEnv path("PATH", "/usr/bin:/bin");
  const std::string tools = toolsFolder();
  ASSERT_FALSE(tools.empty());
  EXPECT_TRUE(std::filesystem::path(tools).is_absolute()) << tools;
  EXPECT_EQ(tools.find("/../"), std::string::npos) << tools;

  const CommandOutput run = runRealCommand("printf %s \"$PATH\"");
  EXPECT_EQ(run.output, "/usr/bin:/bin:" + tools);
}

// A folder name is bytes; one that is not UTF-8 must reach the shell as is.
TEST(RealRunnerTest, PathTravelsAsBytes) {
  TempDir dir;
  const std::filesystem::path folder = dir.path() / "tools-caf\xe9";
  std::filesystem::create_directory(folder);
  std::ofstream(folder / "ambrelux-found") << "#!/bin/sh\necho found\n";
  std::filesystem::permissions(folder / "ambrelux-found", std::filesystem::perms::owner_all);
  const ScopedEnv path("PATH", folder.string() + ":/usr/bin:/bin");
  const CommandOutput run = runRealCommand("ambrelux-found");
  EXPECT_EQ(run.output, "found\n");
  EXPECT_EQ(run.exitStatus, 0);
}

// The keeper learns of its caller's death by SIGTERM; a caller that ignores
// SIGTERM must not pass that on to the keeper, which could not trap it then.
TEST(RealRunnerTest, ToolGoesWithAKilledCallerThatIgnoresTerm) {
  TempDir dir;
  const std::filesystem::path tool = dir.path() / "hangs";
  std::ofstream(tool) << testing::kNoteGroup << "exec sleep 600\n";
  std::filesystem::permissions(tool, std::filesystem::perms::owner_all);
  const pid_t caller = ::fork();
  if (caller == 0) {
    ::signal(SIGTERM, SIG_IGN);
    runRealCommand(tool.string());
    ::_exit(0);
  }
  ASSERT_GT(caller, 0);
  std::vector<pid_t> groups;
  const bool started = testing::waitUntil(
      [&] {
        groups = testing::notedGroups(tool);
        return !groups.empty();
      },
      std::chrono::seconds(10));
  ::kill(caller, SIGKILL);
  ::waitpid(caller, nullptr, 0);
  ASSERT_TRUE(started) << "the tool never ran";
  const bool gone = testing::groupEnds(groups.front());
  if (!gone) ::kill(-groups.front(), SIGKILL);
  EXPECT_TRUE(gone) << "the tool outlived its caller";
}

TEST(RealRunnerTest, WithoutAPathRealToolsAreStillFound) {
  const ScopedEnv path("PATH", std::nullopt);
  const CommandOutput run = runRealCommand("seq 2 3");
  EXPECT_EQ(run.output, "2\n3\n");
  EXPECT_EQ(run.exitStatus, 0);
}

}  // namespace
}  // namespace ambrelux
