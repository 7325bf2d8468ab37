#include "gui_session.h"

#include <clocale>
#include <cstdlib>
#include <memory>

#include "app/app.h"
#include "app/framework/runtime.h"
#include "app/menu_bar1.h"
#include "status_window/bar_pictures.h"

namespace ambrelux::fuzzing {

void startQt() {
  setenv("QT_QPA_PLATFORM", "offscreen", /*overwrite=*/0);
  RuntimeInit();
  std::setlocale(LC_ALL, "C");
  // One window first, so the program's own statics (the pictures, the menu
  // bar) exist before the exit handler below is registered and are still
  // there when it runs: libFuzzer ends with exit(), and they must go before
  // the QApplication, as at the end of a real run.
  { WindowSession().window(); }
  std::atexit([] {
    releaseBarPictures();
    releaseFrameworkLists();
    MenuBar1::implicitInstance.reset();
    RuntimeExit();
  });
}

WindowSession::WindowSession() {
  auto app = std::make_unique<App>();
  app->setMenuBar(MenuBar1::instance());
  RuntimeRegisterAppObject(std::move(app));
}

WindowSession::~WindowSession() {
  releaseFrameworkLists();
  RuntimeRegisterAppObject(nullptr);
}

statusWindow& WindowSession::window() { return *statusWindow::instance(); }

}  // namespace ambrelux::fuzzing
