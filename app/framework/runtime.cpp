#include "app/framework/runtime.h"

#include <unistd.h>

#include <QApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <algorithm>
#include <iostream>
#include <vector>

#include "app/framework/application.h"
#include "app/framework/gui_application.h"
#include "app/framework/platform.h"
#include "app/framework/runtime_internal.h"
#include "app/framework/termination.h"
#include "app/framework/window.h"
#include "resources/resources.h"

namespace ambrelux {

namespace {

struct Runtime {
  std::unique_ptr<QApplication> ownedApp;
  std::unique_ptr<QSocketNotifier> terminationWatch;
  std::unique_ptr<Application> appObject;
  std::vector<Window*> liveWindows;             // every window not yet freed
  std::vector<Window*> openWindows;             // opened and not closed, oldest first
  std::vector<QPointer<Window>> closedWindows;  // waiting to be freed
  std::exception_ptr pendingError;
  bool inLoop = false;
  bool openDelivered = false;
  bool quitRequested = false;
  bool errorReported = false;
  int quitCode = 0;
  int handlerDepth = 0;
  int modalDepth = 0;
};

// Never destroyed: Qt calls exit() from inside the event loop when the
// display goes away, and exit handlers must not free the QApplication (or
// anything else) under the running loop.
Runtime& runtime() {
  static Runtime* r = new Runtime;
  return *r;
}

// An uncaught error has ended the loop or been reported: from then on no
// handler of ours runs.
bool halted() {
  const auto& r = runtime();
  return r.pendingError || r.errorReported;
}

// A termination signal ends the run as File > Quit does.
void watchTerminationSignals() {
  auto& r = runtime();
  if (r.terminationWatch || terminationNotifier() < 0) return;
  r.terminationWatch = std::make_unique<QSocketNotifier>(terminationNotifier(), QSocketNotifier::Read);
  QObject::connect(r.terminationWatch.get(), &QSocketNotifier::activated, [] {
    char drained[64];
    while (::read(terminationNotifier(), drained, sizeof drained) > 0) {
    }
    Quit();
  });
}

void erase(std::vector<Window*>& list, Window* window) {
  list.erase(std::remove(list.begin(), list.end(), window), list.end());
}

// Windows closed while a handler runs are freed only once it has returned,
// so no handler is left running on a freed window.
void freeClosedWindows() {
  auto& r = runtime();
  if (r.handlerDepth > 0) return;
  for (auto& window : r.closedWindows)
    if (window) window->deleteLater();
  r.closedWindows.clear();
}

std::string describe(std::exception_ptr error) {
  try {
    if (error) std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
  }
  return "unknown error";
}

}  // namespace

void RuntimeInit() {
  auto& r = runtime();
  if (!QApplication::instance()) {
    // Qt would read options such as -style from the command line; Ambrelux
    // takes none, so Qt sees only the program name.
    static int argc = 1;
    static char name[] = "ambrelux";
    static char* argv[] = {name, nullptr};
    r.ownedApp = makeGuiApplication(argc, argv);
  }
  QApplication::setApplicationName(QStringLiteral("Ambrelux"));
  // Docks and task bars on X11 and Wayland find the desktop entry, and so
  // the icon and name, by this name.
  QApplication::setDesktopFileName(QStringLiteral("ambrelux"));
  QApplication::setWindowIcon(applicationIcon());
  QApplication::setQuitOnLastWindowClosed(false);
  watchTerminationSignals();
}

int RuntimeExit() {
  auto& r = runtime();
  r.appObject.reset();
  const int status = r.errorReported ? 1 : r.quitCode;
  r.terminationWatch.reset();
  r.ownedApp.reset();
  r.openDelivered = false;
  r.quitRequested = false;
  r.errorReported = false;
  r.quitCode = 0;
  return status;
}

void RuntimeRegisterAppObject(std::unique_ptr<Application> app) { runtime().appObject = std::move(app); }

Application* GetAppObject() { return runtime().appObject.get(); }

void RuntimeRun() {
  auto& r = runtime();
  if (r.appObject && !r.openDelivered) {
    r.openDelivered = true;
    r.appObject->CallOpen();
  }
  if (!quitRequested()) {
    r.inLoop = true;
    r.quitCode = QApplication::exec();
    r.inLoop = false;
  }
  if (r.pendingError) {
    std::exception_ptr error = std::exchange(r.pendingError, nullptr);
    std::rethrow_exception(error);
  }
}

void Quit(int code) {
  auto& r = runtime();
  r.quitRequested = true;
  r.quitCode = code;
  QApplication::exit(code);
}

bool quitRequested() { return runtime().quitRequested || terminationRequested(); }

void UnhandledException(std::exception_ptr error) {
  auto& r = runtime();
  r.errorReported = true;
  const std::string what = describe(error);
  std::cerr << "Ambrelux: an unexpected error stopped the program: " << what << std::endl;
  if (QApplication::instance() && !terminationRequested())
    platform().showMessage("Ambrelux has stopped because of an unexpected error.\n\n" + what);
}

bool unhandledExceptionReported() { return runtime().errorReported; }

void deliverEvent(const std::function<void()>& handler) {
  auto& r = runtime();
  // Qt may still dispatch events that were due in the same pass as the
  // quit: a late timer firing would refresh again, or build a new window.
  if (halted() || quitRequested()) return;
  ++r.handlerDepth;
  try {
    handler();
  } catch (...) {
    if (r.inLoop) {
      if (!r.pendingError) r.pendingError = std::current_exception();
      QApplication::exit(1);
    } else {
      UnhandledException(std::current_exception());
    }
  }
  --r.handlerDepth;
  freeClosedWindows();
}

Window* GetImplicitWindow(const std::string& className) {
  const auto& open = runtime().openWindows;
  for (auto it = open.rbegin(); it != open.rend(); ++it)
    if ((*it)->className() == className) return *it;
  return nullptr;
}

void releaseFrameworkLists() {
  auto& r = runtime();
  r.closedWindows.clear();
  while (!r.liveWindows.empty()) delete r.liveWindows.back();  // unregisters itself
}

void MsgBox(const std::string& text) {
  if (quitRequested()) return;  // Ambrelux is ending; nobody would see the box
  auto& r = runtime();
  ++r.modalDepth;
  struct Leave {
    ~Leave() { --runtime().modalDepth; }
  } leave;
  // What the user did while a handler held the loop (a refresh waiting for
  // its tool) goes first: the modal box would swallow a close request or
  // Quit, and once the run is ending nobody is left to read it.
  if (r.inLoop) {
    QCoreApplication::processEvents();
    if (quitRequested()) return;
  }
  platform().showMessage(text);
}

bool messageBoxOpen() { return runtime().modalDepth > 0; }

void ShowURL(const std::string& address) { platform().openUrl(address); }

namespace internal {

void windowCreated(Window* window) { runtime().liveWindows.push_back(window); }

void windowDestroyed(Window* window) {
  auto& r = runtime();
  erase(r.liveWindows, window);
  erase(r.openWindows, window);
}

void windowOpened(Window* window) { runtime().openWindows.push_back(window); }

void windowClosed(Window* window) {
  auto& r = runtime();
  erase(r.openWindows, window);
  // Quit at once rather than by Qt's own quit event, which comes only after
  // whatever else was due in the same pass.
  if (r.inLoop && r.openWindows.empty() && QApplication::quitOnLastWindowClosed() && !r.quitRequested)
    Quit(0);
  r.closedWindows.emplace_back(window);
  freeClosedWindows();
}

}  // namespace internal

}  // namespace ambrelux
