// How Ambrelux ends when it is not quit from its window: exit() called from
// inside the event loop, as Qt does when the display goes away, the signals
// that end or kill it while a tool runs, and no display to start on. Each
// run is a process of its own; the signals go to a copy of the real program
// installed in a folder whose name is not UTF-8, so its stand-ins must be
// found by bytes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
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

// Qt's messages while it starts are held back in case start-up fails; when
// it succeeds they still reach standard error.
TEST(LifecycleDeathTest, QtStartUpMessagesReachStandardErrorWhenStartUpSucceeds) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::unsetenv("XDG_RUNTIME_DIR");  // Qt warns of it while it starts
        RuntimeInit();
        std::exit(RuntimeExit());
      },
      ::testing::ExitedWithCode(0), "XDG_RUNTIME_DIR not set");
}

// This process's environment with `changes`: "NAME=value" sets NAME, a bare
// "NAME" removes it.
std::vector<std::string> environmentWith(const std::vector<std::string>& changes) {
  std::vector<std::string> environment, names;
  for (const std::string& change : changes) {
    names.push_back(change.substr(0, change.find('=')) + "=");
    if (change.find('=') != std::string::npos) environment.push_back(change);
  }
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string_view text(*entry);
    if (std::none_of(names.begin(), names.end(),
                     [&](const std::string& name) { return text.starts_with(name); }))
      environment.emplace_back(text);
  }
  return environment;
}

// Starts `program` with the three signals at their defaults, its standard
// error into `errors` when given and the standard streams in `closed` closed;
// -1 when it could not start.
pid_t spawn(const fs::path& program, std::vector<std::string> environment, const fs::path& errors = {},
            const std::vector<int>& closed = {}) {
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
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  if (!errors.empty())
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
  for (const int fd : closed) posix_spawn_file_actions_addclose(&files, fd);
  std::string name = program.string();
  char* argv[] = {name.data(), nullptr};
  pid_t pid = 0;
  const int error = posix_spawn(&pid, name.c_str(), &files, &attributes, argv, envp.data());
  posix_spawn_file_actions_destroy(&files);
  posix_spawnattr_destroy(&attributes);
  return error == 0 ? pid : -1;
}

// The program's wait status, or nothing when it has not ended in 10 s.
std::optional<int> ending(pid_t pid) {
  int status = 0;
  if (waitUntil([&] { return ::waitpid(pid, &status, WNOHANG) == pid; }, 10s)) return status;
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
  return std::nullopt;
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

  // Headless, with no tool on the PATH, so only its own stand-ins answer.
  pid_t start() {
    return spawn(program, environmentWith({"PATH=/usr/bin:/bin", "QT_QPA_PLATFORM=offscreen"}));
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

// An X server of our own on a display nobody else uses, gone with the object.
class XServer {
 public:
  XServer() {
    int ends[2];
    if (::pipe(ends) != 0) return;
    std::string fd = std::to_string(ends[1]);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addclose(&files, ends[0]);
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const char* argv[] = {"Xvfb",    "-displayfd", fd.c_str(),   "-nolisten", "tcp",
                          "-screen", "0",          "640x480x24", nullptr};
    if (posix_spawnp(&pid_, argv[0], &files, nullptr, const_cast<char**>(argv), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&files);
    ::close(ends[1]);
    // It writes the display's number once it takes connections.
    char digit = 0;
    std::string number;
    while (pid_ > 0 && ::read(ends[0], &digit, 1) == 1 && digit != '\n') number += digit;
    ::close(ends[0]);
    if (!number.empty()) display_ = ":" + number;
  }
  ~XServer() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;

  // ":N", or empty when the server did not start.
  const std::string& display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

struct ClosedStreamsCase {
  const char* name;
  std::vector<int> closed;
};

const ClosedStreamsCase kClosedStreamsCases[] = {
    {"OutputAndError", {STDOUT_FILENO, STDERR_FILENO}},
    {"AllThree", {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}},
};

void PrintTo(const ClosedStreamsCase& c, std::ostream* os) { *os << c.name; }

class ClosedStreamsTest : public ::testing::TestWithParam<ClosedStreamsCase> {};

// Some launchers start a program with its standard streams closed. Qt warns
// while it starts (XDG_RUNTIME_DIR unset): that warning must not land in a
// descriptor of Ambrelux's own, such as the X connection or the signal pipe.
TEST_P(ClosedStreamsTest, RunsUntilTermThenEndsWithStatusZero) {
  const XServer x;
  ASSERT_FALSE(x.display().empty()) << "no X server for the test: Xvfb is in the package xvfb";
  const std::string sample = std::string(AMBRELUX_TEST_DATA) + "/power_supply/ac-charging";
  const pid_t pid = spawn(
      AMBRELUX_EXECUTABLE,
      environmentWith({"PATH=/usr/bin:/bin", "QT_QPA_PLATFORM=xcb", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR",
                       "DISPLAY=" + x.display(), "AMBRELUX_POWER_SUPPLY_ROOT=" + sample}),
      {}, GetParam().closed);
  ASSERT_GT(pid, 0);
  std::this_thread::sleep_for(2s);
  int status = 0;
  if (::waitpid(pid, &status, WNOHANG) == pid) FAIL() << "Ambrelux ended at start-up, wait status " << status;
  ::kill(pid, SIGTERM);
  const std::optional<int> ended = ending(pid);
  ASSERT_TRUE(ended) << "SIGTERM did not end Ambrelux";
  ASSERT_TRUE(WIFEXITED(*ended)) << "ended by signal " << WTERMSIG(*ended);
  EXPECT_EQ(WEXITSTATUS(*ended), 0);
}

INSTANTIATE_TEST_SUITE_P(ClosedStreams, ClosedStreamsTest, ::testing::ValuesIn(kClosedStreamsCases),
                         [](const auto& row) { return std::string(row.param.name); });

struct NoDisplayCase {
  const char* name;
  const char* display;  // "DISPLAY=..." or, to remove it, "DISPLAY"
  const char* reason;   // how the one line ends
};

const NoDisplayCase kNoDisplayCases[] = {
    {"DisplayNotSet", "DISPLAY", "DISPLAY is not set"},
    {"NobodyServesTheDisplay", "DISPLAY=:4242", "could not connect to the X display \":4242\""},
};

void PrintTo(const NoDisplayCase& c, std::ostream* os) { *os << c.name; }

class NoDisplayTest : public ::testing::TestWithParam<NoDisplayCase> {};

// Qt alone would print several lines and abort, leaving a core.
TEST_P(NoDisplayTest, EndsWithStatusOneAndOneLine) {
  const NoDisplayCase& c = GetParam();
  const std::string_view display(c.display);
  if (const std::size_t colon = display.find(':');
      colon != std::string_view::npos &&
      fs::exists("/tmp/.X11-unix/X" + std::string(display.substr(colon + 1))))
    GTEST_SKIP() << "an X server serves " << display;
  TempDir dir;
  const fs::path errors = dir.path() / "errors";
  const pid_t pid = spawn(
      AMBRELUX_EXECUTABLE,
      environmentWith({"PATH=/usr/bin:/bin", "QT_QPA_PLATFORM=xcb", "WAYLAND_DISPLAY", c.display}), errors);
  ASSERT_GT(pid, 0);
  const std::optional<int> status = ending(pid);
  ASSERT_TRUE(status) << "Ambrelux did not end";
  std::ostringstream text;
  text << std::ifstream(errors).rdbuf();
  const std::string said = text.str();
  ASSERT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status) << " after saying\n" << said;
  EXPECT_EQ(WEXITSTATUS(*status), 1);
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_TRUE(said.starts_with("Ambrelux: ") && said.find("display") != std::string::npos &&
              said.ends_with(std::string(c.reason) + "\n"))
      << said;
}

INSTANTIATE_TEST_SUITE_P(NoDisplay, NoDisplayTest, ::testing::ValuesIn(kNoDisplayCases),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace ambrelux::testing
