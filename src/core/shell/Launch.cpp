#include "core/shell/Launch.h"

#include <QFileInfo>

#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"
#include "core/shell/Shutdown.h"
#include "platform/Platform.h"
#include "platform/SimInstallation.h"

namespace qv::shell {
namespace {

// A file that is not there is still handed to the launcher, which then
// reports the failure like any other.
QString ProgramIn(const QString& folder, const QString& name) {
  const QString found = platform::FindNoCase(folder, name);
  return found.isEmpty() ? folder + "/" + name : found;
}

int16_t Launch(Context& ctx, const QString& program, const QString& workingDir, const QString& title,
               const QString& what) {
  platform::ProcessLauncher* launcher = ctx.platform.processLauncher.get();
  if (launcher && launcher->Start(program, workingDir).started) return 0;
  ctx.dialogs.ShowMessage(title,
                          JoinLines({"Quorvane encoutered an error while attempting to start " + what + ".",
                                     "Quorvane will need to shutdown."}),
                          kIconError, true, false, "shutdown_on_ok");
  ctx.shutdown.Shutdown();
  return 1;
}

}  // namespace

bool IsSimRunning(Context& ctx) {
  platform::WindowProbe* probe = ctx.platform.windowProbe.get();
  return probe && probe->HasWindowOfClass(kSimWindowClass);
}

bool IsRuntimeRunning(Context& ctx) {
  platform::WindowProbe* probe = ctx.platform.windowProbe.get();
  return probe && probe->HasWindowTitled(kRuntimeWindowTitle);
}

void CloseRuntime(Context& ctx) {
  if (platform::WindowProbe* probe = ctx.platform.windowProbe.get()) probe->CloseWindowTitled(kRuntimeWindowTitle);
}

int16_t LaunchSim(Context& ctx) {
  const QString folder = platform::SimulatorFolder(ctx.state.installDir);
  return Launch(ctx, ProgramIn(folder, kSimExecutable), folder, "Launch FSX Error", "FSX");
}

int16_t LaunchRuntime(Context& ctx) {
  const QString folder = QFileInfo(ctx.state.installDir).absoluteFilePath();
  return Launch(ctx, ProgramIn(folder, kRuntimeExecutable), folder, "Launch MurmexR Error", "MurmexR");
}

int LaunchStateCode(Context& ctx) { return (IsSimRunning(ctx) ? 1 : 0) + (IsRuntimeRunning(ctx) ? 10 : 0); }

int16_t StartMissing(Context& ctx) {
  switch (LaunchStateCode(ctx)) {
    case 0:
      if (LaunchSim(ctx) != 0) return 1;
      return LaunchRuntime(ctx);
    case 1: return LaunchRuntime(ctx);
    case 10: return LaunchSim(ctx);
    default: return 0;
  }
}

Launcher::Launcher(Context& ctx) : m_ctx(ctx) {}

bool Launcher::SimRunning() const { return IsSimRunning(m_ctx); }

bool Launcher::RuntimeRunning() const { return IsRuntimeRunning(m_ctx); }

bool Launcher::BothRunning() const { return SimRunning() && RuntimeRunning(); }

void Launcher::CloseRuntime() { shell::CloseRuntime(m_ctx); }

void Launcher::LaunchDecision() {
  switch (LaunchStateCode(m_ctx)) {
    case 1:
    case 11: LaunchAndMonitor(); return;
    case 10: CloseRuntime(); break;
    default: break;
  }
  emit interfaceWanted();
}

void Launcher::LaunchAndMonitor() {
  emit starterWanted();
  emit launchButtonEnabled(false);
  if (StartMissing(m_ctx) != 0) return;  // reported, and the system is ending
  emit starterArmed();
}

void Launcher::RestartRuntime() {
  CloseRuntime();
  LaunchAndMonitor();
}

void Launcher::WatchPrograms() {
  if (!SimRunning()) {
    CloseRuntime();
    m_ctx.shutdown.Shutdown();
    return;
  }
  if (!RuntimeRunning()) m_ctx.shutdown.Shutdown();
}

void Launcher::ExitWithRuntime() {
  CloseRuntime();
  m_ctx.shutdown.Shutdown();
}

}  // namespace qv::shell
