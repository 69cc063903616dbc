// Stand-in for the in-flight speech runtime: a window titled "VT Murmex" that
// closes when it is asked to.
#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("murmexr");
  QWidget window;
  window.setWindowTitle("VT Murmex");
  window.resize(360, 160);
  auto* layout = new QVBoxLayout(&window);
  auto* label = new QLabel("Speech runtime stand-in\n\nListening for commands during the flight.", &window);
  label->setAlignment(Qt::AlignCenter);
  layout->addWidget(label);
  window.show();
  return app.exec();
}
