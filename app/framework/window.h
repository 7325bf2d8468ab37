// The framework's document window: a fixed-size content area laid out by
// design-time properties, controls reached by name, and the construction
// sequence Layout, CreateControls, AddMenuHandlers, then Open.
#pragma once

#include <QMainWindow>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/framework/controls.h"
#include "app/framework/properties.h"

class QShortcut;

namespace ambrelux {

class MenuBar;

class Window : public QMainWindow, public PropertyTarget {
 public:
  // `className` is what GetImplicitWindow finds the window by once open.
  explicit Window(std::string className);
  ~Window() override;

  const std::string& className() const { return className_; }

  // The framework constructor: runs the construction hooks, then counts the
  // window as open, shows it when its design-time Visible is true, and
  // delivers its Open event. Errors pass to the caller.
  void construct();

  ambrelux::MenuBar* MenuBar() const { return menuBar_.get(); }
  void setMenuBar(std::shared_ptr<ambrelux::MenuBar> menuBar);

  // The content area that control coordinates refer to.
  QWidget* content() const { return content_; }

  // Creates a control of kind T for this window, runs its constructor and
  // adds it under `name`.
  template <typename T>
  T& newControl(const std::string& name) {
    auto control = std::make_unique<T>();
    T& added = *control;
    static_cast<RectControl&>(added).Constructor(*this, name);
    AddControl(std::move(control));
    return added;
  }

  // The control added under that name, or nil.
  RectControl* controlByName(std::string_view name) const;
  template <typename T>
  T* control(std::string_view name) const {
    return dynamic_cast<T*>(controlByName(name));
  }
  const std::vector<std::unique_ptr<RectControl>>& controls() const { return controls_; }

  void applyProperty(const Property& property) override;

  // Makes Return and Enter push `button`, as a dialog's default button.
  void setDefaultButton(PushButton* button);

 protected:
  virtual void Layout() {}
  virtual void CreateControls() {}
  virtual void AddMenuHandlers(Window& window) { (void)window; }
  virtual void Event_Open() {}

  void closeEvent(QCloseEvent* event) override;

 private:
  void AddControl(std::unique_ptr<RectControl> control);
  void applyTabOrder();
  void applyWindowFlags();

  std::string className_;
  QWidget* content_;
  std::shared_ptr<ambrelux::MenuBar> menuBar_;
  std::vector<std::unique_ptr<RectControl>> controls_;
  std::vector<QShortcut*> defaultKeys_;
  bool visible_ = true;
  bool closeButton_ = true, minimizeButton_ = true, maximizeButton_ = true;
  bool resizeable_ = true, menuBarVisible_ = true, fullScreen_ = false;
  bool hasBackColor_ = false;
  Color backColor_{255, 255, 255};
};

}  // namespace ambrelux
