// The floor of the program's start: a Qt Widgets window of the frame's size
// and title, and nothing else.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle("Quorvane");
  window.setFixedSize(800, 600);
  window.show();
  return app.exec();
}
