// For tests that run the real tools: commands go to the real command runner
// (/bin/sh, the tools folder after the PATH), while message boxes and
// addresses are only recorded, so a headless test never blocks on a box.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>

#include "support/fake_platform.h"

namespace ambrelux::testing {

class RealCommandPlatform : public FakePlatform {
 public:
  CommandOutput runCommand(const std::string& commandLine) override {
    commands.push_back(commandLine);
    return runRealCommand(commandLine, bounds);
  }
  CommandBounds bounds;  // a test may shorten them
};

// Sets (or, with std::nullopt, removes) an environment variable for the
// object's life; the runner hands the environment of the moment to the tools.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = ::getenv(name)) saved_ = old;
    set(value);
  }
  ~ScopedEnv() { set(saved_); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  void set(const std::optional<std::string>& value) {
    if (value) {
      ::setenv(name_, value->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }
  const char* name_;
  std::optional<std::string> saved_;
};

// A new empty folder, removed with all it holds.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ambrelux-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace ambrelux::testing
