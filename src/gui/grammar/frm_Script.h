#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

class QTextEdit;

namespace qv::shell {
struct Context;
}

namespace qv::grammar {

class GrammarScreenHost;

// The grammar script viewer: the document BuildGrammarScript makes, shown
// with its formatting, and saved as it was built.
class frm_Script final : public QWidget {
 public:
  frm_Script(shell::Context& ctx, GrammarScreenHost& host, QWidget* parent = nullptr);

  // "script" of the configuration screen, after it remembered its selections.
  void Begin();
  void Save();
  void Cancel();

  // The rich text box's content: the document as built (the view shows it
  // read through the RTF reader).
  const QString& document() const { return m_document; }
  void SetDocument(const QString& rtf);

  QTextEdit* rtb;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  shell::Context& m_ctx;
  GrammarScreenHost& m_host;
  QPixmap m_background;
  QString m_document;
};

}  // namespace qv::grammar
