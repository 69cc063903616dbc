#pragma once

#include <functional>

namespace qv::grammar {
class SpeechFacade;
}

namespace qv::shell {

struct AppState;
class Dialogs;

// The one way the program ends. In the GUI it does not return; under tests
// and in the CLI the process end is observed instead, so callers stop what
// they are doing right after calling it.
class ShutdownService {
 public:
  virtual ~ShutdownService() = default;
  virtual void Shutdown() = 0;
  virtual bool HasShutDown() const = 0;
};

class ProcessExit {
 public:
  virtual ~ProcessExit() = default;
  virtual void Exit(int code) = 0;
};

// Saves the copilot voice (only when the settings were loaded: before that the
// voice in memory is not the user's), removes the tray icon, releases the
// screens, stops the grammar compiler when speech was started, and ends.
class ShutdownSequence final : public ShutdownService {
 public:
  ShutdownSequence(AppState& state, Dialogs& dialogs, grammar::SpeechFacade& speech, ProcessExit& exit);

  std::function<void()> removeTrayIcon;  // set by the tray while it is loaded
  std::function<void()> releaseScreens;  // set by the GUI: ends subclassing, releases screens in order

  void Shutdown() override;
  bool HasShutDown() const override { return m_done; }

 private:
  AppState& m_state;
  Dialogs& m_dialogs;
  grammar::SpeechFacade& m_speech;
  ProcessExit& m_exit;
  bool m_done = false;
};

}  // namespace qv::shell
