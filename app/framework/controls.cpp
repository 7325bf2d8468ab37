#include "app/framework/controls.h"

#include <QApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <algorithm>

#include "app/framework/runtime.h"
#include "app/framework/window.h"

namespace ambrelux {

namespace {

QColor toQColor(const Color& c) { return QColor(c.red, c.green, c.blue); }

QString qs(const std::string& text) { return QString::fromStdString(text); }

// Qt's own limit on a widget's size.
constexpr int kMaxExtent = QWIDGETSIZE_MAX;

int clampExtent(int value) { return std::clamp(value, 0, kMaxExtent); }

// Larger than any caption can use; fitting a caption steps down a pixel at
// a time from its size, and 3/4 of it must not overflow.
constexpr int kMaxPixelSize = 1024;

// Design-time sizes are points on a 72 dpi screen, so they become pixel
// sizes: a 12-point caption then fits its 20-pixel row as laid out.
QFont toQFont(const TextStyle& style) {
  QFont font = QApplication::font();
  if (!style.family.empty() && style.family != "System") font.setFamily(qs(style.family));
  if (style.size > 0) font.setPixelSize(std::min(style.size, kMaxPixelSize));
  font.setBold(style.bold);
  font.setItalic(style.italic);
  font.setUnderline(style.underline);
  return font;
}

class RectangleWidget : public QWidget {
 public:
  using QWidget::QWidget;
  Color fill{255, 255, 255}, topLeft{0, 0, 0}, bottomRight{0, 0, 0};
  int border = 1;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, toQColor(fill));
    for (int i = 0; i < border && 2 * i < std::min(r.width(), r.height()); ++i) {
      const QRect edge = r.adjusted(i, i, -i, -i);
      p.setPen(toQColor(topLeft));
      p.drawLine(edge.topLeft(), edge.topRight());
      p.drawLine(edge.topLeft(), edge.bottomLeft());
      p.setPen(toQColor(bottomRight));
      p.drawLine(edge.bottomLeft(), edge.bottomRight());
      p.drawLine(edge.topRight(), edge.bottomRight());
    }
  }
};

class SeparatorWidget : public QFrame {
 public:
  explicit SeparatorWidget(QWidget* parent) : QFrame(parent) { setFrameShadow(QFrame::Sunken); }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    setFrameShape(width() >= height() ? QFrame::HLine : QFrame::VLine);
    QFrame::resizeEvent(event);
  }
};

class CanvasWidget : public QWidget {
 public:
  using QWidget::QWidget;
  const Picture* backdrop = nullptr;

 protected:
  void paintEvent(QPaintEvent*) override {
    if (!backdrop || backdrop->pixmap.isNull()) return;
    QPainter p(this);
    // From the left as far as the width reaches; repeated if wider.
    p.drawTiledPixmap(QRect(0, 0, width(), std::min(height(), backdrop->pixmap.height())), backdrop->pixmap);
  }
};

class ChasingArrowsWidget : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(palette().color(QPalette::WindowText), 1.5));
    const QRectF r = QRectF(rect()).adjusted(2, 2, -2, -2);
    p.drawArc(r, 30 * 16, 120 * 16);
    p.drawArc(r, 210 * 16, 120 * 16);
  }
};

}  // namespace

bool TextStyle::apply(const Property& property) {
  const std::string& name = property.name;
  if (name == "TextFont") family = std::get<std::string>(property.value);
  else if (name == "TextSize") size = std::get<std::int32_t>(property.value);
  else if (name == "Bold") bold = std::get<bool>(property.value);
  else if (name == "Italic") italic = std::get<bool>(property.value);
  else if (name == "Underline") underline = std::get<bool>(property.value);
  else return false;
  return true;
}

RectControl::~RectControl() = default;

void RectControl::Constructor(Window& window, std::string name) {
  window_ = &window;
  name_ = std::move(name);
  // Shown with its window; showing it now would size it to its contents
  // before its geometry is known, a text layout per label for nothing.
  widget_ = createWidget(window.content());
  widget_->setObjectName(qs(name_));
}

void RectControl::setVisible(bool value) {
  visible_ = value;
  if (widget_) widget_->setVisible(value);
}

void RectControl::setWidth(int value) {
  width_ = clampExtent(value);
  placeWidget();
}

void RectControl::placeWidget() {
  if (!widget_) return;
  const int originLeft = container_ ? container_->left_ : 0;
  const int originTop = container_ ? container_->top_ : 0;
  widget_->setGeometry(left_ - originLeft, top_ - originTop, width_, height_);
  resized();
}

void RectControl::setContainer(const std::string& parentName) {
  parentName_ = parentName;
  RectControl* container = parentName.empty() ? nullptr : window_->controlByName(parentName);
  // Inside itself, or inside a control nested in it, the control would close
  // a ring of parents that Qt walks without end: it stays in the window.
  for (const RectControl* outer = container; outer; outer = outer->container_)
    if (outer == this) container = nullptr;
  container_ = container;
  widget_->setParent(container ? container->widget() : window_->content());
  placeWidget();
  widget_->setVisible(visible_);  // reparenting hides a widget
}

void RectControl::applyProperty(const Property& property) {
  const std::string& name = property.name;
  if (const auto* i = std::get_if<std::int32_t>(&property.value)) {
    if (name == "Left") left_ = *i;
    else if (name == "Top") top_ = *i;
    else if (name == "Width") width_ = clampExtent(*i);
    else if (name == "Height") height_ = clampExtent(*i);
    else if (name == "TabIndex") tabIndex_ = *i;
    else return;
    placeWidget();
  } else if (const auto* b = std::get_if<bool>(&property.value)) {
    if (name == "Visible") setVisible(*b);
    else if (name == "Enabled") widget_->setEnabled(*b);
  } else if (const auto* s = std::get_if<std::string>(&property.value)) {
    if (name == "HelpTag") {
      helpTag_ = *s;
      widget_->setToolTip(qs(*s));
      widget_->setAccessibleDescription(qs(*s));
    } else if (name == "InitialParent") {
      setContainer(*s);
    }
  }
}

// StaticText

QWidget* StaticText::createWidget(QWidget* parent) {
  auto* label = new QLabel(parent);
  // Tool output is shown as text, never interpreted as markup.
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return label;
}

QLabel* StaticText::label() const { return static_cast<QLabel*>(widget()); }

std::string StaticText::Text() const { return label()->text().toStdString(); }

void StaticText::setText(const std::string& text) {
  label()->setText(qs(text));
  fitFont();
}

void StaticText::applyProperties(const std::vector<Property>& properties) {
  settling_ = true;
  RectControl::applyProperties(properties);
  settling_ = false;
  fitFont();
}

void StaticText::fitFont() {
  if (settling_) return;
  QFont font = toQFont(style_);
  if (!label()->wordWrap() && font.pixelSize() > 0) {
    const QString text = label()->text();
    const int smallest = std::max(1, font.pixelSize() * 3 / 4);
    if (sharedSize_ > 0) font.setPixelSize(std::clamp(sharedSize_, smallest, font.pixelSize()));
    while (font.pixelSize() > smallest && QFontMetrics(font).horizontalAdvance(text) > Width())
      font.setPixelSize(font.pixelSize() - 1);
  }
  label()->setFont(font);
}

void fitCaptionsTogether(std::span<StaticText* const> captions) {
  int shared = kMaxPixelSize;
  for (StaticText* caption : captions) {
    caption->sharedSize_ = 0;
    caption->fitFont();
    if (const int size = caption->label()->font().pixelSize(); size > 0) shared = std::min(shared, size);
  }
  for (StaticText* caption : captions) {
    caption->sharedSize_ = shared;
    caption->fitFont();
  }
}

void StaticText::applyProperty(const Property& property) {
  if (style_.apply(property)) return fitFont();
  const std::string& name = property.name;
  if (name == "Text") return setText(std::get<std::string>(property.value));
  if (name == "Multiline") {
    label()->setWordWrap(std::get<bool>(property.value));
    return fitFont();
  }
  if (name == "TextAlign") {
    const auto align = std::get<std::int32_t>(property.value);
    const Qt::Alignment horizontal = align == 1   ? Qt::AlignHCenter
                                     : align == 2 ? Qt::AlignRight
                                                  : Qt::AlignLeft;
    return label()->setAlignment(horizontal | Qt::AlignVCenter);
  }
  if (name == "TextColor") {
    QPalette palette = label()->palette();
    palette.setColor(QPalette::WindowText, toQColor(std::get<Color>(property.value)));
    return label()->setPalette(palette);
  }
  RectControl::applyProperty(property);
}

// Rectangle

QWidget* Rectangle::createWidget(QWidget* parent) { return new RectangleWidget(parent); }

void Rectangle::applyProperty(const Property& property) {
  auto* rect = static_cast<RectangleWidget*>(widget());
  if (const auto* c = std::get_if<Color>(&property.value)) {
    if (property.name == "FillColor") rect->fill = *c;
    else if (property.name == "TopLeftColor") rect->topLeft = *c;
    else if (property.name == "BottomRightColor") rect->bottomRight = *c;
    rect->update();
    return;
  }
  if (property.name == "BorderWidth") {
    rect->border = std::max(0, std::get<std::int32_t>(property.value));
    rect->update();
    return;
  }
  RectControl::applyProperty(property);
}

// Separator, ChasingArrows

QWidget* Separator::createWidget(QWidget* parent) { return new SeparatorWidget(parent); }

QWidget* ChasingArrows::createWidget(QWidget* parent) { return new ChasingArrowsWidget(parent); }

// Canvas

QWidget* Canvas::createWidget(QWidget* parent) {
  auto* canvas = new CanvasWidget(parent);
  canvas->setFocusPolicy(Qt::NoFocus);
  return canvas;
}

void Canvas::setBackdrop(std::shared_ptr<Picture> picture) {
  backdrop_ = std::move(picture);
  auto* canvas = static_cast<CanvasWidget*>(widget());
  canvas->backdrop = backdrop_.get();
  canvas->update();
}

// PushButton

QWidget* PushButton::createWidget(QWidget* parent) {
  auto* button = new QPushButton(parent);
  button->setAutoDefault(false);
  QObject::connect(button, &QPushButton::clicked, [this] {
    if (action_) deliverEvent(action_);
  });
  return button;
}

QPushButton* PushButton::button() const { return static_cast<QPushButton*>(widget()); }

std::string PushButton::Caption() const { return button()->text().toStdString(); }

void PushButton::push() { button()->click(); }

void PushButton::applyProperty(const Property& property) {
  if (style_.apply(property)) return button()->setFont(toQFont(style_));
  const std::string& name = property.name;
  if (name == "Caption") return button()->setText(qs(std::get<std::string>(property.value)));
  if (name == "Default") {
    default_ = std::get<bool>(property.value);
    button()->setDefault(default_);
    if (default_) window()->setDefaultButton(this);
    return;
  }
  RectControl::applyProperty(property);
}

void InstallInstanceEventHandler(PushButton& button, const std::string& event,
                                 std::function<void()> handler) {
  if (event == "Action") button.action_ = std::move(handler);
}

}  // namespace ambrelux
