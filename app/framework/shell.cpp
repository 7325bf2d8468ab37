#include "app/framework/shell.h"

#include "app/framework/platform.h"
#include "app/framework/runtime.h"

namespace ambrelux {

void Shell::Execute(const std::string& commandLine) {
  if (quitRequested()) {  // a tool started now would only delay the end
    releaseResult();
    errorCode_ = kNotStarted;
    return;
  }
  CommandOutput run = platform().runCommand(commandLine);
  result_ = std::move(run.output);
  errorCode_ = run.exitStatus;
}

}  // namespace ambrelux
