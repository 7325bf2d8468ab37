#include "app/framework/platform.h"

#include <unistd.h>

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <filesystem>
#include <system_error>

namespace ambrelux {

namespace {

// What the shell answers for a command it cannot find; used as well when the
// shell itself cannot be started.
constexpr int kNotRun = 127;

// The search path a POSIX shell uses when none is set.
QString defaultSearchPath() {
  const std::size_t size = confstr(_CS_PATH, nullptr, 0);
  if (size == 0) return QStringLiteral("/usr/bin:/bin");
  std::string path(size, '\0');
  confstr(_CS_PATH, path.data(), size);
  path.resize(size - 1);
  return QString::fromStdString(path);
}

// The tools print their labels in English only under the C locale; our own
// stand-ins come after the PATH, so a real tool always wins.
QProcessEnvironment childEnvironment() {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
  const QString tools = QString::fromStdString(toolsFolder());
  if (!tools.isEmpty()) {
    QString path = environment.value(QStringLiteral("PATH"));
    if (path.isEmpty()) path = defaultSearchPath();
    environment.insert(QStringLiteral("PATH"), path + QLatin1Char(':') + tools);
  }
  return environment;
}

// A killed child has no exit code of its own; report it the way shells do,
// 128 plus the signal, so it can never read as success.
int crashStatus(const QProcess& process) {
  const int signal = process.exitCode();
  return signal > 0 && signal < 128 ? 128 + signal : 255;
}

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

CommandOutput runRealCommand(const std::string& commandLine) {
  QProcess process;
  process.setProcessEnvironment(childEnvironment());
  process.setStandardInputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QString::fromStdString(commandLine)});
  if (!process.waitForStarted(-1)) return CommandOutput{"", kNotRun};

  // Drain as the output comes, so a report of many megabytes is held once.
  CommandOutput result;
  const auto take = [&] {
    const QByteArray chunk = process.readAllStandardOutput();
    result.output.append(chunk.constData(), static_cast<std::size_t>(chunk.size()));
  };
  while (process.waitForReadyRead(-1)) take();
  process.waitForFinished(-1);
  take();

  result.exitStatus =
      process.exitStatus() == QProcess::NormalExit ? process.exitCode() : crashStatus(process);
  return result;
}

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
