// The GUI composition root: builds the objects and wires them, nothing else.
#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <cstdio>
#include <cstdlib>

#include "grammar/SpeechEngines.h"
#include "grammar/SpeechFacade.h"
#include "platform/Platform.h"
#include "shell/AppState.h"
#include "shell/Context.h"
#include "shell/Shutdown.h"
#include "shell/Startup.h"
#include "shell/frm_Splash.h"
#include "speech/EngineFactory.h"
#include "ui/BasicDialogs.h"
#include "ui/QtFileDialogs.h"

namespace {

// The GUI ends the process right away: Shutdown must not return to a caller
// that may still be inside a modal dialog.
class GuiExit final : public qv::shell::ProcessExit {
 public:
  void Exit(int code) override {
    std::fflush(nullptr);
    std::_Exit(code);
  }
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QCoreApplication::setApplicationName("Quorvane");
  QCoreApplication::setApplicationVersion(QStringLiteral(QV_VERSION));

  qv::shell::AppState state;
  state.installDir = QCoreApplication::applicationDirPath();
  qv::platform::Platform platform = qv::platform::CreatePlatform(state.installDir);
  platform.fileDialogs = std::make_unique<qv::ui::QtFileDialogs>();

  qv::speech::EngineSet engines = qv::speech::CreateEngines(state.installDir);
  qv::grammar::SpeechFacade speech(state.speechReady, *engines.compiler, *engines.recognizer, *engines.output);

  qv::ui::BasicDialogs dialogs;
  GuiExit exit;
  qv::shell::ShutdownSequence shutdown(state, dialogs, speech, exit);
  dialogs.SetTagAction("shutdown_on_ok", [&shutdown] { shutdown.Shutdown(); });

  qv::shell::frm_Splash splash(state.installDir);
  qv::shell::Context ctx{state, dialogs, shutdown, splash, platform};

  QWidget frame;
  frame.setObjectName("frm_Parent");
  frame.setWindowTitle("Quorvane");
  frame.setFixedSize(800, 600);
  auto* layout = new QVBoxLayout(&frame);
  auto* label = new QLabel(&frame);
  layout->addWidget(label);

  qv::shell::StartupSteps steps = qv::shell::DefaultStartupSteps(ctx);
  steps.launchDecision = [&] {
    label->setText(QString("Quorvane is ready.\n\nInstallation: %1\nSimulator configuration: %2\nObject folders: %3")
                       .arg(state.installDir, state.settings.PathFSXConfig)
                       .arg(state.simObjectPaths.size()));
    frame.show();
  };
  const QString commandLine = QCoreApplication::arguments().mid(1).join(u' ');
  if (!qv::shell::RunStartup(ctx, speech, commandLine, steps)) return 0;
  QObject::connect(&app, &QApplication::lastWindowClosed, [&shutdown] { shutdown.Shutdown(); });
  return app.exec();
}
