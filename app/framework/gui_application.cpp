#include "app/framework/gui_application.h"

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace ambrelux {

namespace {

struct HeldMessage {
  QtMsgType type;
  std::string category;
  QString text;
};

// What Qt says while the application starts: held back, since on failure
// its several lines and the abort that follows are replaced by one line.
std::vector<HeldMessage> held;

std::string reason(const QString& fatal) {
  for (const HeldMessage& message : held) {
    if (message.category != "qt.qpa.xcb" || !message.text.startsWith("could not connect to display"))
      continue;
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') return "DISPLAY is not set";
    return "could not connect to the X display \"" + std::string(display) + "\"";
  }
  const QString& first = held.empty() ? fatal : held.front().text;
  return first.simplified().toStdString();
}

void holdOrEnd(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type != QtFatalMsg) {
    held.push_back({type, context.category ? context.category : "", text});
    return;
  }
  const std::string line = "Ambrelux: no display to show the window on: " + reason(text) + "\n";
  [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, line.data(), line.size());
  // Qt is half set up: nothing may run on the way out.
  ::_exit(1);
}

}  // namespace

std::unique_ptr<QApplication> makeGuiApplication(int& argc, char** argv) {
  const QtMessageHandler previous = qInstallMessageHandler(holdOrEnd);
  auto app = std::make_unique<QApplication>(argc, argv);
  qInstallMessageHandler(previous);
  for (const HeldMessage& message : held) {
    const QMessageLogContext context(nullptr, 0, nullptr, message.category.c_str());
    qt_message_output(message.type, context, message.text);
  }
  held.clear();
  return app;
}

}  // namespace ambrelux
