// Ambrelux's start-up as the executable runs it, ended as soon as the event
// loop has shown the window with its first refresh.
#include <QCoreApplication>
#include <QTimer>

#include "app/framework/runtime.h"
#include "app/startup.h"

int main() {
  ambrelux::RuntimeInit();
  // Queued before start-up, so it runs first thing in the loop; the events
  // that start-up posted (show, layout, paint) are drained before quitting.
  QTimer::singleShot(0, [] {
    QCoreApplication::processEvents();
    ambrelux::Quit(0);
  });
  ambrelux::Main();
  ambrelux::releaseGlobals();
  return ambrelux::RuntimeExit();
}
