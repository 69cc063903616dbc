#pragma once

#include <QPixmap>
#include <QWidget>

class QLabel;
class QPlainTextEdit;

namespace qv::shell {
struct Context;
}

namespace qv::grammar {

class GrammarScreenHost;
class SpeechFacade;
class frm_Configure;

// The grammar test screen: the sentences of one phrase, and what the
// recogniser heard each time the user speaks.
class frm_Test final : public QWidget {
 public:
  frm_Test(shell::Context& ctx, SpeechFacade& speech, GrammarScreenHost& host, QWidget* parent = nullptr);

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

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void ShowIcon(const QString& file);

  shell::Context& m_ctx;
  SpeechFacade& m_speech;
  GrammarScreenHost& m_host;
  QPixmap m_background;
  QString m_icon;
};

}  // namespace qv::grammar
