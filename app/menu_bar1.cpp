#include "app/menu_bar1.h"

#include <optional>
#include <string>

#include "app/framework/exceptions.h"

namespace ambrelux {

namespace {

// One row of the menu table: created, named, enabled automatically, given
// its text and (unless nullopt) its shortcut, then appended to `parent`.
template <typename Item>
void appendItem(MenuItem& parent, const char* name, const char* text, std::optional<std::string> shortcut) {
  auto item = std::make_unique<Item>();
  item->Name = name;
  item->AutoEnable = true;
  item->Text = text;
  if (shortcut) item->KeyboardShortcut = *shortcut;
  parent.Append(std::move(item));
}

}  // namespace

std::shared_ptr<MenuBar1> MenuBar1::implicitInstance;

MenuBar1::MenuBar1() {
  Untitled1();
  Untitled2();
}

void MenuBar1::Untitled1() {
  appendItem<MenuItem>(*this, "FileMenu", "&File", "");
  appendItem<QuitMenuItem>(*requireObject(Child("FileMenu")), "FileQuit", "Quit", "Cmd+Q");
}

void MenuBar1::Untitled2() {
  appendItem<MenuItem>(*this, "EditMenu", "&Edit", "");
  auto editMenu = [this] { return requireObject(Child("EditMenu")); };
  appendItem<MenuItem>(*editMenu(), "EditUndo", "&Undo", "Cmd+Z");
  appendItem<MenuItem>(*editMenu(), "UntitledMenu0", "-", std::nullopt);
  appendItem<MenuItem>(*editMenu(), "EditCut", "Cu&t", "Cmd+X");
  appendItem<MenuItem>(*editMenu(), "EditCopy", "&Copy", "Cmd+C");
  appendItem<MenuItem>(*editMenu(), "EditPaste", "&Paste", "Cmd+V");
  appendItem<MenuItem>(*editMenu(), "EditClear", "Clear", "");
}

std::shared_ptr<MenuBar1> MenuBar1::instance() {
  // Stored only once built, so a failed build leaves it nil for a retry.
  if (!implicitInstance) implicitInstance = std::make_shared<MenuBar1>();
  return implicitInstance;
}

}  // namespace ambrelux
