// The floor for start-up: one empty fixed-size window, shown, its events
// drained, then quit — the same ending as the start-up probe.
// Arguments: width height (default: the status window's content size).
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdlib>

int main(int argc, char** argv) {
  const int width = argc > 2 ? std::atoi(argv[1]) : 492;
  const int height = argc > 2 ? std::atoi(argv[2]) : 288;
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Empty"));
  window.setFixedSize(width, height);
  window.show();
  QTimer::singleShot(0, [] {
    QCoreApplication::processEvents();
    QCoreApplication::quit();
  });
  return app.exec();
}
