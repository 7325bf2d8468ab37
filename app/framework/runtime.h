// The framework's run time: start-up and shut-down of Qt, the registered
// application object, the event loop, quitting, the report of an uncaught
// error, and the services the windows use (message box, opening an address).
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>

namespace ambrelux {

class Application;
class Window;

// Creates the QApplication unless one exists. Command-line arguments are
// never handed to Qt: Ambrelux takes none.
void RuntimeInit();

// Frees the application object and the QApplication (when RuntimeInit made
// it) and returns the exit status: the code of the last Quit, or 1 after an
// uncaught error was reported.
int RuntimeExit();

// The application object; the framework owns it from here on.
void RuntimeRegisterAppObject(std::unique_ptr<Application> app);
Application* GetAppObject();

// Delivers the application's Open event once, then runs the event loop
// until quit. An error that escaped an event handler during the loop ends
// the loop and is rethrown here, so start-up's protected block reports it.
void RuntimeRun();

// Ends the event loop; the code becomes the exit status.
void Quit(int code = 0);

// True once the run is ending: Quit was called, the last window closed
// while the loop ran (with AutoQuit), or a termination signal arrived. From
// then on no event handler of ours runs, no window opens and no tool
// starts; the handler in progress finishes and the loop returns.
bool quitRequested();

// Reports an error nobody caught: on standard error and in a message box.
void UnhandledException(std::exception_ptr error);

// True once UnhandledException has reported something in this run.
bool unhandledExceptionReported();

// Runs an event handler called from Qt, unless the run is ending or an
// error has halted it. Exceptions must not cross Qt's event loop: inside
// RuntimeRun the error ends the loop and surfaces in RuntimeRun; outside it
// (tests pumping events) it is reported at once.
void deliverEvent(const std::function<void()>& handler);

// The open window registered under this class name, or nil.
Window* GetImplicitWindow(const std::string& className);

// Frees every window still alive; part of the release of the globals.
void releaseFrameworkLists();

// Shows a modal message box; returns when it is dismissed.
void MsgBox(const std::string& text);

// True while a box opened by MsgBox is showing.
bool messageBoxOpen();

// Opens the address in the default web browser; returns at once.
void ShowURL(const std::string& address);

}  // namespace ambrelux
