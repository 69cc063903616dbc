#pragma once

#include <functional>

namespace qv::shell {

// What the interface needs from the launch and tray machinery: the program
// checks and the moves into the tray. Unset hooks mean "not running" and
// "nothing to do", so the interface works before the launcher is wired.
struct LaunchHooks {
  std::function<bool()> isSimRunning;
  std::function<bool()> isRuntimeRunning;
  std::function<void()> closeRuntime;
  std::function<void()> restartRuntime;    // after the screens were hidden
  std::function<void()> launchAndMonitor;  // the home screen's launch button
  std::function<void()> goToTray;          // the frame's minimise while the runtime runs

  bool SimRunning() const { return isSimRunning && isSimRunning(); }
  bool RuntimeRunning() const { return isRuntimeRunning && isRuntimeRunning(); }
};

}  // namespace qv::shell
