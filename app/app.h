// The application object and the declared document type.
#pragma once

#include <memory>

#include "app/framework/application.h"
#include "app/framework/file_type.h"
#include "app/framework/timer.h"

namespace ambrelux {

class App : public Application {
 public:
  // The registered application object as an App, or nil.
  static App* instance();

  // The refresh timer (an updateTimerClass), stored by the status window
  // when it opens; nil until then. Released with the application object.
  std::unique_ptr<Timer> updateTimer;

 protected:
  // Closing the last window ends the run.
  void Event_Open() override;
};

// The declared document types. Nothing reads them; they are declared and
// kept for the run.
struct FileTypes {
  static std::unique_ptr<FileType> pText;
};

// Creates FileTypes::pText: "text", no extensions, "TEXT", "R*ch".
void InitFileTypes();

}  // namespace ambrelux
