// The built programs, run as Ambrelux runs them, against a sample tree.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

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

// Runs `program` with `args` against `root`. With `asNobody`, a test run
// as root runs it as nobody (65534), since root lists any folder whatever
// its mode; it must then lie where nobody can run it.
Outcome run(const std::string& program, std::vector<std::string> args, const std::string& root,
            bool asNobody = false) {
  std::string dir = (fs::temp_directory_path() / "ambrelux-run-XXXXXX").string();
  if (::mkdtemp(dir.data()) == nullptr) return {};
  const std::string out = dir + "/out", err = dir + "/err";
  args.insert(args.begin(), program);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  ::setenv("AMBRELUX_POWER_SUPPLY_ROOT", root.c_str(), 1);
  const bool drop = asNobody && ::getuid() == 0;
  Outcome result;
  int status = 0;
  const pid_t pid = ::fork();
  if (pid == 0) {
    // Only async-signal-safe calls between fork and exec.
    const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (outFd < 0 || errFd < 0 || ::dup2(outFd, 1) < 0 || ::dup2(errFd, 2) < 0) ::_exit(125);
    if (drop && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(126);
    ::execve(program.c_str(), argv.data(), environ);
    ::_exit(127);
  }
  if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
    result = {WEXITSTATUS(status), slurp(out), slurp(err)};
  }
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

// A folder named and not readable must not pass for a machine without a
// battery, which an empty folder is.
TEST_P(Outputs, UnreadableRootFailsWithOneLine) {
  const OutputCase& c = GetParam();
  std::string dir = (fs::temp_directory_path() / "ambrelux-root-XXXXXX").string();
  ASSERT_NE(::mkdtemp(dir.data()), nullptr);
  fs::permissions(dir, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                           fs::perms::others_read | fs::perms::others_exec);
  const std::string name = fs::path(c.program).filename().string();
  const std::string program = dir + "/" + name;
  fs::copy_file(c.program, program);
  // Each holds a battery, which shows if its folder is read at all.
  const auto folder = [&](const std::string& path, fs::perms mode) {
    fs::create_directories(path + "/BAT0");
    std::ofstream(path + "/BAT0/type") << "Battery\n";
    fs::permissions(path, mode);
  };
  fs::create_directory(dir + "/empty");
  std::ofstream(dir + "/file") << "1\n";
  folder(dir + "/unlistable", fs::perms::none);
  folder(dir + "/unsearchable", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  // A supply that can't be read is skipped, as the kernel's own may be.
  folder(dir + "/readable", fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
  fs::permissions(dir + "/readable/BAT0", fs::perms::none);

  for (const char* root : {"empty", "readable"}) {
    const Outcome r = run(program, c.args, dir + "/" + root, true);
    EXPECT_EQ(r.exitStatus, 0) << root;
    EXPECT_EQ(r.err, "") << root;
    EXPECT_EQ(r.out, c.format(PowerState{})) << root;
  }
  struct Row {
    std::string root, shown, reason;
  };
  const Row rows[] = {
      {"missing", "missing", "No such file or directory"},
      {"file", "file", "Not a directory"},
      {"unlistable", "unlistable", "Permission denied"},
      {"unsearchable", "unsearchable", "Permission denied"},
      // Named as shown: line ends and escapes would forge lines on a terminal.
      {"a\nb\x1b[2J\xc2\x9b", "a?b?[2J?", "No such file or directory"},
  };
  for (const Row& row : rows) {
    const Outcome r = run(program, c.args, dir + "/" + row.root, true);
    EXPECT_EQ(r.exitStatus, 1) << row.shown;
    EXPECT_EQ(r.out, "") << row.shown;
    EXPECT_EQ(r.err, name + ": can't read AMBRELUX_POWER_SUPPLY_ROOT folder " + dir + "/" + row.shown + ": " +
                         row.reason + "\n");
  }
  for (const char* path : {"/unlistable", "/unsearchable", "/readable/BAT0"}) {
    fs::permissions(dir + path, fs::perms::owner_all);
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

// What a path shows as in the error line: whole characters as they are,
// '?' for each byte that begins none and for each character that breaks
// or reorders the line.
TEST(OneLine, KeepsCharactersAndMarksTheRest) {
  struct Case {
    const char* name;
    std::string text, shown;
  };
  const Case cases[] = {
      {"ascii", "/tmp/a b", "/tmp/a b"},
      {"two-byte", "josé", "josé"},
      {"three-byte", "日本", "日本"},
      {"four-byte", "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
      {"last code point", "\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},
      {"no-break space", "\xC2\xA0", "\xC2\xA0"},
      {"line end, tab", "a\nb\tc", "a?b?c"},
      {"escape, DEL", "\x1B[2J\x7F", "?[2J?"},
      {"C1 control",
       "\xC2\x9B"
       "x",
       "?x"},
      {"overlong", "\xE0\x80\x80", "???"},
      {"overlong two-byte", "\xC0\xAF", "??"},
      {"surrogate", "\xED\xA0\x80", "???"},
      {"past U+10FFFF", "\xF4\x90\x80\x80", "????"},
      {"never in UTF-8", "\xF5\xFF", "??"},
      {"stray continuation",
       "\x80"
       "a",
       "?a"},
      {"cut short at the end", "ab\xE6\x97", "ab??"},
      {"line separator", "\xE2\x80\xA8", "?"},
      {"paragraph separator", "\xE2\x80\xA9", "?"},
      {"embedding, override",
       "\xE2\x80\xAA"
       "a\xE2\x80\xAE",
       "?a?"},
      {"isolates",
       "\xE2\x81\xA6"
       "a\xE2\x81\xA9",
       "?a?"},
      // Their neighbours U+2027, U+202F, U+2065 and U+206A stay.
      {"neighbours", "\xE2\x80\xA7\xE2\x80\xAF\xE2\x81\xA5\xE2\x81\xAA",
       "\xE2\x80\xA7\xE2\x80\xAF\xE2\x81\xA5\xE2\x81\xAA"},
  };
  for (const Case& c : cases) EXPECT_EQ(oneLine(c.text), c.shown) << c.name;
}

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
