// How Ambrelux ends when it is not quit from its window: exit() called from
// inside the event loop, as Qt does when the display goes away, and the
// signals that end or kill it while a tool runs. Each run is a process of
// its own; the signals go to a copy of the real program installed in a
// folder whose name is not UTF-8, so its stand-ins must be found by bytes.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "app/framework/runtime.h"
#include "app/startup.h"
#include "support/fake_platform.h"
#include "support/process_groups.h"
#include "support/real_command_platform.h"

extern char** environ;

namespace ambrelux::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST(LifecycleDeathTest, ExitFromInsideTheLoopEndsWithItsStatus) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        FakePlatform fake;
        fake.setOutput("ioreg -w0 -c AppleSmartBattery", readTestData("ioreg/smart-battery.txt"));
        RuntimeInit();  // no QApplication yet in this program: the run makes its own
        QTimer::singleShot(0, [] { std::exit(1); });
        Main();
        releaseGlobals();
        std::exit(RuntimeExit() + 10);
      },
      ::testing::ExitedWithCode(1), "");
}

struct SignalCase {
  const char* name;
  const char* tool;  // what the smart listing does after noting its group
  int signal;
  std::chrono::milliseconds settle;  // from the tool's start to the signal
};

const SignalCase kSignalCases[] = {
    {"TermWhileAToolHangs", "exec sleep 600", SIGTERM, 50ms},
    {"InterruptWhileAToolHangs", "sleep 600", SIGINT, 50ms},
    {"HangUpWhileAToolHangs", "exec sleep 600", SIGHUP, 50ms},
    // No source answers, so the failure message is showing by then.
    {"TermWhileTheFailureMessageShows", "true", SIGTERM, 500ms},
    // Nothing of Ambrelux runs any more; the tool's keeper ends it.
    {"KillWhileAToolHangs", "sleep 600", SIGKILL, 50ms},
};

void PrintTo(const SignalCase& c, std::ostream* os) { *os << c.name; }

class SignalTest : public ::testing::TestWithParam<SignalCase> {
 protected:
  void SetUp() override {
    const fs::path bin = dir.path() / "caf\xe9" / "bin";
    fs::create_directories(bin);
    const fs::path tools = (bin / AMBRELUX_TOOLS_RELATIVE_TO_BIN).lexically_normal();
    fs::create_directories(tools);
    program = bin / "ambrelux";
    std::error_code error;
    fs::create_hard_link(AMBRELUX_EXECUTABLE, program, error);
    if (error) fs::copy_file(AMBRELUX_EXECUTABLE, program);
    tool = tools / "ioreg";
    std::ofstream(tool) << kNoteGroup << GetParam().tool << "\n";
    fs::permissions(tool, fs::perms::owner_all);
  }

  // Starts the program headless, with the three signals at their defaults
  // and no tool on the PATH, so only its own stand-ins answer.
  pid_t start() {
    std::vector<std::string> environment{"PATH=/usr/bin:/bin", "QT_QPA_PLATFORM=offscreen"};
    for (char** entry = environ; *entry != nullptr; ++entry) {
      const std::string_view text(*entry);
      if (!text.starts_with("PATH=") && !text.starts_with("QT_QPA_PLATFORM=")) environment.emplace_back(text);
    }
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    posix_spawnattr_setsigmask(&attributes, &defaults);
    for (int s : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&defaults, s);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    std::string name = program.string();
    char* argv[] = {name.data(), nullptr};
    pid_t pid = 0;
    const int error = posix_spawn(&pid, name.c_str(), nullptr, &attributes, argv, envp.data());
    posix_spawnattr_destroy(&attributes);
    return error == 0 ? pid : -1;
  }

  // The program's wait status, or nothing when it has not ended in 10 s.
  static std::optional<int> ending(pid_t pid) {
    int status = 0;
    if (waitUntil([&] { return ::waitpid(pid, &status, WNOHANG) == pid; }, 10s)) return status;
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return std::nullopt;
  }

  // The group of the tool's first run, once that run has begun.
  std::optional<pid_t> toolGroup() {
    std::vector<pid_t> groups;
    const auto noted = [&] {
      groups = notedGroups(tool);
      return !groups.empty();
    };
    if (!waitUntil(noted, 10s)) return std::nullopt;
    return groups.front();
  }

  TempDir dir;
  fs::path program, tool;
};

TEST_P(SignalTest, EndsWithNoToolLeft) {
  const SignalCase& c = GetParam();
  const pid_t pid = start();
  ASSERT_GT(pid, 0);
  const std::optional<pid_t> group = toolGroup();
  if (!group) ::kill(pid, SIGKILL);
  ASSERT_TRUE(group) << "the stand-in in the tools folder never ran";
  std::this_thread::sleep_for(c.settle);
  ::kill(pid, c.signal);
  const std::optional<int> status = ending(pid);
  ASSERT_TRUE(status) << "Ambrelux did not end";
  if (c.signal == SIGKILL) {
    EXPECT_TRUE(WIFSIGNALED(*status));
  } else {
    ASSERT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
    EXPECT_EQ(WEXITSTATUS(*status), 0);
  }
  EXPECT_TRUE(groupEnds(*group)) << "the tool still runs";
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalTest, ::testing::ValuesIn(kSignalCases),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace ambrelux::testing
