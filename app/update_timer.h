// The repeating timer whose every firing refreshes the status window.
#pragma once

#include "app/framework/timer.h"

namespace ambrelux {

class updateTimerClass : public Timer {
 protected:
  // Refreshes the open status window, building one when none is open.
  void Event_Action() override;
};

}  // namespace ambrelux
