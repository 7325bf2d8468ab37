// Starting a child process the cheapest way we know (posix_spawn, no
// pipes) and waiting for it, with what the kernel says it cost.
#pragma once

#include <string>
#include <vector>

namespace ambrelux::bench {

struct ChildRun {
  int status = -1;        // wait status
  long maxRssKb = 0;      // peak resident set of the child
  double cpuSeconds = 0;  // user + system of the child and what it waited for
};

// Runs `argv[0]` (an absolute path) with `environment`, standard input,
// output and error on /dev/null, and waits for it.
ChildRun spawnAndWait(const std::vector<std::string>& argv, const std::vector<std::string>& environment);

// The command runner's environment for its children: ours, LC_ALL=C, and
// the tools folder after the PATH.
const std::vector<std::string>& toolEnvironment();

// "/bin/sh -c '<line> >/dev/null'" the way the command runner would run the
// line, but with its output discarded instead of read.
ChildRun runDiscarded(const std::string& commandLine);

// The same line spawned the same way, but its output read through a pipe
// as a command runner must: the least a runner can cost.
std::string runReading(const std::string& commandLine);

// user + system seconds of this process plus its waited-for children.
double cpuSecondsSelfAndChildren();

// Our own binaries beside this one (build-bench/bin).
std::string binaryBesideUs(const std::string& name);

}  // namespace ambrelux::bench
