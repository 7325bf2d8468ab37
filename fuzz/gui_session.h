// A headless Qt session for the fuzz targets that need the status window:
// the QApplication is made once per process, and each input gets a fresh
// App, a fresh window and a recording fake platform, so nothing one input
// does can change what the next one sees.
#pragma once

#include "require.h"
#include "status_window/status_window.h"
#include "support/fake_platform.h"

namespace ambrelux::fuzzing {

// Once, from LLVMFuzzerInitialize: offscreen platform, C locale, Qt.
void startQt();

// What the event loop does between two refreshes of a real run: the
// repaints and other events the input posted. Without it they pile up.
void settle();

// A registered App, the fake installed, and on request the status window
// built and opened; everything is freed again when it goes.
class WindowSession {
 public:
  WindowSession();
  ~WindowSession();
  WindowSession(const WindowSession&) = delete;
  WindowSession& operator=(const WindowSession&) = delete;

  statusWindow& window();

  testing::FakePlatform fake;
};

}  // namespace ambrelux::fuzzing
