#include "gui/shell/frm_Home.h"

#include <QFileInfo>
#include <QLabel>
#include <QPainter>

#include "gui/kit/SmallFontFix.h"

namespace qv::shell {

frm_Home::frm_Home(const QString& installDir, ui::Router* router) {
  setObjectName("frm_Home");
  setFixedSize(790, 447);
  const QString bg = installDir + "/Media/Forms/Home_BG.bmp";
  if (QFileInfo::exists(bg)) m_background.load(bg);

  struct Row {
    const char* name;
    int top;
    const char* type;
    const char* picture;
    const char* tip;
  };
  static const Row rows[] = {
      {"btn_LearningCenter", 59, "learning_center", "btn_LearningCenter",
       "Click to access the learning center, to learn how to use Quorvane."},
      {"btn_SpeechConfig", 129, "speech_config", "btn_Configuration",
       "Click to modify the existing speech configuration files for Quorvane."},
      {"btn_ChecklistAssignments", 199, "checklist_assignments", "btn_ChecklistAssignments",
       "Click to change or add checklist assignments to aircraft in FSX."},
      {"btn_ChecklistModification", 269, "checklist_modification", "btn_ChecklistModification",
       "Click to create new or modify existing verbal checklists in FSX"},
      {"btn_Launch", 339, "launch_fsx", "btn_Launch",
       "Click to close the Quorvane interface and start FSX with speech recognition"},
  };
  for (const Row& r : rows)
    ui::MakeButton<ui::LargeButton>(this, installDir, router,
                                    {r.name, 471, r.top, r.type, r.picture, "enabled", r.tip, this});

  // The artwork carries the welcome text; without it a short one stands in.
  if (m_background.isNull()) {
    auto* title = new QLabel("Welcome aboard", this);
    title->setObjectName("lbl_Welcome");
    title->setGeometry(36, 56, 400, 34);
    QFont f = title->font();
    f.setPointSize(f.pointSize() + 8);
    f.setBold(true);
    title->setFont(f);
    auto* text = new QLabel(
        "Talk to your aircraft and hear your copilot answer.\n\n"
        "Shape the phrases you speak, build spoken checklists and give each aircraft its own, "
        "then launch FSX with speech recognition running.\n\n"
        "New here? Start with the Learning Center.",
        this);
    text->setObjectName("lbl_Intro");
    text->setGeometry(38, 104, 390, 200);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  }
  for (QLabel* l : findChildren<QLabel*>()) {
    l->setAttribute(Qt::WA_TranslucentBackground);
    l->setStyleSheet("background: transparent; color: rgb(45, 45, 45);");
  }
  ui::ApplySmallFontFix(this);
}

void frm_Home::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (!m_background.isNull()) {
    p.drawPixmap(0, 0, m_background);
    return;
  }
  QLinearGradient g(0, 0, width(), 0);
  g.setColorAt(0, QColor(226, 232, 238));
  g.setColorAt(1, QColor(200, 210, 220));
  p.fillRect(rect(), g);
  p.setPen(QColor(150, 164, 178));
  p.drawLine(450, 40, 450, height() - 40);
}

}  // namespace qv::shell
