#include <gtest/gtest.h>

#include "app/menu_bar1.h"

namespace ambrelux {
namespace {

struct Row {
  const char* menu;
  const char* name;
  const char* text;
  const char* shortcut;
  bool quits;
};

TEST(MenuBar1, HoldsTheFileAndEditMenusInOrder) {
  const Row rows[] = {
      {"FileMenu", "FileQuit", "Quit", "Cmd+Q", true},   {"EditMenu", "EditUndo", "&Undo", "Cmd+Z", false},
      {"EditMenu", "UntitledMenu0", "-", "", false},     {"EditMenu", "EditCut", "Cu&t", "Cmd+X", false},
      {"EditMenu", "EditCopy", "&Copy", "Cmd+C", false}, {"EditMenu", "EditPaste", "&Paste", "Cmd+V", false},
      {"EditMenu", "EditClear", "Clear", "", false},
  };
  const auto bar = MenuBar1::instance();
  ASSERT_EQ(bar->children().size(), 2u);
  EXPECT_EQ(bar->children()[0]->Name, "FileMenu");
  EXPECT_EQ(bar->children()[0]->Text, "&File");
  EXPECT_EQ(bar->children()[1]->Name, "EditMenu");
  EXPECT_EQ(bar->children()[1]->Text, "&Edit");
  std::map<std::string, std::size_t> position;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    MenuItem* menu = bar->Child(row.menu);
    ASSERT_NE(menu, nullptr);
    MenuItem* item = menu->Child(row.name);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(menu->children()[position[row.menu]++].get(), item) << "out of order";
    EXPECT_EQ(item->Text, row.text);
    EXPECT_EQ(item->KeyboardShortcut, row.shortcut);
    EXPECT_TRUE(item->AutoEnable);
    EXPECT_EQ(dynamic_cast<QuitMenuItem*>(item) != nullptr, row.quits);
    EXPECT_EQ(bar->Lookup(row.name), item);
    // Child looks only directly beneath.
    EXPECT_EQ(bar->Child(row.name), nullptr);
  }
  EXPECT_EQ(bar->Lookup("UntitledMenu1"), nullptr);
  MenuBar1::implicitInstance.reset();
}

TEST(MenuBar1, IsBuiltOnceAndShared) {
  const auto first = MenuBar1::instance();
  EXPECT_EQ(MenuBar1::instance(), first);
  MenuBar1::implicitInstance.reset();
  EXPECT_NE(MenuBar1::instance(), nullptr);
  MenuBar1::implicitInstance.reset();
}

}  // namespace
}  // namespace ambrelux
