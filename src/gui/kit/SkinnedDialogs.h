#pragma once

#include <QHash>
#include <QPointer>
#include <functional>
#include <memory>

#include "core/shell/Dialogs.h"

class QWidget;

namespace qv::platform {
class Joystick;
}
namespace qv::shell {
struct AppState;
struct LaunchHooks;
class ShutdownService;
}  // namespace qv::shell

namespace qv::ui {

class DialogWindow;
class Router;
class ScreenHost;
class frm_Input;
class frm_Message;
class frm_Progress;

// The skinned message, input and progress dialogs behind the core's Dialogs
// interface, with the tag protocol: OK runs the follow-up of the dialog's tag.
// The dialogs are created on first use and reused for every call.
class SkinnedDialogs final : public shell::Dialogs {
 public:
  SkinnedDialogs(shell::AppState& state, shell::LaunchHooks& launch, Router& router, platform::Joystick* joystick);
  ~SkinnedDialogs() override;

  // The frame the dialogs centre over and whose screens the restart prompts hide.
  void SetHost(ScreenHost* host) { m_host = host; }
  // What "shutdown_on_ok" runs (the shutdown sequence needs the dialogs, so
  // it comes after them).
  void SetShutdown(shell::ShutdownService* shutdown) { m_shutdown = shutdown; }

  // Follow-ups of the tags whose work belongs to the screens. False when the
  // tag is not one of the table's registered ones.
  bool SetMessageFollowUp(const QString& tag, std::function<void()> followUp);
  bool SetInputAction(const QString& tag, std::function<void(const QString& text)> action);
  bool HasMessageFollowUp(const QString& tag) const { return m_followUps.contains(tag); }
  bool HasInputAction(const QString& tag) const { return m_inputActions.contains(tag); }

  void ShowMessage(const QString& title, const QString& message, int icon, bool showOk, bool showCancel,
                   const QString& tag) override;
  void ShowInput(const QString& title, const QString& message, const QString& prompt, bool showOk, bool showCancel,
                 const QString& defaultText, const QString& tag) override;
  void ProgressOpen(const QString& title, const QString& message) override;
  void ProgressUpdate(const QString& message, double percent) override;
  void ProgressHide() override;

  // The microphone set-up button of the configuration screen.
  void AskMicrophoneSwitch();

  QString dialogName;  // tag of the message shown last
  QString inputName;   // tag of the input shown last

  // Runs once each time a modal dialog has come up, so that a test (or a
  // scripted demo) can answer it through its controls.
  std::function<void(DialogWindow* dialog)> autoAnswer;

  frm_Message* message();
  frm_Input* input();
  frm_Progress* progress();
  // The dialogs created so far, for hiding and release at shutdown.
  QList<QWidget*> loadedDialogs() const;

 private:
  void MessageOk();
  void InputOk();
  void InputCancel();
  void MicSwitchOk();
  void Present(DialogWindow* dialog);

  shell::AppState& m_state;
  shell::ShutdownService* m_shutdown = nullptr;
  shell::LaunchHooks& m_launch;
  Router& m_router;
  platform::Joystick* m_joystick;
  ScreenHost* m_host = nullptr;
  std::unique_ptr<frm_Message> m_message;
  std::unique_ptr<frm_Input> m_input;
  std::unique_ptr<frm_Progress> m_progress;
  QHash<QString, std::function<void()>> m_followUps;
  QHash<QString, std::function<void(const QString&)>> m_inputActions;
};

}  // namespace qv::ui
