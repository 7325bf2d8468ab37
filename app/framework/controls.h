// The controls a window is built from. Each is a real Qt widget, named by
// its control name (objectName), placed in window-content coordinates even
// when nested in another control, and stacked above the controls created
// before it.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "app/framework/picture.h"
#include "app/framework/properties.h"

class QLabel;
class QPushButton;

namespace ambrelux {

class Window;

class RectControl : public PropertyTarget {
 public:
  ~RectControl() override;
  RectControl(const RectControl&) = delete;
  RectControl& operator=(const RectControl&) = delete;

  const std::string& Name() const { return name_; }
  QWidget* widget() const { return widget_; }
  Window* window() const { return window_; }

  // Visible is the control's own flag; a control nested in a hidden one
  // keeps its flag but is not shown.
  bool Visible() const { return visible_; }
  void setVisible(bool value);

  // Pixels. A width below 0 shows as 0 and never reaches Qt.
  int Width() const { return width_; }
  void setWidth(int value);
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Height() const { return height_; }
  int TabIndex() const { return tabIndex_; }
  const std::string& HelpTag() const { return helpTag_; }
  const std::string& InitialParent() const { return parentName_; }

  void applyProperty(const Property& property) override;

 protected:
  RectControl() = default;
  // Creates the widget; run once by Constructor.
  virtual QWidget* createWidget(QWidget* parent) = 0;
  // Called after the control's geometry changed.
  virtual void resized() {}

 private:
  friend class Window;
  // The framework constructor: makes the widget inside the window's content.
  void Constructor(Window& window, std::string name);
  void placeWidget();
  void setContainer(const std::string& parentName);

  std::string name_;
  Window* window_ = nullptr;
  QPointer<QWidget> widget_;
  RectControl* container_ = nullptr;
  std::string parentName_;
  std::string helpTag_;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0, tabIndex_ = 0;
  bool visible_ = true;
};

// Font settings of a control with text: family ("System" is the
// platform's interface font), size, and style.
struct TextStyle {
  std::string family = "System";
  int size = 12;
  bool bold = false, italic = false, underline = false;
  // Takes the property if it is one of these; false otherwise.
  bool apply(const Property& property);
};

// A label.
class StaticText : public RectControl {
 public:
  std::string Text() const;
  void setText(const std::string& text);
  void applyProperty(const Property& property) override;
  QLabel* label() const;
  void applyProperties(const std::vector<Property>& properties) override;

 protected:
  QWidget* createWidget(QWidget* parent) override;
  void resized() override { fitFont(); }

 private:
  friend void fitCaptionsTogether(std::span<StaticText* const> captions);
  // A single-line caption never clips: where the interface font is wider
  // than the one the layout was drawn with, the text shrinks a little.
  void fitFont();
  TextStyle style_;
  int sharedSize_ = 0;     // pixel size a set of captions agreed on; 0 none
  bool settling_ = false;  // inside applyProperties: fit once, at the end
};

// Captions that read as one set, such as the cells of a panel, share one
// text size: the largest at which each of them fits, so none looks smaller
// than its neighbour only because its text is longer.
void fitCaptionsTogether(std::span<StaticText* const> captions);

// A filled rectangle with a one-pixel (or wider) border.
class Rectangle : public RectControl {
 public:
  void applyProperty(const Property& property) override;

 protected:
  QWidget* createWidget(QWidget* parent) override;
};

// A sunken line along its longer side.
class Separator : public RectControl {
 protected:
  QWidget* createWidget(QWidget* parent) override;
};

// A picture area showing its backdrop from the left as far as its width.
class Canvas : public RectControl {
 public:
  std::shared_ptr<Picture> Backdrop() const { return backdrop_; }
  void setBackdrop(std::shared_ptr<Picture> picture);

 protected:
  QWidget* createWidget(QWidget* parent) override;

 private:
  std::shared_ptr<Picture> backdrop_;
};

// A busy indicator.
class ChasingArrows : public RectControl {
 protected:
  QWidget* createWidget(QWidget* parent) override;
};

// A push button whose click delivers its Action.
class PushButton : public RectControl {
 public:
  std::string Caption() const;
  bool Default() const { return default_; }
  void applyProperty(const Property& property) override;
  QPushButton* button() const;
  // Clicks it, as the user would.
  void push();

 protected:
  QWidget* createWidget(QWidget* parent) override;

 private:
  friend void InstallInstanceEventHandler(PushButton&, const std::string&, std::function<void()>);
  std::function<void()> action_;
  TextStyle style_;
  bool default_ = false;
};

// Binds a control's named event ("Action") to a handler of the window.
void InstallInstanceEventHandler(PushButton& button, const std::string& event, std::function<void()> handler);

}  // namespace ambrelux
