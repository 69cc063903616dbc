#pragma once

#include <QObject>
#include <memory>

#include "core/shell/Dialogs.h"
#include "gui/kit/DialogWindow.h"
#include "gui/kit/Router.h"

namespace qv::platform {
class Joystick;
}
namespace qv::shell {
struct AppState;
}

namespace qv::ui {

class frm_Input;
class frm_Message;
class frm_Progress;

// Where the dialogs centre: the parent frame once it is loaded, else nothing
// (they then centre on the screen).
class DialogHost {
 public:
  virtual ~DialogHost() = default;
  virtual QWidget* frameWindow() = 0;
};

// The skinned message, input and progress dialogs behind the core's Dialogs
// interface, with the tag protocol: OK runs the follow-up of the dialog's
// tag (the table in DialogTags). Follow-ups that belong to others are
// signals; the screen or the composition that owns a tag connects to them.
// The dialogs are created on first use and reused for every call.
class SkinnedDialogs final : public QObject, public shell::Dialogs {
  Q_OBJECT

 public:
  SkinnedDialogs(shell::AppState& state, Router& router, platform::Joystick* joystick, DialogHost& host);
  ~SkinnedDialogs() override;

  void ShowMessage(const QString& title, const QString& message, int icon, bool showOk, bool showCancel,
                   const QString& tag) override;
  void ShowInput(const QString& title, const QString& message, const QString& prompt, bool showOk, bool showCancel,
                 const QString& defaultText, const QString& tag) override;
  void ProgressOpen(const QString& title, const QString& message) override;
  void ProgressUpdate(const QString& message, double percent) override;
  void ProgressHide() override;

  // The key-capture input of the microphone switch (tag "mic_switch").
  void AskMicrophoneSwitch();

  QString dialogName;  // tag of the message shown last
  QString inputName;   // tag of the input shown last

  frm_Message* message();
  frm_Input* input();
  frm_Progress* progress();
  // The dialogs created so far, for hiding and release at shutdown.
  QList<QWidget*> loadedDialogs() const;

 signals:
  // A modal dialog has come up (once per show), so that a test or a scripted
  // demo can answer it through its controls.
  void dialogUp(ui::DialogWindow* dialog);
  // OK of "shutdown_on_ok".
  void shutdownRequested();
  // OK of a restart prompt, after the dialog hid: `screen` and then every
  // screen are to be hidden and the speech runtime restarted.
  void restartRequested(const QString& screen);
  // OK of a message whose follow-up belongs to a screen or the composition.
  void messageAccepted(const QString& tag);
  // OK of the input dialog, after it hid, with the text entered.
  void inputAccepted(const QString& tag, const QString& text);

 private:
  void MessageOk();
  void InputOk();
  void InputCancel();
  void Present(DialogWindow* dialog);
  QWidget* Frame() const { return m_host.frameWindow(); }

  shell::AppState& m_state;
  Router& m_router;
  platform::Joystick* m_joystick;
  DialogHost& m_host;
  Routes m_messageRoutes;
  Routes m_inputRoutes;
  std::unique_ptr<frm_Message> m_message;
  std::unique_ptr<frm_Input> m_input;
  std::unique_ptr<frm_Progress> m_progress;
};

}  // namespace qv::ui
