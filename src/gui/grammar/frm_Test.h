#pragma once

#include "gui/kit/SkinnedScreen.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QTimer;

namespace qv::grammar {

// The grammar test screen: the sentences of one phrase, and what the
// recogniser heard each time the user speaks.
class frm_Test final : public ui::SkinnedScreen {
  Q_OBJECT

 public:
  frm_Test(const ui::ScreenServices& services, ui::ScreenHost& host);

  // "test_grammar" of the configuration screen, after it remembered its
  // selections: writes the test grammar, loads the recogniser, lists the
  // sentences and shows this screen.
  void Begin(int commandIndex, int grammarIndex);
  // Listens once. The recogniser keeps the event loop running while it
  // listens, so the screen paints, the level meter moves and "cancel" works;
  // a second "start" meanwhile is ignored.
  void Start();
  void Cancel();
  bool listening() const { return m_listening; }

  // Sentences trimmed, first character upper-cased, numbered from 1.
  static QString NumberedSentences(const QStringList& sentences);

  QLabel* pic_Icon;
  QPlainTextEdit* txtScript;
  QLabel* lblResult;
  QProgressBar* pb_Level;                       // input level while listening
  QLabel* lbl_Status;                           // listening, then how long was heard
  QString iconShown() const { return m_icon; }  // file name of the icon shown

 private:
  void ShowIcon(const QString& file);
  void ShowLevel();

  SpeechFacade& m_speech;
  QString m_icon;
  QTimer* m_meterTimer;
  bool m_listening = false;
};

}  // namespace qv::grammar
