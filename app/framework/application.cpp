#include "app/framework/application.h"

#include <QGuiApplication>

#include "app/framework/menus.h"

namespace ambrelux {

Application::Application() = default;
Application::~Application() = default;

bool Application::AutoQuit() const {
  return QGuiApplication::instance() && QGuiApplication::quitOnLastWindowClosed();
}

void Application::setAutoQuit(bool value) { QGuiApplication::setQuitOnLastWindowClosed(value); }

std::string Application::ShortVersion() const { return AMBRELUX_SHORT_VERSION; }

}  // namespace ambrelux
