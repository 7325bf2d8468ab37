#include "app/update_timer.h"

#include "app/framework/exceptions.h"
#include "status_window/status_window.h"

namespace ambrelux {

void updateTimerClass::Event_Action() {
  requireObject(statusWindow::instance(), "no status window")->updateStatus();
}

}  // namespace ambrelux
