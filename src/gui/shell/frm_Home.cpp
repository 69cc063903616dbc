#include "gui/shell/frm_Home.h"

#include <QLabel>
#include <QPainter>

#include "core/shell/Launch.h"
#include "gui/kit/ScreenHost.h"
#include "gui/kit/Skin.h"
#include "gui/shell/ScreenTable.h"

namespace qv::shell {

frm_Home::frm_Home(const ui::ScreenServices& services, ui::ScreenHost& host)
    : SkinnedScreen("frm_Home", services, host, "Home_BG.bmp") {
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
  for (const Row& r : rows) Button<ui::LargeButton>({r.name, 471, r.top, r.type, r.picture, "enabled", r.tip});

  // Each screen the table lets in from here, and the launch.
  for (const ScreenRow& screen : ScreenTable()) {
    if (!screen.entryKey) continue;
    const QString name = screen.name;
    Route(ui::ButtonKind::Large, screen.entryKey, [this, name] { m_host.Enter(name); });
  }
  Route(ui::ButtonKind::Large, "launch_fsx", [this] {
    m_host.HideEverything();
    m_services.launcher.LaunchAndMonitor();
  });

  // The artwork carries the welcome text; without it a short one stands in.
  if (!hasArtwork()) {
    QLabel* title = ui::MakeLabel(this, "lbl_Welcome", "Welcome aboard", {36, 56, 400, 34});
    QFont f = title->font();
    f.setPointSize(f.pointSize() + 8);
    f.setBold(true);
    title->setFont(f);
    QLabel* text = ui::MakeLabel(this, "lbl_Intro",
                                 "Talk to your aircraft and hear your copilot answer.\n\n"
                                 "Shape the phrases you speak, build spoken checklists and give each aircraft its "
                                 "own, then launch FSX with speech recognition running.\n\n"
                                 "New here? Start with the Learning Center.",
                                 {38, 104, 390, 200});
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  }
}

void frm_Home::PaintWithoutArtwork(QPainter& p) {
  QLinearGradient g(0, 0, width(), 0);
  g.setColorAt(0, QColor(226, 232, 238));
  g.setColorAt(1, QColor(200, 210, 220));
  p.fillRect(rect(), g);
  p.setPen(QColor(150, 164, 178));
  p.drawLine(450, 40, 450, height() - 40);
}

}  // namespace qv::shell
