#pragma once

#include <QObject>
#include <QString>
#include <cstdint>

namespace qv::shell {

struct Context;

// How the two outside programs are recognised and started.
inline const QString kSimWindowClass = QStringLiteral("FS98MAIN");
inline const QString kRuntimeWindowTitle = QStringLiteral("VT Murmex");
inline const QString kSimExecutable = QStringLiteral("fsx.exe");
inline const QString kRuntimeExecutable = QStringLiteral("murmexr.exe");

// The starter's timers: into the tray once after showing it, then the watch.
inline constexpr int kStarterTrayDelayMs = 2500;
inline constexpr int kStarterWatchMs = 25000;

bool IsSimRunning(Context& ctx);
bool IsRuntimeRunning(Context& ctx);
// Asks a running runtime to close and waits until it has; nothing when it
// does not run.
void CloseRuntime(Context& ctx);

// Start the simulator (in its own folder) or the runtime (in the installation
// folder). A failure is reported, the system is shut down and 1 returned.
int16_t LaunchSim(Context& ctx);
int16_t LaunchRuntime(Context& ctx);

// 1 when the simulator runs plus 10 when the runtime runs: 0, 1, 10 or 11.
int LaunchStateCode(Context& ctx);
// Starts whichever of the two is missing, the simulator first.
int16_t StartMissing(Context& ctx);

// The launch road and the tray watch. Decisions are made here; what the
// interface should show next is announced by the signals, which the
// composition connects to the frame and the starter window.
class Launcher final : public QObject {
  Q_OBJECT

 public:
  explicit Launcher(Context& ctx);

  bool SimRunning() const;
  bool RuntimeRunning() const;
  // Both run: the restart prompts are offered only then.
  bool BothRunning() const;
  void CloseRuntime();

  // End of a normal start-up: the interface, or straight on to the tray when
  // the simulator already runs. A runtime without a simulator is closed.
  void LaunchDecision();
  // Starter shown, launch button disabled, what is missing started, tray timer on.
  void LaunchAndMonitor();
  // After changes the runtime must reload: closed, then launched again.
  void RestartRuntime();
  // The tray watch: the simulator gone takes the runtime and the system with
  // it; the runtime gone ends the system alone.
  void WatchPrograms();
  // The tray menu's Exit.
  void ExitWithRuntime();

 signals:
  void interfaceWanted();  // the frame with the home screen in it
  void starterWanted();    // the starter window, launching
  void starterArmed();     // its timer that moves it into the tray
  void launchButtonEnabled(bool on);

 private:
  Context& m_ctx;
};

}  // namespace qv::shell
