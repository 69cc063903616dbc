#include "gui/grammar/frm_Script.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QTextEdit>

#include "core/grammar/GrammarScript.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"
#include "gui/grammar/GrammarScreenHost.h"
#include "gui/grammar/frm_Configure.h"
#include "gui/kit/RtfReader.h"

namespace qv::grammar {

frm_Script::frm_Script(shell::Context& ctx, GrammarScreenHost& host, QWidget* parent)
    : QWidget(parent), m_ctx(ctx), m_host(host) {
  setObjectName("frm_Script");
  setFixedSize(790, 447);
  const QString bg = ctx.state.installDir + "/Media/Forms/Sub_BG.bmp";
  if (QFileInfo::exists(bg)) m_background.load(bg);
  rtb = new QTextEdit(this);
  rtb->setObjectName("rtb");
  rtb->setGeometry(15, 12, 760, 423);
  rtb->setReadOnly(true);
  rtb->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  rtb->setStyleSheet("QTextEdit { background: white; color: black; }");
}

void frm_Script::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (!m_background.isNull())
    p.drawPixmap(0, 0, m_background);
  else
    p.fillRect(rect(), QColor(214, 222, 230));
}

void frm_Script::SetDocument(const QString& rtf) {
  m_document = rtf;
  ui::ReadRtf(rtf, *rtb->document());
}

void frm_Script::Begin() {
  shell::Dialogs& d = m_ctx.dialogs;
  d.ProgressOpen("Creating Grammar Script",
                 shell::JoinLines({"Creating the complete grammar phrases script.", "Please standby..."}));
  QString document;
  if (BuildGrammarScript(m_ctx, document)) SetDocument(document);
  d.ProgressHide();

  m_host.ShowScreen(this);
  m_host.SetFrameButton(FrameButton::OK,
                        {"save", "btn_ParentSave", "enabled", "Click to save the generated script to a file.", true});
  m_host.SetFrameButton(FrameButton::Cancel, {"cancel", "btn_ParentReturn", "enabled",
                                              "Click to return to the Configuration screen of Quorvane", true});
  m_host.SetFrameButtonState(FrameButton::Compile, "disabled");
  m_host.SetTip("frm_Script");
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
  if (auto* configure = dynamic_cast<frm_Configure*>(m_host.Screen("frm_Configure"))) configure->ReturnWithSelections();
}

}  // namespace qv::grammar
