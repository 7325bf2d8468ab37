// The built programs, run as Ambrelux runs them, against a sample tree.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tools/ioreg_format.h"
#include "tools/profiler_format.h"
#include "tools/stand_in.h"

extern char** environ;

namespace ambrelux::tools {
namespace {

namespace fs = std::filesystem;

const std::string kTrees = std::string(AMBRELUX_TEST_DATA) + "/power_supply/";

struct Outcome {
  int exitStatus = -1;
  std::string out, err;
};

std::string slurp(const fs::path& file) {
  std::ostringstream text;
  text << std::ifstream(file, std::ios::binary).rdbuf();
  return text.str();
}

Outcome run(const std::string& program, std::vector<std::string> args, const std::string& root) {
  std::string dir = (fs::temp_directory_path() / "ambrelux-run-XXXXXX").string();
  if (::mkdtemp(dir.data()) == nullptr) return {};
  const std::string out = dir + "/out", err = dir + "/err";
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  args.insert(args.begin(), program);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  ::setenv("AMBRELUX_POWER_SUPPLY_ROOT", root.c_str(), 1);
  Outcome result;
  pid_t pid = 0;
  int status = 0;
  if (posix_spawn(&pid, program.c_str(), &files, nullptr, argv.data(), environ) == 0 &&
      ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
    result = {WEXITSTATUS(status), slurp(out), slurp(err)};
  }
  posix_spawn_file_actions_destroy(&files);
  fs::remove_all(dir);
  return result;
}

struct OutputCase {
  const char* name;
  const char* program;
  std::vector<std::string> args;
  Format format;
};

class Outputs : public ::testing::TestWithParam<OutputCase> {};

TEST_P(Outputs, ProgramPrintsTheFormattedTree) {
  const OutputCase& c = GetParam();
  for (const char* tree : {"ac-charging", "ac-only", "garbage"}) {
    const Outcome r = run(c.program, c.args, kTrees + tree);
    EXPECT_EQ(r.exitStatus, 0) << tree;
    EXPECT_EQ(r.err, "") << tree;
    EXPECT_EQ(r.out, c.format(powerStateFrom(readSupplies(kTrees + tree)))) << tree;
  }
}

// A folder named and not there must not pass for a machine without a
// battery, which an empty folder is.
TEST_P(Outputs, RootThatIsNoFolderFailsWithOneLine) {
  const OutputCase& c = GetParam();
  std::string dir = (fs::temp_directory_path() / "ambrelux-root-XXXXXX").string();
  ASSERT_NE(::mkdtemp(dir.data()), nullptr);
  const Outcome empty = run(c.program, c.args, dir);
  EXPECT_EQ(empty.exitStatus, 0);
  EXPECT_EQ(empty.out, c.format(PowerState{}));
  std::ofstream(dir + "/file") << "1\n";
  // Named as shown: line ends and escapes would forge lines on a terminal.
  const std::pair<std::string, std::string> roots[] = {{dir + "/missing", dir + "/missing"},
                                                       {dir + "/file", dir + "/file"},
                                                       {dir + "/a\nb\x1b[2J\xc2\x9b", dir + "/a?b?[2J??"}};
  for (const auto& [root, shown] : roots) {
    const Outcome r = run(c.program, c.args, root);
    EXPECT_EQ(r.exitStatus, 1) << shown;
    EXPECT_EQ(r.out, "") << shown;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << shown;
    EXPECT_EQ(r.err.rfind(fs::path(c.program).filename().string() + ": ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(": " + shown + "\n"), std::string::npos) << r.err;
  }
  fs::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, Outputs,
    ::testing::Values(
        OutputCase{"SmartBattery", AMBRELUX_IOREG, {"-w0", "-c", "AppleSmartBattery"}, smartBatteryListing},
        OutputCase{"MacIODevice", AMBRELUX_IOREG, {"-w0", "-cAppleMacIODevice"}, macIODeviceListing},
        OutputCase{"PowerReport", AMBRELUX_SYSTEM_PROFILER, {"SPPowerDataType"}, powerReport}),
    [](const auto& row) { return std::string(row.param.name); });

struct UsageCase {
  const char* name;
  const char* program;
  std::vector<std::string> args;
};

class WrongArguments : public ::testing::TestWithParam<UsageCase> {};

TEST_P(WrongArguments, GiveOneUsageLineAndFailure) {
  const UsageCase& c = GetParam();
  const Outcome r = run(c.program, c.args, kTrees + "ac-charging");
  EXPECT_NE(r.exitStatus, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.rfind("usage: ", 0), 0u);
  EXPECT_EQ(r.err.find('\n'), r.err.size() - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, WrongArguments,
    ::testing::Values(UsageCase{"IoregNone", AMBRELUX_IOREG, {}},
                      UsageCase{"IoregClassApart", AMBRELUX_IOREG, {"-w0", "-c", "AppleMacIODevice"}},
                      UsageCase{"IoregClassJoined", AMBRELUX_IOREG, {"-w0", "-cAppleSmartBattery"}},
                      UsageCase{"IoregExtra", AMBRELUX_IOREG, {"-w0", "-c", "AppleSmartBattery", "-l"}},
                      UsageCase{"IoregWidth", AMBRELUX_IOREG, {"-w1", "-cAppleMacIODevice"}},
                      UsageCase{"ProfilerNone", AMBRELUX_SYSTEM_PROFILER, {}},
                      UsageCase{"ProfilerCase", AMBRELUX_SYSTEM_PROFILER, {"sppowerdatatype"}},
                      UsageCase{"ProfilerExtra", AMBRELUX_SYSTEM_PROFILER, {"SPPowerDataType", "-xml"}}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace ambrelux::tools
