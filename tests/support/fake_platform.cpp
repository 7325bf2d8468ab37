#include "support/fake_platform.h"

#include <algorithm>

namespace ambrelux::testing {

FakePlatform::FakePlatform() { setPlatform(this); }

FakePlatform::~FakePlatform() { setPlatform(nullptr); }

void FakePlatform::setOutput(const std::string& commandLine, std::string output, int exitStatus) {
  standing_[commandLine] = CommandOutput{std::move(output), exitStatus};
}

void FakePlatform::queueOutput(const std::string& commandLine, std::string output, int exitStatus) {
  queued_[commandLine].push_back(CommandOutput{std::move(output), exitStatus});
}

int FakePlatform::runs(const std::string& commandLine) const {
  return static_cast<int>(std::count(commands.begin(), commands.end(), commandLine));
}

CommandOutput FakePlatform::runCommand(const std::string& commandLine) {
  commands.push_back(commandLine);
  if (auto q = queued_.find(commandLine); q != queued_.end() && !q->second.empty()) {
    CommandOutput out = std::move(q->second.front());
    q->second.pop_front();
    return out;
  }
  if (auto s = standing_.find(commandLine); s != standing_.end()) return s->second;
  return CommandOutput{"", 127};  // as the shell answers for a missing tool
}

void FakePlatform::showMessage(const std::string& text) {
  messages.push_back(text);
  if (whileMessageShows) whileMessageShows();
}

void FakePlatform::openUrl(const std::string& address) { urls.push_back(address); }

}  // namespace ambrelux::testing
