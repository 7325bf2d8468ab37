#include "gui_session.h"

#include <QCoreApplication>
#include <QPointingDevice>
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
  // One window and its events first, so the statics of the program and of
  // Qt (the pictures, the menu bar, the input devices) exist before the exit
  // handler below is registered and are still there when it runs. libFuzzer
  // ends with exit(); what Ambrelux holds must go before the QApplication,
  // as at the end of a real run.
  {
    WindowSession().window();
    settle();
  }
  (void)QPointingDevice::primaryPointingDevice();
  std::atexit([] {
    releaseBarPictures();
    releaseFrameworkLists();
    MenuBar1::implicitInstance.reset();
    RuntimeExit();
  });
}

void settle() { QCoreApplication::processEvents(); }

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
