#include "gui/kit/SkinnedDialogs.h"

#include <QCoreApplication>
#include <QMetaMethod>
#include <QPointer>
#include <QTimer>

#include "core/shell/AppState.h"
#include "gui/kit/DialogTags.h"
#include "gui/kit/frm_Input.h"
#include "gui/kit/frm_Message.h"
#include "gui/kit/frm_Progress.h"

namespace qv::ui {

SkinnedDialogs::SkinnedDialogs(shell::AppState& state, Router& router, platform::Joystick* joystick, DialogHost& host)
    : m_state(state),
      m_router(router),
      m_joystick(joystick),
      m_host(host),
      m_messageRoutes(router, "frm_Message"),
      m_inputRoutes(router, "frm_Input") {
  m_messageRoutes.Add(ButtonKind::Small, "ok", [this] { MessageOk(); });
  m_messageRoutes.Add(ButtonKind::Small, "cancel", [this] { message()->CloseDialog(); });
  m_inputRoutes.Add(ButtonKind::Small, "ok", [this] { InputOk(); });
  m_inputRoutes.Add(ButtonKind::Small, "cancel", [this] { InputCancel(); });
}

SkinnedDialogs::~SkinnedDialogs() = default;

frm_Message* SkinnedDialogs::message() {
  if (!m_message) m_message = std::make_unique<frm_Message>(m_state.installDir, &m_router);
  return m_message.get();
}

frm_Input* SkinnedDialogs::input() {
  if (!m_input)
    m_input = std::make_unique<frm_Input>(m_state.installDir, &m_router, m_state.settings.micSwitch, m_joystick);
  return m_input.get();
}

frm_Progress* SkinnedDialogs::progress() {
  if (!m_progress) m_progress = std::make_unique<frm_Progress>(m_state.installDir);
  return m_progress.get();
}

QList<QWidget*> SkinnedDialogs::loadedDialogs() const {
  QList<QWidget*> list;
  if (m_message) list << m_message.get();
  if (m_input) list << m_input.get();
  if (m_progress) list << m_progress.get();
  return list;
}

void SkinnedDialogs::Present(DialogWindow* dialog) {
  if (isSignalConnected(QMetaMethod::fromSignal(&SkinnedDialogs::dialogUp))) {
    QPointer<DialogWindow> target(dialog);
    QTimer::singleShot(0, dialog, [this, target] {
      if (target && target->isVisible()) emit dialogUp(target);
    });
  }
  dialog->RunModal();
}

void SkinnedDialogs::ShowMessage(const QString& title, const QString& text, int icon, bool showOk, bool showCancel,
                                 const QString& tag) {
  frm_Message* dlg = message();
  dlg->title()->setText(DialogWindow::DisplayText(title));
  dlg->SetFittedMessage(text);
  dlg->okButton()->setVisible(showOk);
  dlg->cancelButton()->setVisible(showCancel);
  switch (icon) {
    case shell::kIconInformation: dlg->LoadIcon("icon_Information.bmp", 'i'); break;
    case shell::kIconWarning: dlg->LoadIcon("icon_Warning.bmp", '!'); break;
    case shell::kIconError: dlg->LoadIcon("icon_Error.bmp", 'x'); break;
    default: break;  // the icon shown last stays
  }
  dlg->CentreOver(Frame(), false);
  dialogName = tag;
  Present(dlg);
}

void SkinnedDialogs::ShowInput(const QString& title, const QString& text, const QString& prompt, bool showOk,
                               bool showCancel, const QString& defaultText, const QString& tag) {
  frm_Input* dlg = input();
  dlg->title()->setText(DialogWindow::DisplayText(title));
  dlg->message()->setText(DialogWindow::DisplayText(text));
  dlg->prompt()->setText(DialogWindow::DisplayText(prompt));
  dlg->okButton()->setVisible(showOk);
  dlg->cancelButton()->setVisible(showCancel);
  dlg->LoadIcon("icon_Question.bmp", '?');
  dlg->CentreOver(Frame(), true);
  dlg->input()->setText(defaultText);
  dlg->SetCaptureMode(tag.trimmed().toLower() == kMicSwitchTag);
  inputName = tag;
  Present(dlg);
}

void SkinnedDialogs::ProgressOpen(const QString& title, const QString& text) {
  frm_Progress* dlg = progress();
  dlg->title()->setText(DialogWindow::DisplayText(title));
  dlg->message()->setText(DialogWindow::DisplayText(text));
  dlg->CentreOver(Frame(), true);
  dlg->bar()->setRange(0, 100);
  dlg->bar()->setValue(0);
  dlg->percentage()->setText("0%");
  dlg->show();
  dlg->raise();
  // Let the window system map it once; after this the work holds the thread
  // and only explicit repaints show progress.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  dlg->repaint();
}

void SkinnedDialogs::ProgressUpdate(const QString& text, double percent) {
  frm_Progress* dlg = progress();
  dlg->message()->setText(DialogWindow::DisplayText(text));
  dlg->percentage()->setText(frm_Progress::PercentText(percent));
  dlg->bar()->setValue(frm_Progress::BarValue(percent));
  dlg->repaint();
}

void SkinnedDialogs::ProgressHide() {
  if (m_progress) m_progress->hide();
}

void SkinnedDialogs::MessageOk() {
  frm_Message* dlg = message();
  const MessageTagRow* row = FindMessageTag(dialogName);
  if (!row) {
    dlg->CloseDialog();
    return;
  }
  if (row->hideFirst) dlg->CloseDialog();
  switch (row->followUp) {
    case TagFollowUp::Shutdown: emit shutdownRequested(); break;
    case TagFollowUp::Registered: emit messageAccepted(dialogName); break;
    case TagFollowUp::RestartRuntime: emit restartRequested(QString::fromLatin1(row->screen)); break;
  }
  if (!row->hideFirst) dlg->CloseDialog();
}

void SkinnedDialogs::InputOk() {
  frm_Input* dlg = input();
  const QString text = dlg->input()->text();
  dlg->SetCaptureMode(false);
  dlg->CloseDialog();
  emit inputAccepted(inputName, text);
}

void SkinnedDialogs::InputCancel() {
  frm_Input* dlg = input();
  dlg->SetCaptureMode(false);
  dlg->CloseDialog();
}

void SkinnedDialogs::AskMicrophoneSwitch() {
  ShowInput("Microphone Switch",
            "Enter a Keypress or Joystick button for use as the microphone switch.  Just press the key or button to "
            "register it for use as the microphone switch.",
            "Press Key or Button", true, true, m_state.settings.micSwitch, kMicSwitchTag);
}

}  // namespace qv::ui
