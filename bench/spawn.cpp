#include "spawn.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "app/framework/platform.h"

extern char** environ;

namespace ambrelux::bench {

namespace {

std::vector<char*> pointers(const std::vector<std::string>& strings) {
  std::vector<char*> result;
  result.reserve(strings.size() + 1);
  for (const std::string& s : strings) result.push_back(const_cast<char*>(s.c_str()));
  result.push_back(nullptr);
  return result;
}

double seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; }

}  // namespace

ChildRun spawnAndWait(const std::vector<std::string>& argv, const std::vector<std::string>& environment) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::vector<char*> args = pointers(argv);
  std::vector<char*> env = pointers(environment);
  pid_t pid = 0;
  const int error = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), env.data());
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) throw std::runtime_error("cannot start " + argv[0]);
  ChildRun run;
  rusage usage{};
  if (wait4(pid, &run.status, 0, &usage) != pid) throw std::runtime_error("lost child " + argv[0]);
  run.maxRssKb = usage.ru_maxrss;
  run.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  return run;
}

const std::vector<std::string>& toolEnvironment() {
  static const std::vector<std::string> environment = [] {
    std::vector<std::string> result;
    std::string path;
    for (char** e = environ; *e; ++e) {
      const std::string entry(*e);
      if (entry.rfind("PATH=", 0) == 0) path = entry.substr(5);
      else if (entry.rfind("LC_ALL=", 0) != 0) result.push_back(entry);
    }
    if (path.empty()) path = "/usr/bin:/bin";
    result.push_back("LC_ALL=C");
    result.push_back("PATH=" + path + ":" + toolsFolder());
    return result;
  }();
  return environment;
}

ChildRun runDiscarded(const std::string& commandLine) {
  ChildRun run = spawnAndWait({"/bin/sh", "-c", commandLine + " >/dev/null"}, toolEnvironment());
  if (!WIFEXITED(run.status) || WEXITSTATUS(run.status) != 0)
    throw std::runtime_error("failed: " + commandLine);
  return run;
}

std::string runReading(const std::string& commandLine) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("no pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const std::vector<std::string> argv = {"/bin/sh", "-c", commandLine};
  std::vector<char*> args = pointers(argv);
  std::vector<char*> env = pointers(toolEnvironment());
  pid_t pid = 0;
  const int error = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), env.data());
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  if (error != 0) {
    close(fds[0]);
    throw std::runtime_error("cannot start /bin/sh");
  }
  std::string output;
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(fds[0], buffer, sizeof buffer);
    if (n > 0) output.append(buffer, static_cast<std::size_t>(n));
    else if (n == 0 || errno != EINTR) break;
  }
  close(fds[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error("failed: " + commandLine);
  return output;
}

double cpuSecondsSelfAndChildren() {
  rusage self{}, children{};
  getrusage(RUSAGE_SELF, &self);
  getrusage(RUSAGE_CHILDREN, &children);
  return seconds(self.ru_utime) + seconds(self.ru_stime) + seconds(children.ru_utime) +
         seconds(children.ru_stime);
}

std::string binaryBesideUs(const std::string& name) {
  return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / name).string();
}

}  // namespace ambrelux::bench
