// Menus as data: a tree of items that each window turns into its own Qt
// menu bar. "&" in a Text marks the mnemonic, "-" makes a separator, and a
// "Cmd+" shortcut is the platform's command key (Ctrl here).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QMenuBar;
class QMenu;
class QWidget;

namespace ambrelux {

class MenuItem {
 public:
  MenuItem() = default;
  virtual ~MenuItem() = default;
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;

  std::string Name;
  std::string Text;
  std::string KeyboardShortcut;
  bool AutoEnable = false;

  void Append(std::unique_ptr<MenuItem> item);
  // The item of that name directly beneath, or nil.
  MenuItem* Child(std::string_view name) const;
  // The item of that name anywhere beneath, or nil.
  MenuItem* Lookup(std::string_view name) const;
  const std::vector<std::unique_ptr<MenuItem>>& children() const { return children_; }

  bool isSeparator() const { return Text == "-"; }

 protected:
  friend class MenuBar;
  // What choosing the item does; the framework's edit items act on the
  // focused text field, other items do nothing of their own.
  virtual void choose() const;

 private:
  std::vector<std::unique_ptr<MenuItem>> children_;
};

// Choosing it quits the application.
class QuitMenuItem : public MenuItem {
 protected:
  void choose() const override;
};

class MenuBar : public MenuItem {
 public:
  // A Qt menu bar showing this tree, owned by `parent`.
  QMenuBar* createQMenuBar(QWidget* parent) const;

 private:
  void fillMenu(QMenu* menu, const MenuItem& item) const;
};

}  // namespace ambrelux
