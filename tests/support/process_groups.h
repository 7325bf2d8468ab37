// Tools that note their process group, and a look at whether anything of a
// group is still alive.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace ambrelux::testing {

// The start of a tool script that appends its process group's id to
// "<the script>.group", one line written at once.
inline const char* const kNoteGroup =
    "#!/bin/sh\n"
    "read -r _ _ _ _ group _ < /proc/$$/stat\n"
    "echo \"$group\" >> \"$0.group\"\n";

// The groups noted by the tool script at `tool` so far.
inline std::vector<pid_t> notedGroups(const std::filesystem::path& tool) {
  std::vector<pid_t> groups;
  std::ifstream in(tool.string() + ".group");
  for (pid_t group = 0; in >> group;) groups.push_back(group);
  return groups;
}

// Processes of the group that still run; zombies count as gone, since only
// their parent (perhaps init) can remove them.
inline int liveMembers(pid_t group) {
  int live = 0;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    if (!std::getline(stat, line)) continue;
    // "pid (name) state ppid pgrp ...": the name may hold blanks and ")".
    const std::size_t close = line.rfind(')');
    if (close == std::string::npos) continue;
    char state = 0;
    long parent = 0, memberOf = 0;
    if (std::sscanf(line.c_str() + close + 1, " %c %ld %ld", &state, &parent, &memberOf) == 3 &&
        memberOf == group && state != 'Z' && state != 'X')
      ++live;
  }
  return live;
}

// Asks `done` every few milliseconds until it answers true, for up to
// `patience`; false when it never did.
template <typename Done>
bool waitUntil(Done done, std::chrono::milliseconds patience) {
  for (const auto until = std::chrono::steady_clock::now() + patience; !done();) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// True once no process of the group runs; a killed process takes a moment
// to go, so this waits up to `patience`.
inline bool groupEnds(pid_t group, std::chrono::milliseconds patience = std::chrono::seconds(5)) {
  return waitUntil([group] { return liveMembers(group) == 0; }, patience);
}

}  // namespace ambrelux::testing
