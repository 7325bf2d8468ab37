// Recording stand-in for the outside world: canned command output, and a
// record of every command run, message shown and address opened.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/framework/platform.h"
#include "support/test_data.h"

namespace ambrelux::testing {

class FakePlatform : public Platform {
 public:
  FakePlatform();            // installs itself as the platform
  ~FakePlatform() override;  // restores the real one
  FakePlatform(const FakePlatform&) = delete;
  FakePlatform& operator=(const FakePlatform&) = delete;

  // Every later run of `commandLine` answers this (until changed).
  void setOutput(const std::string& commandLine, std::string output, int exitStatus = 0);
  // The next run of `commandLine` answers this, ahead of setOutput's answer.
  void queueOutput(const std::string& commandLine, std::string output, int exitStatus = 0);
  // Runs of `commandLine` so far.
  int runs(const std::string& commandLine) const;

  CommandOutput runCommand(const std::string& commandLine) override;
  void showMessage(const std::string& text) override;
  void openUrl(const std::string& address) override;

  std::vector<std::string> commands;  // every command line run, in order
  std::vector<std::string> messages;  // every message box shown
  std::vector<std::string> urls;      // every address opened

  // Runs while a message box is open, before it is dismissed.
  std::function<void()> whileMessageShows;

 private:
  std::map<std::string, CommandOutput> standing_;
  std::map<std::string, std::deque<CommandOutput>> queued_;
};

}  // namespace ambrelux::testing
