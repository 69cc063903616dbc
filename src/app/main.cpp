// The GUI composition root: builds the objects and wires them, nothing else.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "core/checklists/KneeboardChecklist.h"
#include "core/grammar/SpeechEngines.h"
#include "core/grammar/SpeechFacade.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Launch.h"
#include "core/shell/LaunchHooks.h"
#include "core/shell/Shutdown.h"
#include "core/shell/Startup.h"
#include "gui/checklists/frm_Assign.h"
#include "gui/checklists/frm_Modify.h"
#include "gui/grammar/frm_GrammarScreens.h"
#include "gui/kit/QtFileDialogs.h"
#include "gui/kit/Router.h"
#include "gui/kit/SkinnedButton.h"
#include "gui/kit/SkinnedDialogs.h"
#include "gui/shell/frm_Parent.h"
#include "gui/shell/frm_Splash.h"
#include "gui/shell/frm_Starter.h"
#include "platform/Joystick.h"
#include "platform/Platform.h"
#include "speech/EngineFactory.h"

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
  std::unique_ptr<qv::grammar::GrammarScreens> grammarScreens;  // outlives the frame's screens
  std::unique_ptr<qv::shell::frm_Parent> frame;
  auto parentFrame = [&]() -> qv::shell::frm_Parent& {
    if (!frame) {
      frame = std::make_unique<qv::shell::frm_Parent>(state, shutdown, launch, router);
      frame->otherWindows = [&] { return dialogs.loadedDialogs() << &splash; };
      dialogs.SetHost(frame.get());
      grammarScreens = std::make_unique<qv::grammar::GrammarScreens>(ctx, speech, *frame, router, dialogs, launch);
      qv::checklists::frm_Assign::Install(ctx, launch, router, *frame);
      qv::checklists::frm_Modify::Install(ctx, launch, router, *frame, &speech, &dialogs);
    }
    return *frame;
  };
  shutdown.releaseScreens = [&] {
    if (frame) frame->ReleaseScreens();
  };

  auto showInterface = [&] {
    qv::shell::frm_Parent& f = parentFrame();
    f.show();
    f.ShowInParent("frm_Home");
  };
  // The starter is loaded on first use; the shutdown removes its tray icon.
  std::unique_ptr<qv::shell::frm_Starter> starter;
  auto starterWindow = [&]() -> qv::shell::frm_Starter& {
    if (!starter) {
      starter = std::make_unique<qv::shell::frm_Starter>(ctx);
      starter->restoreInterface = [&] {
        parentFrame().Timer1->start();
        showInterface();
      };
    }
    return *starter;
  };
  shutdown.removeTrayIcon = [&] {
    if (starter) starter->TrayRemove();
  };
  qv::shell::LaunchView launchView;
  launchView.showInterface = showInterface;
  launchView.showStarter = [&] { starterWindow().ShowLaunching(); };
  launchView.armStarter = [&] { starterWindow().ArmTimer1(); };
  launchView.setLaunchEnabled = [&](bool on) {
    if (auto* b = parentFrame().screen("frm_Home")->findChild<qv::ui::SkinnedButton*>("btn_Launch"))
      b->setState(on ? "enabled" : "disabled");
  };
  launch.isSimRunning = [&] { return qv::shell::IsSimRunning(ctx); };
  launch.isRuntimeRunning = [&] { return qv::shell::IsRuntimeRunning(ctx); };
  launch.closeRuntime = [&] { qv::shell::CloseRuntime(ctx); };
  launch.restartRuntime = [&] { qv::shell::RestartRuntime(ctx, launchView); };
  launch.launchAndMonitor = [&] { qv::shell::LaunchAndMonitor(ctx, launchView); };
  launch.goToTray = [&] { starterWindow().GoToTray(); };

  // The first-use prompt's OK updates the kneeboard pages.
  dialogs.SetMessageFollowUp("checklist_backup", [&ctx] { qv::checklists::RunChecklistBackup(ctx); });

  qv::shell::StartupSteps steps = qv::shell::DefaultStartupSteps(ctx);
  steps.loadAssignScreen = [&] { parentFrame().screen("frm_Assign"); };
  steps.launchDecision = [&] { qv::shell::LaunchDecision(ctx, launchView); };
  const QString commandLine = QCoreApplication::arguments().mid(1).join(u' ');
  if (!qv::shell::RunStartup(ctx, speech, commandLine, steps)) return 0;
  QObject::connect(&app, &QApplication::lastWindowClosed, [&shutdown] { shutdown.Shutdown(); });
  return app.exec();
}
