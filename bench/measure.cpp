// Runs one program and prints what it cost, like /usr/bin/time -v:
//   ambrelux_measure [-v] program [arguments...]
// prints "wall_s peak_rss_kb cpu_s exit_status" on one line. Peak RSS must be
// taken from a small parent: a child started by vfork from a large process
// is charged that process's resident set at exec.
// -v keeps the program's own output; otherwise it goes to /dev/null.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

extern char** environ;

namespace {

double seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; }

long long monotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000000000LL + now.tv_nsec;
}

}  // namespace

int main(int argc, char** argv) {
  int first = 1;
  const bool verbose = argc > 1 && std::strcmp(argv[1], "-v") == 0;
  if (verbose) ++first;
  if (first >= argc) {
    std::fprintf(stderr, "usage: ambrelux_measure [-v] program [arguments...]\n");
    return 2;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (!verbose) {
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  }
  // Lets a program that wants to report its own phases count from here.
  const long long start = monotonicNs();
  setenv("AMBRELUX_MEASURE_START_NS", std::to_string(start).c_str(), 1);
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[first], &actions, nullptr, argv + first, environ) != 0) {
    std::perror(argv[first]);
    return 127;
  }
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return 127;
  const double wall = static_cast<double>(monotonicNs() - start) / 1e9;
  std::printf("%.9f %ld %.6f %d\n", wall, usage.ru_maxrss, seconds(usage.ru_utime) + seconds(usage.ru_stime),
              WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
  return 0;
}
