// The framework's application class; the system derives its own from it.
#pragma once

#include <memory>
#include <string>

namespace ambrelux {

class MenuBar;

class Application {
 public:
  Application();
  virtual ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // True: closing the last window quits. False until someone sets it.
  bool AutoQuit() const;
  void setAutoQuit(bool value);

  // The application's short version text.
  std::string ShortVersion() const;

  ambrelux::MenuBar* MenuBar() const { return menuBar_.get(); }
  void setMenuBar(std::shared_ptr<ambrelux::MenuBar> menuBar) { menuBar_ = std::move(menuBar); }

  // How the framework delivers the Open event.
  void CallOpen() { Event_Open(); }

 protected:
  virtual void Event_Open() {}

 private:
  std::shared_ptr<ambrelux::MenuBar> menuBar_;
};

}  // namespace ambrelux
