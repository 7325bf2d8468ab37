// Bookkeeping shared by the framework's own files; not for the system.
#pragma once

namespace ambrelux {

class Window;

namespace internal {

void windowCreated(Window* window);
void windowDestroyed(Window* window);
void windowOpened(Window* window);
// Counts the window as closed and frees it once no event handler runs.
void windowClosed(Window* window);

}  // namespace internal
}  // namespace ambrelux
