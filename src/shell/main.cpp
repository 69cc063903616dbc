// The GUI composition root: builds the objects and wires them, nothing else.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "checklists/frm_Assign.h"
#include "checklists/frm_Modify.h"
#include "grammar/SpeechEngines.h"
#include "grammar/SpeechFacade.h"
#include "platform/Joystick.h"
#include "platform/Platform.h"
#include "shell/AppState.h"
#include "shell/Context.h"
#include "shell/LaunchHooks.h"
#include "shell/Shutdown.h"
#include "shell/Startup.h"
#include "shell/frm_Parent.h"
#include "shell/frm_Splash.h"
#include "ui/QtFileDialogs.h"
#include "ui/Router.h"
#include "ui/SkinnedDialogs.h"

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

  qv::grammar::UnavailableCompiler compiler;
  qv::grammar::UnavailableRecognizer recognizer;
  qv::grammar::UnavailableSpeechOutput output;
  qv::grammar::SpeechFacade speech(state.speechReady, compiler, recognizer, output);

  qv::ui::Router router;
  qv::shell::LaunchHooks launch;
  std::unique_ptr<qv::platform::Joystick> joystick = qv::platform::CreateJoystick();
  qv::ui::SkinnedDialogs dialogs(state, launch, router, joystick.get());
  GuiExit exit;
  qv::shell::ShutdownSequence shutdown(state, dialogs, speech, exit);
  dialogs.SetShutdown(&shutdown);

  qv::shell::frm_Splash splash(state.installDir);
  qv::shell::Context ctx{state, dialogs, shutdown, splash, platform};

  // The frame is loaded on first use, normally by the launch decision.
  std::unique_ptr<qv::shell::frm_Parent> frame;
  auto parentFrame = [&]() -> qv::shell::frm_Parent& {
    if (!frame) {
      frame = std::make_unique<qv::shell::frm_Parent>(state, shutdown, launch, router);
      frame->otherWindows = [&] { return dialogs.loadedDialogs() << &splash; };
      dialogs.SetHost(frame.get());
      qv::checklists::frm_Assign::Install(ctx, launch, router, *frame);
      qv::checklists::frm_Modify::Install(ctx, launch, router, *frame, &speech, &dialogs);
    }
    return *frame;
  };
  shutdown.releaseScreens = [&] {
    if (frame) frame->ReleaseScreens();
  };

  qv::shell::StartupSteps steps = qv::shell::DefaultStartupSteps(ctx);
  steps.loadAssignScreen = [&] { parentFrame().screen("frm_Assign"); };
  steps.launchDecision = [&] {
    qv::shell::frm_Parent& f = parentFrame();
    f.show();
    f.ShowInParent("frm_Home");
  };
  const QString commandLine = QCoreApplication::arguments().mid(1).join(u' ');
  if (!qv::shell::RunStartup(ctx, speech, commandLine, steps)) return 0;
  QObject::connect(&app, &QApplication::lastWindowClosed, [&shutdown] { shutdown.Shutdown(); });
  return app.exec();
}
