// The one menu bar, shared by the application and the status window.
#pragma once

#include <memory>

#include "app/framework/menus.h"

namespace ambrelux {

class MenuBar1 : public MenuBar {
 public:
  MenuBar1();  // builds the File menu, then the Edit menu

  // The single instance, built on the first call.
  static std::shared_ptr<MenuBar1> instance();

  // The shared instance: nil until the first call of MenuBar1(), released
  // at exit.
  static std::shared_ptr<MenuBar1> implicitInstance;

 private:
  void Untitled1();  // File: Quit
  void Untitled2();  // Edit: Undo, separator, Cut, Copy, Paste, Clear
};

}  // namespace ambrelux
