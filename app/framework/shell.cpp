#include "app/framework/shell.h"

#include "app/framework/platform.h"

namespace ambrelux {

void Shell::Execute(const std::string& commandLine) {
  CommandOutput run = platform().runCommand(commandLine);
  result_ = std::move(run.output);
  errorCode_ = run.exitStatus;
}

}  // namespace ambrelux
