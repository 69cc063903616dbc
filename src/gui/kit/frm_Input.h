#pragma once

#include <QLineEdit>
#include <QTimer>
#include <functional>

#include "gui/kit/DialogWindow.h"
#include "gui/kit/SkinnedButton.h"

namespace qv::platform {
class Joystick;
}

namespace qv::ui {

// The modal input dialog: a prompt and one line of text. For the microphone
// switch it captures a key or a joystick button instead of typed text.
class frm_Input final : public DialogWindow {
 public:
  frm_Input(const QString& installDir, Router* router, QString& micSwitch, platform::Joystick* joystick);

  QLabel* prompt() const { return m_prompt; }
  QLineEdit* input() const { return m_input; }
  SmallButton* okButton() const { return m_ok; }
  SmallButton* cancelButton() const { return m_cancel; }
  QTimer* timer() const { return m_timer; }

  void SetCaptureMode(bool on);
  bool captureMode() const { return m_capture; }
  QString capturedKey() const { return m_captured; }

  // One tick of the 100 ms joystick poll: the next joystick of 1, 2, 3, 4, 0.
  void PollJoystick();
  int pollCounter() const { return m_counter; }

  std::function<void()> beep;  // an unaccepted key; the platform beep by default

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void CaptureKey(int code, bool shiftOnly);

  QLabel* m_prompt;
  QLineEdit* m_input;
  SmallButton* m_ok;
  SmallButton* m_cancel;
  QTimer* m_timer;
  QString& m_micSwitch;
  platform::Joystick* m_joystick;
  bool m_capture = false;
  QString m_captured;
  int16_t m_counter = 0;
};

}  // namespace qv::ui
