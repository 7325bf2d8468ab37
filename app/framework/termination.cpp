#include "app/framework/termination.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <initializer_list>

namespace ambrelux {

namespace {

volatile sig_atomic_t arrived = 0;
int wakeRead = -1;
int wakeWrite = -1;

void onTerminationSignal(int signal) {
  const int savedErrno = errno;
  arrived = signal;
  const char byte = 1;
  [[maybe_unused]] const ssize_t ignored = ::write(wakeWrite, &byte, 1);  // a full pipe already wakes
  errno = savedErrno;
}

}  // namespace

void catchTerminationSignals() {
  if (wakeRead >= 0) return;
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return;
  wakeRead = ends[0];
  wakeWrite = ends[1];
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    struct sigaction old {};
    if (signal == SIGHUP && ::sigaction(signal, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signal, &action, nullptr);
  }
}

bool terminationRequested() { return arrived != 0; }

int terminationSignal() { return arrived; }

int terminationNotifier() { return wakeRead; }

}  // namespace ambrelux
