// The one seam between Ambrelux and the outside world: running a command,
// the modal message box and opening an address in the browser. Tests install
// a recording fake so they never block on a box, open a browser or need the
// operating system's battery tools.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace ambrelux {

struct CommandOutput {
  std::string output;  // complete standard output
  int exitStatus = 0;  // 0 for success; non-zero when missing or killed
};

// What one tool run may take. Past either bound the tool and everything it
// started are killed and the run fails: no output and one of the statuses
// below.
struct CommandBounds {
  std::chrono::milliseconds time{10'000};
  std::size_t outputBytes = std::size_t{64} << 20;
};

// The tool was not started: the shell could not be, or Ambrelux is ending
// (as a shell reports a command it cannot run).
inline constexpr int kNotStarted = 127;
// The run took longer than its bound (as coreutils' `timeout` reports it).
inline constexpr int kTimedOut = 124;
// The run printed more than its bound (as a shell reports a process that
// exceeded its file size limit: 128 + SIGXFSZ).
inline constexpr int kOutputTooLarge = 153;

class Platform {
 public:
  virtual ~Platform() = default;
  // Runs the command line through /bin/sh -c and waits for it to end.
  virtual CommandOutput runCommand(const std::string& commandLine) = 0;
  // Shows a modal message box and returns when it is dismissed.
  virtual void showMessage(const std::string& text) = 0;
  // Hands the address to the desktop's default browser; returns at once.
  virtual void openUrl(const std::string& address) = 0;
};

// The installed platform; the real one unless a test installed another.
Platform& platform();

// Installs `replacement` (not owned); nullptr restores the real platform.
void setPlatform(Platform* replacement);

// The real platform's command runner, reachable for tests that exercise it
// directly while a fake handles the rest. The command runs under /bin/sh -c
// in a process group of its own, which is killed when the run ends, so no
// process it started outlives it; on Linux the group also goes when
// Ambrelux dies. Once Ambrelux is asked to end (termination.h) the running
// tool is killed, no new one starts, and the run fails with 128 + the signal.
CommandOutput runRealCommand(const std::string& commandLine, const CommandBounds& bounds = {});

// Where our stand-ins for the operating system's tools are installed,
// searched after the PATH.
std::string toolsFolder();

}  // namespace ambrelux
