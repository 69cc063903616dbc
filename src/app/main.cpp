// The interface program: builds the application and runs it.
#include <QApplication>

#include "app/Application.h"
#include "app/FirstRun.h"
#include "core/shell/Shutdown.h"

int main(int argc, char* argv[]) {
  QApplication qt(argc, argv);
  QCoreApplication::setApplicationName("Quorvane");
  QCoreApplication::setApplicationVersion(QStringLiteral(QV_VERSION));
  const QString installDir = QCoreApplication::applicationDirPath();
  if (qv::app::OutsideInstallation(installDir)) return qv::app::RunFirstRun(installDir);
  qv::app::Application app(installDir, qv::app::SystemBackends(installDir, qv::app::Program::Interface));
  if (!app.Start(QCoreApplication::arguments().mid(1).join(u' '))) return 0;
  QObject::connect(&qt, &QApplication::lastWindowClosed, &app.services().shutdown,
                   &qv::shell::ShutdownSequence::Shutdown);
  return qt.exec();
}
