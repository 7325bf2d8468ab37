// The real command runner. QProcess can't put the tool in a group of its
// own that dies with us, pass the environment as bytes, or wait for output
// and a termination request at once, so the tool is started by hand:
//
//   Ambrelux ── /bin/sh, the keeper: leads the tool's process group
//                 └── the command line, run as a job ── whatever it starts
//
// The keeper waits for the job and exits with its status. Its parent-death
// signal is SIGTERM, on which it kills the whole group, so no tool outlives
// us even after SIGKILL. Ambrelux reads the output and kills the group
// itself when a bound is passed, when the keeper has ended, or when it is
// asked to end.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

#include "app/framework/platform.h"
#include "app/framework/termination.h"

extern char** environ;

namespace ambrelux {

namespace {

class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() { reset(); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  void reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

// The search path a POSIX shell uses when none is set.
std::string defaultSearchPath() {
  const std::size_t size = confstr(_CS_PATH, nullptr, 0);
  if (size == 0) return "/usr/bin:/bin";
  std::string path(size, '\0');
  confstr(_CS_PATH, path.data(), size);
  path.resize(size - 1);
  return path;
}

// Our environment byte for byte, but for LC_ALL=C (the tools print their
// labels in English only under the C locale) and our stand-ins after the
// PATH, so a real tool always wins.
std::vector<std::string> childEnvironment() {
  std::vector<std::string> environment;
  std::string path;
  bool pathSet = false;
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    const std::string_view text(*entry);
    if (text.starts_with("LC_ALL=")) continue;
    if (text.starts_with("PATH=")) {
      path = text.substr(5);
      pathSet = true;
      continue;
    }
    environment.emplace_back(text);
  }
  environment.emplace_back("LC_ALL=C");
  const std::string tools = toolsFolder();
  if (!tools.empty()) {
    if (path.empty()) path = defaultSearchPath();
    environment.push_back("PATH=" + path + ":" + tools);
  } else if (pathSet) {
    environment.push_back("PATH=" + path);
  }
  return environment;
}

// The keeper's script around the command line, which runs as a job in
// braces: a simple command is then exec'd in the job's process, as `sh -c`
// would. The `:` keeps the braces valid around a line with nothing to run,
// which `sh -c` takes as success. A trapped signal ends the `wait` at once,
// and the trap is set before the job starts.
std::string keeperScript(const std::string& commandLine) {
  return "trap 'kill -KILL 0' TERM\n{\n:\n" + commandLine + "\n} & wait $!";
}

// Everything the child uses, made before it starts: until its exec it shares
// our memory and may only make system calls.
struct Launch {
  explicit Launch(const std::string& commandLine)
      : environment(childEnvironment()), script(keeperScript(commandLine)) {
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);
    argv = {shell.data(), dashC.data(), script.data(), nullptr};
  }

  std::vector<std::string> environment;
  std::vector<char*> envp;
  std::string shell = "sh", dashC = "-c", script;
  std::vector<char*> argv;
  pid_t parent = ::getpid();
  int devNull = -1, output = -1;
};

// Starts the keeper. vfork, as posix_spawn does, because a fork of a process
// of Qt's size costs milliseconds; posix_spawn itself can't set the
// parent-death signal.
pid_t startKeeper(const Launch& launch) {
  sigset_t all, saved;
  sigfillset(&all);
  ::pthread_sigmask(SIG_BLOCK, &all, &saved);  // no handler of ours may run in the child
  const pid_t pid = ::vfork();
  if (pid == 0) {
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal) {
      struct sigaction current {};
      if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_IGN)
        ::sigaction(signal, &byDefault, nullptr);
    }
    // Tools expect SIGPIPE's default; and a shell can't trap a signal that
    // was ignored when it started, so the keeper's trap needs SIGTERM's.
    for (const int signal : {SIGPIPE, SIGTERM}) ::sigaction(signal, &byDefault, nullptr);
    ::setpgid(0, 0);
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != launch.parent) ::_exit(kNotStarted);  // Ambrelux died before the line above
    ::dup2(launch.devNull, STDIN_FILENO);
    ::dup2(launch.output, STDOUT_FILENO);
    ::dup2(launch.devNull, STDERR_FILENO);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::execve("/bin/sh", launch.argv.data(), launch.envp.data());
    ::_exit(kNotStarted);
  }
  ::pthread_sigmask(SIG_SETMASK, &saved, nullptr);
  return pid;
}

// Descriptors 0 to 2 would be overwritten by the child's own dup2 calls.
int aboveStandardStreams(int fd) {
  if (fd < 0 || fd > STDERR_FILENO) return fd;
  const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
  ::close(fd);
  return moved;
}

// The output, read in blocks and joined once at the end, so no more than the
// output and one block are ever held.
class Collected {
 public:
  enum class State { More, End, TooLarge };

  explicit Collected(std::size_t limit) : limit_(limit) {}

  // Reads what `fd` has to give now.
  State drain(int fd) {
    for (;;) {
      if (blocks_.empty() || used_ == blocks_.back().size()) grow();
      std::string& block = blocks_.back();
      // One byte past the bound tells a full output from one too large; the
      // comparison first, since that byte may not fit in a size_t.
      const std::size_t space = block.size() - used_, allowed = limit_ - total_;
      const std::size_t room = allowed < space ? allowed + 1 : space;
      const ssize_t n = ::read(fd, block.data() + used_, room);
      if (n > 0) {
        used_ += static_cast<std::size_t>(n);
        total_ += static_cast<std::size_t>(n);
        if (total_ > limit_) return State::TooLarge;
      } else if (n < 0 && errno == EINTR) {
        continue;
      } else {
        return n < 0 && errno == EAGAIN ? State::More : State::End;
      }
    }
  }

  std::string take() {
    if (blocks_.empty()) return {};
    blocks_.back().resize(used_);
    if (blocks_.size() == 1) {
      blocks_.front().shrink_to_fit();
      return std::move(blocks_.front());
    }
    std::string joined;
    joined.reserve(total_);
    for (std::string& block : blocks_) {
      joined += block;
      std::string().swap(block);
    }
    return joined;
  }

 private:
  // Blocks grow with the output, from 64 KiB to 4 MiB.
  void grow() {
    blocks_.emplace_back(std::clamp<std::size_t>(total_, 64 << 10, 4 << 20), '\0');
    used_ = 0;
  }

  std::size_t limit_;
  std::size_t total_ = 0;
  std::size_t used_ = 0;  // of the last block
  std::vector<std::string> blocks_;
};

// True once the keeper has ended; it stays unreaped, so its process group
// id can't be taken by another process before the group is killed.
bool ended(pid_t keeper) {
  siginfo_t info{};
  if (::waitid(P_PID, static_cast<id_t>(keeper), &info, WEXITED | WNOHANG | WNOWAIT) != 0) return true;
  return info.si_pid == keeper;
}

int exitStatusOf(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return kNotStarted;
}

}  // namespace

CommandOutput runRealCommand(const std::string& commandLine, const CommandBounds& bounds) {
  if (terminationRequested()) return {"", 128 + terminationSignal()};
  Launch launch(commandLine);
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) return {"", kNotStarted};
  const Fd output(aboveStandardStreams(ends[0]));
  Fd outputEnd(aboveStandardStreams(ends[1]));
  Fd devNull(aboveStandardStreams(::open("/dev/null", O_RDWR | O_CLOEXEC)));
  if (output.get() < 0 || outputEnd.get() < 0 || devNull.get() < 0) return {"", kNotStarted};
  launch.devNull = devNull.get();
  launch.output = outputEnd.get();

  const pid_t keeper = startKeeper(launch);
  outputEnd.reset();
  devNull.reset();
  if (keeper < 0) return {"", kNotStarted};
  ::fcntl(output.get(), F_SETFL, O_NONBLOCK);
  // Readable once the keeper ends (Linux 5.3 on); glibc 2.36's own wrapper
  // can't be linked from C++.
  const Fd exitNotice(static_cast<int>(::syscall(SYS_pidfd_open, keeper, 0)));

  enum class Ending { Exited, TimedOut, TooLarge, Terminated } ending = Ending::Exited;
  Collected collected(bounds.outputBytes);
  bool outputOpen = true;
  const auto drain = [&] {
    const Collected::State state = collected.drain(output.get());
    if (state == Collected::State::End) outputOpen = false;
    return state != Collected::State::TooLarge;
  };
  const auto deadline = std::chrono::steady_clock::now() + bounds.time;
  for (;;) {
    if (terminationRequested()) {
      ending = Ending::Terminated;
      break;
    }
    if (outputOpen && !drain()) {
      ending = Ending::TooLarge;
      break;
    }
    if (ended(keeper)) {
      // What the shell wrote before it ended is in the pipe by now; a child
      // left holding the output adds nothing more.
      if (outputOpen && !drain()) ending = Ending::TooLarge;
      break;
    }
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      ending = Ending::TimedOut;
      break;
    }
    int timeout = static_cast<int>(std::min<std::chrono::milliseconds::rep>(left.count(), INT_MAX));
    if (exitNotice.get() < 0) timeout = std::min(timeout, 10);  // no pidfd: look for the end now and then
    pollfd watched[] = {{outputOpen ? output.get() : -1, POLLIN, 0},
                        {exitNotice.get(), POLLIN, 0},
                        {terminationNotifier(), POLLIN, 0}};
    ::poll(watched, 3, timeout);
  }

  ::kill(-keeper, SIGKILL);
  int status = 0;
  pid_t reaped = 0;
  do reaped = ::waitpid(keeper, &status, 0);
  while (reaped < 0 && errno == EINTR);

  switch (ending) {
    case Ending::TimedOut:
      return {"", kTimedOut};
    case Ending::TooLarge:
      return {"", kOutputTooLarge};
    case Ending::Terminated:
      return {"", 128 + terminationSignal()};
    case Ending::Exited:
      break;
  }
  return {collected.take(), reaped == keeper ? exitStatusOf(status) : kNotStarted};
}

}  // namespace ambrelux
