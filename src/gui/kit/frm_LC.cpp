#include "gui/kit/frm_LC.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QPainter>
#include <QRegularExpression>
#include <QUrl>

#include "gui/kit/ScreenHost.h"
#include "gui/kit/Skin.h"

namespace qv::ui {

namespace {

// Stand-ins for the tree's images when their bitmaps are missing.
QIcon DrawnImage(int image) {
  QPixmap pm(16, 16);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor ink(49, 82, 117);
  p.setPen(ink);
  switch (image) {
    case 1:  // closed book
      p.setBrush(QColor(92, 126, 164));
      p.drawRoundedRect(QRectF(2.5, 1.5, 11, 13), 1.5, 1.5);
      p.fillRect(QRectF(4, 3, 1.5, 10), QColor(230, 236, 244));
      break;
    case 2:  // open book
      p.setBrush(QColor(236, 240, 246));
      p.drawPolygon(QPolygonF({QPointF(1, 3), QPointF(8, 5), QPointF(8, 14), QPointF(1, 12)}));
      p.drawPolygon(QPolygonF({QPointF(15, 3), QPointF(8, 5), QPointF(8, 14), QPointF(15, 12)}));
      break;
    default: {  // a page; the corner mark tells the kinds apart
      p.setBrush(Qt::white);
      p.drawRect(QRectF(3.5, 1.5, 9, 13));
      const QColor mark = image == 4 ? QColor(60, 130, 90) : image == 5 ? QColor(200, 140, 40) : ink;
      p.setPen(mark);
      for (int y = 5; y <= 11; y += 3) p.drawLine(QPointF(5.5, y), QPointF(10.5, y));
      break;
    }
  }
  return QIcon(pm);
}

}  // namespace

const QList<frm_LC::Topic>& frm_LC::Topics() {
  static const QList<Topic> topics{
      {"Welcome", "KEY_Welcome", nullptr, 1},
      {"Why Use Quorvane", "KEY_WhyUse", "KEY_Welcome", 5},
      {"System Requirements", "KEY_SysReq", "KEY_Welcome", 4},
      {"Help Using Quorvane", "KEY_HelpUse", "KEY_Welcome", 4},
      {"Using the Interface", "KEY_InterfaceMain", nullptr, 1},
      {"Speech Configuration", "KEY_ConfigurationOverview", "KEY_InterfaceMain", 1},
      {"Configuration Screen", "KEY_ConfigurationMain", "KEY_ConfigurationOverview", 3},
      {"Testing Grammar", "KEY_ConfigurationTest", "KEY_ConfigurationOverview", 3},
      {"Grammar Script", "KEY_ConfigurationScript", "KEY_ConfigurationOverview", 3},
      {"Commands Heard Alike", "KEY_ConfigurationOverlaps", "KEY_ConfigurationOverview", 3},
      {"Pronunciations", "KEY_ConfigurationPronunciations", "KEY_ConfigurationOverview", 3},
      {"Checklist Assignments", "KEY_ChecklistAssignments", "KEY_InterfaceMain", 3},
      {"Checklist Modification", "KEY_ChecklistModification", "KEY_InterfaceMain", 3},
      {"Grammar Scripting", "KEY_ScriptingOverview", nullptr, 1},
      {"Scripting Language", "KEY_Scripting", "KEY_ScriptingOverview", 3},
      {"Tutorials", "KEY_Tutorials", nullptr, 1},
      {"Creating a New Checklist", "KEY_TutorialsNewChecklist", "KEY_Tutorials", 3},
      {"Use in Flight Simulator X", "KEY_UseOverview", nullptr, 1},
      {"Using Checklists in FSX", "KEY_ChecklistUseInFSX", "KEY_UseOverview", 3},
      {"Generic Phrases in FSX", "KEY_GenericUseInFSX", "KEY_UseOverview", 3},
      {"Special Phrases in FSX", "KEY_SpecialUseInFSX", "KEY_UseOverview", 3},
      {"Technical Reference", "KEY_TechRef", nullptr, 1},
      {"Setting Up Your Microphone", "KEY_Microphone", "KEY_TechRef", 3},
      {"Legal Information", "KEY_Legal", nullptr, 1},
      {"EULA", "KEY_EULA", "KEY_Legal", 3},
      {"Credits", "KEY_Credits", "KEY_Legal", 3},
      {"Company Information", "KEY_CompanyInfo", nullptr, 4},
  };
  return topics;
}

QString frm_LC::PagePath(const QString& installDir, const QString& key) {
  static const QRegularExpression prefix("KEY_", QRegularExpression::CaseInsensitiveOption);
  return installDir + "/Help/" + QString(key).remove(prefix).trimmed() + ".htm";
}

frm_LC::frm_LC(const ScreenServices& services, ScreenHost& host)
    : SkinnedScreen("frm_LC", services, host, "Sub_BG.bmp"),
      m_title(MakeLabel(this, "lblTitle", {}, {262, 10, 512, 30}, QColor(49, 82, 117))),
      m_tree(new QTreeWidget(this)),
      m_browser(new QTextBrowser(this)) {
  const QString& installDir = m_installDir;
  m_tree->setObjectName("helpTV");
  m_tree->setAccessibleName("Topics");
  m_browser->setAccessibleName("Topic");  // the title above it changes with the topic
  m_browser->setObjectName("WebBrowser2");
  QFont tf = m_title->font();
  tf.setPointSize(tf.pointSize() + 5);
  tf.setBold(true);
  m_title->setFont(tf);
  m_tree->setGeometry(14, 14, 236, 420);
  m_browser->setGeometry(262, 46, 514, 388);

  for (int image = 1; image <= 5; ++image) {
    const QString path = installDir + QString("/Media/Tree/LC_%1.bmp").arg(image);
    QPixmap pm;
    if (QFileInfo::exists(path)) pm.load(path);
    m_images << (pm.isNull() ? DrawnImage(image) : QIcon(pm));
  }

  m_tree->setHeaderHidden(true);
  m_tree->setColumnCount(1);
  m_tree->setIndentation(16);
  m_tree->header()->setStretchLastSection(true);
  for (const Topic& t : Topics()) {
    QTreeWidgetItem* parentItem = t.parent ? item(t.parent) : nullptr;
    auto* it = parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(m_tree);
    it->setText(0, t.title);
    it->setData(0, kKeyRole, QString(t.key));
    SetImage(it, t.image);
  }
  connect(m_tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* it) { TopicClicked(it); });
  connect(m_tree, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* it) { SetImage(it, 2); });
  connect(m_tree, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* it) { SetImage(it, 1); });

  m_browser->setOpenLinks(true);
  m_browser->setOpenExternalLinks(true);
  m_browser->setSearchPaths({installDir + "/Help"});
  m_title->setText("Welcome");
  Navigate(installDir + "/Help/Welcome.htm");
  Route(ButtonKind::Small, "cancel", [this] { m_host.ReturnHome(); });
}

QTreeWidgetItem* frm_LC::item(const QString& key) const {
  for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
    if ((*it)->data(0, kKeyRole).toString() == key) return *it;
  return nullptr;
}

void frm_LC::SetImage(QTreeWidgetItem* item, int image) {
  if (!item || image < 1 || image > m_images.size()) return;
  item->setIcon(0, m_images[image - 1]);
  item->setData(0, kImageRole, image);
}

void frm_LC::TopicClicked(QTreeWidgetItem* item) {
  if (!item) return;
  const QString page = PagePath(m_installDir, item->data(0, kKeyRole).toString());
  if (!QFileInfo::exists(page)) return;  // a missing page changes nothing
  m_title->setText(item->text(0).trimmed());
  Navigate(page);
}

void frm_LC::Navigate(const QString& page) {
  if (QFileInfo::exists(page)) m_browser->setSource(QUrl::fromLocalFile(page));
}

}  // namespace qv::ui
