#include "status_window/status_window.h"

#include <vector>

#include "app/framework/runtime.h"
#include "app/menu_bar1.h"
#include "status_window/bar_pictures.h"
#include "status_window/layout_table.h"

namespace ambrelux {

statusWindow::statusWindow() : Window(kClassName) {}

statusWindow::~statusWindow() {
  sh.reset();
  batInfo.reset();
}

statusWindow* statusWindow::instance() {
  Window* open = GetImplicitWindow(kClassName);
  if (!open && quitRequested()) return nullptr;  // a window opened now would keep a closing run alive
  if (!open) {
    // The framework keeps the window; it is freed once closed.
    auto* window = new statusWindow();
    window->construct();
    open = window;
  }
  return static_cast<statusWindow*>(open);
}

void statusWindow::Layout() {
  setMenuBar(MenuBar1::instance());
  SetProperties(*this, windowPropertyString());
}

void statusWindow::CreateControls() {
  CreateControls0();
  CreateControls1();
  // The flag panel reads as one: its captions share one size.
  std::vector<StaticText*> flagCaptions;
  for (const ControlRow& row : statusWindowControls().first(kFlagCellControls))
    flagCaptions.push_back(&own<StaticText>(row.name));
  fitCaptionsTogether(flagCaptions);
}

void statusWindow::CreateControls0() {
  for (const ControlRow& row : statusWindowControls().first(kFirstBuilderControls)) createControl(row);
}

void statusWindow::CreateControls1() {
  for (const ControlRow& row : statusWindowControls().subspan(kFirstBuilderControls)) createControl(row);
}

void statusWindow::createControl(const ControlRow& row) {
  switch (row.kind) {
    case ControlKind::StaticText:
      newControl<StaticText>(row.name);
      break;
    case ControlKind::Separator:
      newControl<Separator>(row.name);
      break;
    case ControlKind::Rectangle:
      newControl<Rectangle>(row.name);
      break;
    case ControlKind::Canvas:
      newControl<Canvas>(row.name);
      break;
    case ControlKind::ChasingArrows:
      newControl<ChasingArrows>(row.name);
      break;
    case ControlKind::PushButton:
      newControl<PushButton>(row.name);
      break;
  }
  if (row.kind == ControlKind::Canvas) own<Canvas>(row.name).setBackdrop(barPicture(row.picture));
  SetProperties(own<RectControl>(row.name), controlPropertyString(row));
  if (row.kind == ControlKind::PushButton) {
    const bool quit = std::string_view(row.name) == "PushButton1";
    InstallInstanceEventHandler(own<PushButton>(row.name), "Action",
                                [this, quit] { quit ? PushButton1_Action() : PushButton2_Action(); });
  }
}

void statusWindow::AddMenuHandlers(Window& window) { (void)dynamic_cast<statusWindow&>(window); }

MenuItem* statusWindow::menuItem(std::string_view name) const {
  return requireObject(MenuBar(), "the window has no menu bar")->Lookup(name);
}

MenuItem* statusWindow::EditMenu() const { return menuItem("EditMenu"); }
MenuItem* statusWindow::EditClear() const { return menuItem("EditClear"); }
MenuItem* statusWindow::EditPaste() const { return menuItem("EditPaste"); }
MenuItem* statusWindow::EditCopy() const { return menuItem("EditCopy"); }
MenuItem* statusWindow::EditCut() const { return menuItem("EditCut"); }
MenuItem* statusWindow::UntitledMenu0() const { return menuItem("UntitledMenu0"); }
MenuItem* statusWindow::EditUndo() const { return menuItem("EditUndo"); }
MenuItem* statusWindow::FileMenu() const { return menuItem("FileMenu"); }
QuitMenuItem* statusWindow::FileQuit() const { return dynamic_cast<QuitMenuItem*>(menuItem("FileQuit")); }
MenuItem* statusWindow::UntitledMenu1() const { return menuItem("UntitledMenu1"); }

}  // namespace ambrelux
