#pragma once

#include "gui/kit/SkinnedScreen.h"

class QLabel;
class QPlainTextEdit;

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
  void Start();
  void Cancel();

  // Sentences trimmed, first character upper-cased, numbered from 1.
  static QString NumberedSentences(const QStringList& sentences);

  QLabel* pic_Icon;
  QPlainTextEdit* txtScript;
  QLabel* lblResult;
  QString iconShown() const { return m_icon; }  // file name of the icon shown

 private:
  void ShowIcon(const QString& file);

  SpeechFacade& m_speech;
  QString m_icon;
};

}  // namespace qv::grammar
