#pragma once

#include "core/grammar/Rehearsal.h"
#include "gui/kit/SkinnedScreen.h"

class QLabel;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QTimer;

namespace qv::grammar {

// The rehearsal view: the pilot speaks as in flight, every category
// listening at once, and sees which command that would fire (category, name,
// the words heard, its event and action) and hears the copilot's readback.
// The latest attempts stay listed; choosing one opens that command on the
// configuration screen.
class frm_Rehearse final : public ui::SkinnedScreen {
  Q_OBJECT

 public:
  frm_Rehearse(const ui::ScreenServices& services, ui::ScreenHost& host);

  // "rehearse" of the configuration screen: loads every category's compiled
  // grammar and shows this screen, or says why it cannot.
  void Begin();
  // Listens once (the start button, or the microphone key); the event loop
  // runs meanwhile, so the meter moves and "cancel" works.
  void Start();
  void Cancel();
  // Opens the attempt's command on the configuration screen.
  void OpenAttempt(int row);
  bool listening() const { return m_listening; }
  const RehearsalLog& log() const { return m_log; }

  QLabel* pic_Icon;
  QLabel* lbl_Command;   // "category / command", or "not a command"
  QLabel* lbl_Words;
  QLabel* lbl_Detail;    // event, action, confidence
  QProgressBar* pb_Level;
  QLabel* lbl_Status;
  QListWidget* lst_Attempts;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  // The microphone key listens while it is held, as in flight.
  void HoldToTalk();
  void Released();
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  RehearsalRecognizer* Engine();
  void Show(const RehearsalResult& result);
  void ShowIcon(const QString& file);
  void ShowLevel();
  bool IsMicrophoneKey(const QKeyEvent& event) const;

  SpeechFacade& m_speech;
  UnavailableRehearsalRecognizer m_unavailable;
  RehearsalLog m_log;
  QTimer* m_meterTimer;
  bool m_listening = false;
  bool m_keyHeld = false;  // this listen lasts while the microphone key is down
};

}  // namespace qv::grammar
