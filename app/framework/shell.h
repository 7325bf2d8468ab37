// Command runner: runs one command line synchronously, then holds its
// complete standard output and exit status. Several commands may run in
// turn on one Shell; each replaces what the last one left. Once Ambrelux is
// ending no tool starts: the run fails with no output.
#pragma once

#include <cstdint>
#include <string>

namespace ambrelux {

class Shell {
 public:
  void Execute(const std::string& commandLine);
  const std::string& Result() const { return result_; }
  std::int32_t ErrorCode() const { return errorCode_; }
  // Frees the output held; Result is empty until the next Execute.
  void releaseResult() { std::string().swap(result_); }

 private:
  std::string result_;
  std::int32_t errorCode_ = 0;
};

}  // namespace ambrelux
