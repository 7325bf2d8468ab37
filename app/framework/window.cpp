#include "app/framework/window.h"

#include <QCloseEvent>
#include <QLayout>
#include <QMenuBar>
#include <QShortcut>
#include <algorithm>

#include "app/framework/menus.h"
#include "app/framework/runtime_internal.h"

namespace ambrelux {

Window::Window(std::string className) : className_(std::move(className)), content_(new QWidget(this)) {
  setObjectName(QString::fromStdString(className_));
  content_->setObjectName(QStringLiteral("content"));
  setCentralWidget(content_);
  internal::windowCreated(this);
}

Window::~Window() {
  internal::windowDestroyed(this);
  // The controls' widgets belong to Qt; drop our wrappers first so none
  // outlives its widget.
  controls_.clear();
}

void Window::construct() {
  Layout();
  CreateControls();
  AddMenuHandlers(*this);
  applyTabOrder();
  applyWindowFlags();
  internal::windowOpened(this);
  if (visible_) fullScreen_ ? showFullScreen() : show();
  Event_Open();
}

void Window::setMenuBar(std::shared_ptr<ambrelux::MenuBar> menuBar) {
  menuBar_ = std::move(menuBar);
  QMainWindow::setMenuBar(menuBar_ ? menuBar_->createQMenuBar(this) : nullptr);
}

void Window::AddControl(std::unique_ptr<RectControl> control) { controls_.push_back(std::move(control)); }

RectControl* Window::controlByName(std::string_view name) const {
  for (const auto& control : controls_)
    if (control->Name() == name) return control.get();
  return nullptr;
}

void Window::applyProperty(const Property& property) {
  const std::string& name = property.name;
  if (const auto* i = std::get_if<std::int32_t>(&property.value)) {
    if (name == "Width") content_->setFixedWidth(std::clamp(*i, 0, QWIDGETSIZE_MAX));
    else if (name == "Height") content_->setFixedHeight(std::clamp(*i, 0, QWIDGETSIZE_MAX));
  } else if (const auto* b = std::get_if<bool>(&property.value)) {
    if (name == "Visible") visible_ = *b;
    else if (name == "CloseButton") closeButton_ = *b;
    else if (name == "MinimizeButton") minimizeButton_ = *b;
    else if (name == "MaximizeButton") maximizeButton_ = *b;
    else if (name == "Resizeable") resizeable_ = *b;
    else if (name == "FullScreen") fullScreen_ = *b;
    else if (name == "MenuBarVisible") menuBarVisible_ = *b;
    else if (name == "HasBackColor") hasBackColor_ = *b;
  } else if (const auto* c = std::get_if<Color>(&property.value)) {
    if (name == "BackColor") backColor_ = *c;
  } else if (name == "Title") {
    setWindowTitle(QString::fromStdString(std::get<std::string>(property.value)));
  }
}

void Window::applyWindowFlags() {
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (closeButton_) flags |= Qt::WindowCloseButtonHint;
  if (minimizeButton_) flags |= Qt::WindowMinimizeButtonHint;
  if (maximizeButton_ && resizeable_) flags |= Qt::WindowMaximizeButtonHint;
  setWindowFlags(flags);
  // The window takes the size of its content and menu bar, and keeps it.
  if (!resizeable_) layout()->setSizeConstraint(QLayout::SetFixedSize);
  if (QMenuBar* bar = QMainWindow::menuWidget() ? menuBar() : nullptr) bar->setVisible(menuBarVisible_);
  if (hasBackColor_) {
    QPalette palette = content_->palette();
    palette.setColor(QPalette::Window, QColor(backColor_.red, backColor_.green, backColor_.blue));
    content_->setPalette(palette);
    content_->setAutoFillBackground(true);
  }
}

void Window::applyTabOrder() {
  std::vector<RectControl*> focusable;
  for (const auto& control : controls_)
    if (control->widget()->focusPolicy() & Qt::TabFocus) focusable.push_back(control.get());
  std::stable_sort(focusable.begin(), focusable.end(),
                   [](const RectControl* a, const RectControl* b) { return a->TabIndex() < b->TabIndex(); });
  for (std::size_t i = 1; i < focusable.size(); ++i)
    QWidget::setTabOrder(focusable[i - 1]->widget(), focusable[i]->widget());
}

void Window::setDefaultButton(PushButton* button) {
  for (QShortcut* key : defaultKeys_) delete key;
  defaultKeys_.clear();
  for (int key : {int(Qt::Key_Return), int(Qt::Key_Enter)}) {
    auto* shortcut = new QShortcut(QKeySequence(key), this);
    QObject::connect(shortcut, &QShortcut::activated, [button] { button->push(); });
    defaultKeys_.push_back(shortcut);
  }
}

void Window::closeEvent(QCloseEvent* event) {
  QMainWindow::closeEvent(event);
  if (event->isAccepted()) internal::windowClosed(this);
}

}  // namespace ambrelux
