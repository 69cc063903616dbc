// Stand-in for the simulator's executable: a window whose class is
// "FS98MAIN", which is how the launcher recognises a running simulator.
#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char* argv[]) {
  // The X11 window class is taken from these two names.
  qputenv("RESOURCE_NAME", "FS98MAIN");
  QApplication app(argc, argv);
  QApplication::setApplicationName("FS98MAIN");
  QWidget window;
  window.setWindowTitle("Flight Simulator (demo stand-in)");
  window.resize(640, 400);
  window.setStyleSheet("background: rgb(20,40,70); color: white;");
  auto* layout = new QVBoxLayout(&window);
  auto* label = new QLabel(
      "Simulator stand-in\n\nThis window plays the simulator for the Quorvane demo.\n"
      "Close it to end the flight.",
      &window);
  label->setAlignment(Qt::AlignCenter);
  layout->addWidget(label);
  window.show();
  return app.exec();
}
