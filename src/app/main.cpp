// The interface program: builds the application and runs it.
#include <QApplication>

#include "app/Application.h"
#include "core/shell/Shutdown.h"
#include "gui/kit/QtFileDialogs.h"

int main(int argc, char* argv[]) {
  QApplication qt(argc, argv);
  QCoreApplication::setApplicationName("Quorvane");
  QCoreApplication::setApplicationVersion(QStringLiteral(QV_VERSION));
  const QString installDir = QCoreApplication::applicationDirPath();
  qv::app::Backends backends = qv::app::SystemBackends(installDir);
  backends.platform.fileDialogs = std::make_unique<qv::ui::QtFileDialogs>();
  qv::app::Application app(installDir, std::move(backends));
  if (!app.Start(QCoreApplication::arguments().mid(1).join(u' '))) return 0;
  QObject::connect(&qt, &QApplication::lastWindowClosed, &app.services().shutdown,
                   &qv::shell::ShutdownSequence::Shutdown);
  return qt.exec();
}
