#include "app/framework/menus.h"

#include <QApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMetaObject>
#include <QString>
#include <array>

#include "app/framework/runtime.h"

namespace ambrelux {

namespace {

// The framework's standard edit items, by name, and the slot each invokes
// on the focused text field. Windows without text fields show them
// disabled.
struct EditCommand {
  std::string_view itemName;
  const char* slot;
};
constexpr std::array<EditCommand, 5> kEditCommands{{
    {"EditUndo", "undo"},
    {"EditCut", "cut"},
    {"EditCopy", "copy"},
    {"EditPaste", "paste"},
    {"EditClear", "del"},
}};

const EditCommand* editCommand(std::string_view itemName) {
  for (const auto& command : kEditCommands)
    if (command.itemName == itemName) return &command;
  return nullptr;
}

QLineEdit* focusedTextField() { return qobject_cast<QLineEdit*>(QApplication::focusWidget()); }

QKeySequence shortcutFor(const std::string& text) {
  QString portable = QString::fromStdString(text);
  portable.replace(QStringLiteral("Cmd+"), QStringLiteral("Ctrl+"));
  return QKeySequence::fromString(portable, QKeySequence::PortableText);
}

}  // namespace

void MenuItem::Append(std::unique_ptr<MenuItem> item) { children_.push_back(std::move(item)); }

MenuItem* MenuItem::Child(std::string_view name) const {
  for (const auto& child : children_)
    if (child->Name == name) return child.get();
  return nullptr;
}

MenuItem* MenuItem::Lookup(std::string_view name) const {
  for (const auto& child : children_) {
    if (child->Name == name) return child.get();
    if (MenuItem* found = child->Lookup(name)) return found;
  }
  return nullptr;
}

void MenuItem::choose() const {
  if (const EditCommand* command = editCommand(Name))
    if (QLineEdit* field = focusedTextField()) QMetaObject::invokeMethod(field, command->slot);
}

void QuitMenuItem::choose() const { Quit(); }

QMenuBar* MenuBar::createQMenuBar(QWidget* parent) const {
  auto* bar = new QMenuBar(parent);
  bar->setObjectName(QString::fromStdString(Name.empty() ? "MenuBar" : Name));
  for (const auto& menu : children()) {
    QMenu* qmenu = bar->addMenu(QString::fromStdString(menu->Text));
    qmenu->setObjectName(QString::fromStdString(menu->Name));
    fillMenu(qmenu, *menu);
  }
  return bar;
}

void MenuBar::fillMenu(QMenu* menu, const MenuItem& item) const {
  for (const auto& child : item.children()) {
    if (child->isSeparator()) {
      menu->addSeparator()->setObjectName(QString::fromStdString(child->Name));
      continue;
    }
    if (!child->children().empty()) {
      QMenu* sub = menu->addMenu(QString::fromStdString(child->Text));
      sub->setObjectName(QString::fromStdString(child->Name));
      fillMenu(sub, *child);
      continue;
    }
    QAction* action = menu->addAction(QString::fromStdString(child->Text));
    action->setObjectName(QString::fromStdString(child->Name));
    action->setShortcut(shortcutFor(child->KeyboardShortcut));
    if (dynamic_cast<const QuitMenuItem*>(child.get())) action->setMenuRole(QAction::QuitRole);
    if (editCommand(child->Name)) action->setEnabled(false);
    const MenuItem* chosen = child.get();
    QObject::connect(action, &QAction::triggered, [chosen] { deliverEvent([chosen] { chosen->choose(); }); });
  }
  // Enabling follows what the item can act on when the menu opens.
  QObject::connect(menu, &QMenu::aboutToShow, [menu, &item] {
    for (QAction* action : menu->actions()) {
      const MenuItem* child = item.Child(action->objectName().toStdString());
      if (!child || !child->AutoEnable || child->isSeparator()) continue;
      const EditCommand* command = editCommand(child->Name);
      action->setEnabled(!command || (focusedTextField() && !focusedTextField()->isReadOnly()));
    }
  });
}

}  // namespace ambrelux
