// The floor for start-up: one empty fixed-size window, shown, its events
// drained, then quit — the same ending as the start-up probe.
// Arguments: width height [label] (default: the status window's content
// size); with "label" the window also shows one line of text, which makes
// Qt load its font database as any window with text does.
#include <QApplication>
#include <QLabel>
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
  if (argc > 3 && QString::fromLocal8Bit(argv[3]) == QStringLiteral("label"))
    (new QLabel(QStringLiteral("Battery"), &window))->move(20, 20);
  window.show();
  QTimer::singleShot(0, [] {
    QCoreApplication::processEvents();
    QCoreApplication::quit();
  });
  return app.exec();
}
