#pragma once

#include <QString>

#include "gui/kit/SkinnedScreen.h"

class QTextEdit;

namespace qv::grammar {

// The grammar script viewer: the document BuildGrammarScript makes, shown
// with its formatting, and saved as it was built.
class frm_Script final : public ui::SkinnedScreen {
  Q_OBJECT

 public:
  frm_Script(const ui::ScreenServices& services, ui::ScreenHost& host);

  // "script" of the configuration screen, after it remembered its selections.
  void Begin();
  void Save();
  void Cancel();

  // The rich text box's content: the document as built (the view shows it
  // read through the RTF reader).
  const QString& document() const { return m_document; }
  void SetDocument(const QString& rtf);

  QTextEdit* rtb;

 private:
  QString m_document;
};

}  // namespace qv::grammar
