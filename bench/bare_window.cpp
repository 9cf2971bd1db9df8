// The yardstick for the game's start-up: a bare Qt program that shows one
// empty window of the game's content size, and nothing else.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.resize(640, 670);
  window.show();
  return app.exec();
}
