#include "core/shell/Startup.h"

#include "core/grammar/SpeechFacade.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"
#include "core/shell/Shutdown.h"
#include "core/shell/StatusSink.h"
#include "platform/Platform.h"
#include "platform/SimInstallation.h"

namespace qv::shell {
namespace {

bool Run(const StartupSteps::Loader& step) { return !step || step() == 0; }

}  // namespace

bool IsRestoreCommandLine(const QString& commandLine) { return commandLine == kRestoreSwitch; }

bool RunStartup(Context& ctx, grammar::SpeechFacade& speech, const QString& commandLine, StartupSteps& steps) {
  AppState& state = ctx.state;
  if (ctx.platform.singleInstance->AnotherInstanceRunning()) {
    ctx.shutdown.Shutdown();
    return false;
  }
  if (platform::SimulatorExecutable(state.installDir).isEmpty()) {
    ctx.dialogs.ShowMessage("Installation Path Incorrect",
                            JoinLines({"Quorvane is not installed in the correct directory.",
                                       "It should be installed in <FSXDirectory>\\Veltrane Software\\Quorvane.  "
                                       "Quorvane will now shutdown."}),
                            kIconError, true, false, "shutdown_on_ok");
    ctx.shutdown.Shutdown();
    return false;
  }
  state.restoreMode = IsRestoreCommandLine(commandLine);
  ctx.status.ShowSplash();

  state.speechReady = true;
  QByteArray zero("0");
  speech.fnTTSspeak_Call(0, 0, 0, 0, zero);
  speech.fnBinCompile_Call(0, 0, 0);

  if (!Run(steps.loadSettings) || !Run(steps.loadSimObjectPaths) || !Run(steps.loadAssignments) ||
      !Run(steps.scanAircraft))
    return false;
  if (!state.restoreMode) {
    if (!Run(steps.listChecklists) || !Run(steps.loadScreenTips) || !Run(steps.loadCommandList) ||
        !Run(steps.loadIls) || !Run(steps.loadNavaids) || !Run(steps.buildCategories))
      return false;
  }
  ctx.status.HideSplash();

  if (state.restoreMode) {
    if (steps.restoreAll) steps.restoreAll();
    ctx.shutdown.Shutdown();
    return false;
  }
  if (steps.launchDecision) steps.launchDecision();
  if (ctx.shutdown.HasShutDown()) return false;

  if (state.settings.checklistBackups == -1) {
    if (steps.loadAssignScreen) steps.loadAssignScreen();
    ctx.dialogs.ShowMessage("Update FSX Checklists",
                            JoinLines({"Quorvane would like to update the kneeboard checklists on default FSX "
                                       "aircraft.  This process is completely reversable.",
                                       "Please press OK to continue..."}),
                            kIconInformation, true, false, "checklist_backup");
  }
  return !ctx.shutdown.HasShutDown();
}

}  // namespace qv::shell
