#include "app/framework/platform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QString>
#include <QUrl>
#include <filesystem>
#include <system_error>

namespace ambrelux {

namespace {

// The window a message belongs to, so the box opens centred over it: the
// active one, else the first shown.
QWidget* ownerWindow() {
  if (QWidget* active = QApplication::activeWindow()) return active;
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (widget->isVisible() && widget->isWindow() && !qobject_cast<QMessageBox*>(widget)) return widget;
  return nullptr;
}

class RealPlatform final : public Platform {
 public:
  CommandOutput runCommand(const std::string& commandLine) override { return runRealCommand(commandLine); }

  void showMessage(const std::string& text) override {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Ambrelux"), QString::fromStdString(text),
                    QMessageBox::Ok, ownerWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
  }

  void openUrl(const std::string& address) override {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
  }
};

Platform* installed = nullptr;

}  // namespace

Platform& platform() {
  static RealPlatform real;
  return installed ? *installed : real;
}

void setPlatform(Platform* replacement) { installed = replacement; }

std::string toolsFolder() {
  static const std::string folder = [] {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return std::string();  // no tools folder rather than a relative one
    return (exe.parent_path() / AMBRELUX_TOOLS_RELATIVE_TO_BIN).lexically_normal().string();
  }();
  return folder;
}

}  // namespace ambrelux
