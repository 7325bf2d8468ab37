// The one seam between Ambrelux and the outside world: running a command,
// the modal message box and opening an address in the browser. Tests install
// a recording fake so they never block on a box, open a browser or need the
// operating system's battery tools.
#pragma once

#include <string>

namespace ambrelux {

struct CommandOutput {
  std::string output;  // complete standard output
  int exitStatus = 0;  // 0 for success; non-zero when missing or killed
};

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
// directly while a fake handles the rest.
CommandOutput runRealCommand(const std::string& commandLine);

// Where our stand-ins for the operating system's tools are installed,
// searched after the PATH.
std::string toolsFolder();

}  // namespace ambrelux
