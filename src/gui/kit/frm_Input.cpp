#include "gui/kit/frm_Input.h"

#include <QApplication>
#include <QKeyEvent>

#include "gui/kit/VirtualKey.h"
#include "platform/Joystick.h"

namespace qv::ui {

frm_Input::frm_Input(const QString& installDir, Router* router, QString& micSwitch, platform::Joystick* joystick)
    : DialogWindow("frm_Input", installDir),
      m_prompt(new QLabel(this)),
      m_input(new QLineEdit(this)),
      m_timer(new QTimer(this)),
      m_micSwitch(micSwitch),
      m_joystick(joystick) {
  beep = [] { QApplication::beep(); };
  m_prompt->setObjectName("lbl_Prompt");
  m_input->setObjectName("txt_Input");
  m_timer->setObjectName("Timer1");
  m_timer->setInterval(100);
  message()->setGeometry(76, 46, 410, 96);
  m_prompt->setGeometry(76, 146, 410, 20);
  m_prompt->setAttribute(Qt::WA_TranslucentBackground);
  m_prompt->setStyleSheet("background: transparent; color: rgb(35, 42, 52); font-weight: bold;");
  m_input->setGeometry(76, 170, 410, 26);
  m_input->setMaxLength(256);  // a phrase or readback field holds 256
  m_ok = MakeButton<SmallButton>(this, installDir, router, {"btn_OK", 385, 209, "ok", "btn_ParentOK", "enabled", ""});
  m_cancel = MakeButton<SmallButton>(this, installDir, router,
                                     {"btn_Cancel", 280, 209, "cancel", "btn_ParentCancel", "enabled", ""});
  m_ok->setFollowsFocus(true);
  m_cancel->setFollowsFocus(true);
  setTabOrder(m_input, m_cancel);  // the field, then the buttons left to right
  setTabOrder(m_cancel, m_ok);
  LoadIcon("icon_Question.bmp", '?');
  m_input->installEventFilter(this);
  connect(m_timer, &QTimer::timeout, this, &frm_Input::PollJoystick);
}

void frm_Input::SetCaptureMode(bool on) {
  m_capture = on;
  if (on)
    m_timer->start();
  else
    m_timer->stop();
}

void frm_Input::showEvent(QShowEvent* event) {
  DialogWindow::showEvent(event);
  // The field is named by its prompt, or the dialog's title without one.
  m_input->setAccessibleName(m_prompt->text().isEmpty() ? title()->text() : m_prompt->text());
  m_input->setFocus(Qt::OtherFocusReason);
}

void frm_Input::CaptureKey(int code, bool shiftOnly) {
  const bool digit = code >= 48 && code <= 57;
  const bool letter = (code >= 65 && code <= 90) || (code >= 97 && code <= 122);
  if (digit || letter) {
    const QString ch = digit ? QString(QChar(code)) : QString(QChar(code)).toLower();
    m_captured = (shiftOnly ? QStringLiteral("shift+") : QString()) + ch;
  } else {
    if (beep) beep();
  }
  m_input->clear();
  m_micSwitch = m_captured;
}

void frm_Input::PollJoystick() {
  if (++m_counter > 4) m_counter = 0;
  if (!m_joystick || !m_joystick->JoystickPresent(m_counter)) return;
  const uint32_t mask = m_joystick->ReadJoystickButtons(m_counter);
  for (int n = 0; n < 16; ++n) {
    if (!(mask & (1u << n))) continue;
    const QString value = QString("joystick:%1:button:%2").arg(m_counter).arg(n);
    m_input->setText(value);
    m_micSwitch = value;
  }
}

bool frm_Input::eventFilter(QObject* watched, QEvent* event) {
  if (watched != m_input) return false;
  switch (event->type()) {
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (m_capture) {
        // A modifier on its own is part of the next key, not a key of its own.
        const int k = key->key();
        if (k != Qt::Key_Shift && k != Qt::Key_Control && k != Qt::Key_Alt && k != Qt::Key_Meta)
          CaptureKey(VirtualKeyCode(*key), ShiftOnly(*key));
        return true;
      }
      if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        m_ok->button_pressed();
        return true;
      }
      break;
    }
    case QEvent::KeyRelease:
      if (m_capture) {
        if (!static_cast<QKeyEvent*>(event)->isAutoRepeat()) m_input->setText(m_captured);
        return true;
      }
      break;
    case QEvent::ShortcutOverride:
      // Every key goes to the capture, none to shortcuts.
      if (m_capture) event->accept();
      break;
    case QEvent::FocusIn:
      QTimer::singleShot(0, m_input, [this] { m_input->setSelection(0, m_input->text().trimmed().size()); });
      break;
    default: break;
  }
  return false;
}

}  // namespace qv::ui
