#include "gui/grammar/frm_Script.h"

#include <QDir>
#include <QTextEdit>

#include "core/grammar/GrammarScript.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"
#include "gui/grammar/frm_Configure.h"
#include "gui/kit/RtfReader.h"
#include "gui/kit/ScreenHost.h"

namespace qv::grammar {

frm_Script::frm_Script(const ui::ScreenServices& services, ui::ScreenHost& host)
    : SkinnedScreen("frm_Script", services, host, "Sub_BG.bmp") {
  rtb = new QTextEdit(this);
  rtb->setObjectName("rtb");
  rtb->setAccessibleName("Grammar script");
  rtb->setGeometry(15, 12, 760, 423);
  rtb->setReadOnly(true);
  rtb->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  rtb->setStyleSheet("QTextEdit { background: white; color: black; }");
  Route(ui::ButtonKind::Small, "save", [this] { Save(); });
  Route(ui::ButtonKind::Small, "cancel", [this] { Cancel(); });
}

void frm_Script::SetDocument(const QString& rtf) {
  m_document = rtf;
  ui::ReadRtf(rtf, *rtb->document());
  // Reading moved the box's cursor along to the end: the script opens at its title.
  rtb->moveCursor(QTextCursor::Start);
}

void frm_Script::Begin() {
  shell::Dialogs& d = m_ctx.dialogs;
  d.ProgressOpen("Creating Grammar Script",
                 shell::JoinLines({"Creating the complete grammar phrases script.", "Please standby..."}));
  QString document;
  if (BuildGrammarScript(m_ctx, document)) SetDocument(document);
  d.ProgressHide();

  m_host.Enter(objectName());
}

void frm_Script::Save() {
  const QString path = GrammarScriptPath(m_ctx.state.installDir);
  QString error;
  if (!SaveGrammarScript(m_document, path, &error)) {
    m_ctx.dialogs.ShowMessage(
        "Grammar Script Not Saved",
        shell::JoinLines({"The grammar script could not be saved to " + QDir::toNativeSeparators(path) + ".", error,
                          "Please press OK to continue..."}),
        shell::kIconError, true, false, QString());
    return;
  }
  m_ctx.dialogs.ShowMessage("Grammar Script Saved",
                            shell::JoinLines({"The complete grammar script has been saved to a rich text file.  The "
                                              "file is found in the Quorvane main directory.",
                                              "Please press OK to continue..."}),
                            shell::kIconInformation, true, false, QString());
}

void frm_Script::Cancel() {
  if (auto* configure = dynamic_cast<frm_Configure*>(m_host.screen("frm_Configure"))) configure->ReturnWithSelections();
}

}  // namespace qv::grammar
