#pragma once

#include <QObject>

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
// screens, stops the grammar compiler when speech was started, and ends. The
// two steps that belong to the interface are signals, in that order.
class ShutdownSequence final : public QObject, public ShutdownService {
  Q_OBJECT

 public:
  ShutdownSequence(AppState& state, Dialogs& dialogs, grammar::SpeechFacade& speech, ProcessExit& exit);

  void Shutdown() override;
  bool HasShutDown() const override { return m_done; }

 signals:
  void removingTrayIcon();
  void releasingScreens();  // buttons end their subclassing, screens are released in order

 private:
  AppState& m_state;
  Dialogs& m_dialogs;
  grammar::SpeechFacade& m_speech;
  ProcessExit& m_exit;
  bool m_done = false;
};

}  // namespace qv::shell
