#include "gui/shell/frm_Placeholder.h"

#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "gui/kit/SmallFontFix.h"
#include "gui/shell/frm_Parent.h"

namespace qv::shell {

namespace {

QString Title(const QString& name) {
  if (name == "frm_Modify") return "Checklist Modification";
  if (name == "frm_Assign") return "Checklist Assignments";
  if (name == "frm_Configure") return "Speech Configuration";
  if (name == "frm_Script") return "Grammar Script";
  if (name == "frm_Test") return "Grammar Test";
  return name;
}

}  // namespace

frm_Placeholder::frm_Placeholder(const QString& name, const QString& installDir) {
  setObjectName(name);
  setFixedSize(790, 447);
  const QString bg = installDir + "/Media/Forms/Sub_BG.bmp";
  if (QFileInfo::exists(bg)) m_background.load(bg);
  auto* title = new QLabel(Title(name), this);
  title->setObjectName("lblTitle");
  QFont f = title->font();
  f.setPointSize(f.pointSize() + 6);
  f.setBold(true);
  title->setFont(f);
  auto* note = new QLabel("This screen is not part of this build yet.", this);
  note->setObjectName("lbl_Note");
  auto* layout = new QVBoxLayout(this);
  layout->addStretch();
  layout->addWidget(title, 0, Qt::AlignCenter);
  layout->addWidget(note, 0, Qt::AlignCenter);
  layout->addStretch();
  for (QLabel* l : {title, note}) l->setStyleSheet("background: transparent; color: rgb(49, 82, 117);");
  ui::ApplySmallFontFix(this);
}

void frm_Placeholder::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (!m_background.isNull())
    p.drawPixmap(0, 0, m_background);
  else
    p.fillRect(rect(), QColor(214, 222, 230));
}

void RegisterPlaceholderRoutes(ui::Router& router, frm_Parent& frame) {
  using K = ui::ButtonKind;
  for (const char* screen : {"frm_Modify", "frm_Assign", "frm_Configure"})
    router.Register(K::Small, screen, "cancel", [&frame] { frame.ReturnHome(); });
  for (const char* screen : {"frm_Script", "frm_Test"})
    router.Register(K::Small, screen, "cancel", [&frame] {
      frame.HideScreen(frame.currentScreen);
      frame.EnterScreen("speech_config");
    });
}

}  // namespace qv::shell
