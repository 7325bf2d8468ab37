// The QApplication, made so that a machine without a usable display gets a
// plain error instead of Qt's abort.
#pragma once

#include <QApplication>
#include <memory>

namespace ambrelux {

// Creates the QApplication. When Qt can open no display (DISPLAY unset or
// served by nobody, a missing platform plugin), prints one line naming the
// problem on standard error and ends the process with status 1.
std::unique_ptr<QApplication> makeGuiApplication(int& argc, char** argv);

}  // namespace ambrelux
