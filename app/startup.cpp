#include "app/startup.h"

#include <exception>

#include "app/app.h"
#include "app/framework/exceptions.h"
#include "app/framework/runtime.h"
#include "app/framework/termination.h"
#include "app/menu_bar1.h"
#include "status_window/bar_pictures.h"
#include "status_window/status_window.h"

namespace ambrelux {

int runAmbrelux() {
  catchTerminationSignals();
  RuntimeInit();
  Main();
  releaseGlobals();
  return RuntimeExit();
}

void Main() {
  try {
    InitFileTypes();
    NewAppInstance();
    ApplicationAddMenuHandlers();
    MakeDefaultView();
    RuntimeRun();
  } catch (...) {
    UnhandledException(std::current_exception());
  }
}

void NewAppInstance() {
  auto app = std::make_unique<App>();
  requireObject(app.get(), "no application object");
  app->setMenuBar(MenuBar1::instance());
  RuntimeRegisterAppObject(std::move(app));
}

void ApplicationAddMenuHandlers() {}

void MakeDefaultView() { statusWindow::instance(); }

void releaseGlobals() {
  releaseBarPictures();
  releaseFrameworkLists();
  FileTypes::pText.reset();
  MenuBar1::implicitInstance.reset();
}

}  // namespace ambrelux
