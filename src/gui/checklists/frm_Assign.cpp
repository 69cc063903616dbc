#include "gui/checklists/frm_Assign.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QTreeWidget>
#include <algorithm>

#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "gui/kit/ScreenHost.h"
#include "gui/kit/Skin.h"
#include "platform/SimInstallation.h"

namespace qv::checklists {

namespace {

constexpr int kKeyRole = Qt::UserRole;
constexpr int kImageRole = Qt::UserRole + 1;
const QString kRestoreDefaultText = QStringLiteral("-- Restore Default --");

using ui::MakeLabel;

}  // namespace

int AircraftNodeNumber(int m, int t, int v) { return (m + 1) * 1000000 + (t + 1) * 1000 + (v + 1); }

std::array<int16_t, 3> AircraftNodeIndexes(const QString& key) {
  const int number = key.mid(4).toInt();
  const int m = number / 1000000;
  const int t = (number - m * 1000000) / 1000;
  const int v = number - m * 1000000 - t * 1000;
  return {int16_t(m - 1), int16_t(t - 1), int16_t(v - 1)};
}

int SummaryImage(bool allWrittenOrAssigned, bool allWritten, bool someWritten, bool someAssignedNotWritten) {
  if (allWrittenOrAssigned) {
    if (allWritten) return 4;
    return someWritten ? 6 : 2;
  }
  if (someWritten) return someAssignedNotWritten ? 7 : 5;
  return someAssignedNotWritten ? 3 : 1;
}

frm_Assign::frm_Assign(const ui::ScreenServices& services, ui::ScreenHost& host)
    : SkinnedScreen("frm_Assign", services, host, "Assign_BG.bmp"), m_editor(services.ctx, services.launcher) {
  const QString& dir = m_installDir;
  for (int i = 1; i <= 7; ++i) {
    m_marks[i].load(dir + QString("/Media/Tree/Assign_%1.bmp").arg(i));
    if (!m_marks[i].isNull()) m_icons[i] = QIcon(m_marks[i]);
  }

  MakeLabel(this, "Label2", "Select Aircraft", {30, 14, 300, 18});
  MakeLabel(this, "Label1", "Select Checklist", {350, 14, 200, 18});
  MakeLabel(this, "Label4", "Assigned Checklist Name:", {350, 300, 420, 18});

  acftTV = new QTreeWidget(this);
  acftTV->setObjectName("acftTV");
  acftTV->setGeometry(30, 34, 300, 352);
  acftTV->setHeaderHidden(true);
  acftTV->setColumnCount(1);
  acftTV->viewport()->installEventFilter(this);
  // A node is picked when it becomes the highlighted one (by mouse or key),
  // and again when it is clicked while highlighted.
  connect(acftTV, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* node) { NodePicked(node); });
  connect(acftTV, &QTreeWidget::itemClicked, this, &frm_Assign::NodePicked);

  lstChecklists = new QListWidget(this);
  lstChecklists->setObjectName("lstChecklists");
  lstChecklists->setGeometry(350, 34, 200, 256);
  connect(lstChecklists, &QListWidget::currentItemChanged, this,
          [this](QListWidgetItem* entry) { EntryPicked(entry); });
  connect(lstChecklists, &QListWidget::itemClicked, this, &frm_Assign::EntryPicked);

  Image1 = MakeLabel(this, "Image1", {}, {570, 34, 200, 150});
  Image1->setAlignment(Qt::AlignCenter);
  lbl_Manufacturer = MakeLabel(this, "lbl_Manufacturer", {}, {570, 194, 210, 18});
  lbl_Type = MakeLabel(this, "lbl_Type", {}, {570, 214, 210, 18});
  lbl_Variation = MakeLabel(this, "lbl_Variation", {}, {570, 234, 210, 36});
  lbl_Variation->setWordWrap(true);
  lbl_Variation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lbl_Checklist = MakeLabel(this, "lbl_Checklist", {}, {350, 320, 420, 18});

  btn_Assign = Button<ui::SmallButton>({"btn_Assign", 30, 397, "assign", "btn_Assign", "disabled",
                                        "Click to assign the selected checklist file to to the selected aircraft."});

  const int checkLeft = btn_Assign->x() + btn_Assign->width() + 16;
  chk_Written = new QCheckBox(this);
  chk_Written->setObjectName("chk_Written");
  chk_Written->setGeometry(checkLeft, 404, 18, 18);
  chk_Written->setStyleSheet("QCheckBox { background: rgb(232, 232, 232); }");
  lbl_Written = MakeLabel(this, "lbl_Written", "Check to Write Checklist to the Aircraft's Kneeboard in FSX.",
                          {checkLeft + 24, 404, 420, 18});
  lbl_Written->installEventFilter(this);
  lbl_Written->setCursor(Qt::PointingHandCursor);

  QFont verdana("Verdana");
  for (QLabel* l : findChildren<QLabel*>()) {
    if (l == Image1) continue;
    verdana.setPointSizeF(l->font().pointSizeF());
    l->setFont(verdana);
  }
  for (QLabel* l : {lbl_Manufacturer, lbl_Type, lbl_Variation, lbl_Checklist}) {
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
  }

  FillAircraftTree();
  FillChecklistList();
  connect(&m_ctx.state, &shell::AppState::aircraftMarksChanged, this, &frm_Assign::RefreshAircraftMarks);
  Route(ui::ButtonKind::Small, "assign", [this] { Assign(); });
  Route(ui::ButtonKind::Small, "save", [this] {
    if (m_editor.Save() == 0) m_host.frameButton(ui::FrameButton::OK)->setState("disabled");
  });
  Route(ui::ButtonKind::Small, "cancel", [this] { m_host.ReturnHome(); });
}

void frm_Assign::Entering() {
  FillChecklistList();
  SelectAssignedEntry();
}

bool frm_Assign::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) {
    // Every click in the tree, on a node or not, asks for a new list choice.
    if (watched == acftTV->viewport()) {
      m_editor.ClearChecklistPick();
      ShowAssignState();
    }
    if (watched == lbl_Written) chk_Written->setChecked(!chk_Written->isChecked());
  }
  return QWidget::eventFilter(watched, event);
}

void frm_Assign::ShowAssignState() { btn_Assign->setState(m_editor.canAssign() ? "enabled" : "disabled"); }

void frm_Assign::FillAircraftTree() {
  acftTV->clear();
  const auto& makers = m_ctx.state.catalogue.manufacturers;
  // The key must stay a signed 32-bit number: at most 2147 manufacturers.
  const int makerCount = std::min<int>(int(makers.size()), 2146);
  // The nodes are made and marked before the tree holds them, then handed to
  // it at once: one change for the tree to take in, not one per node.
  QList<QTreeWidgetItem*> makerNodes;
  makerNodes.reserve(makerCount);
  for (int m = 0; m < makerCount; ++m) {
    auto* mNode = new QTreeWidgetItem(QStringList{makers[m].name.trimmed()});
    makerNodes << mNode;
    mNode->setData(0, kKeyRole, "KEY_" + QString::number(AircraftNodeNumber(m, -1, -1)));
    const auto& types = makers[m].types;
    for (int t = 0; t < int(types.size()) && t < kMaxTreeChildren; ++t) {
      auto* tNode = new QTreeWidgetItem(mNode, {types[t].name.trimmed()});
      tNode->setData(0, kKeyRole, "KEY_" + QString::number(AircraftNodeNumber(m, t, -1)));
      const auto& vars = types[t].variations;
      for (int v = 0; v < int(vars.size()) && v < kMaxTreeChildren; ++v) {
        auto* vNode = new QTreeWidgetItem(tNode, {vars[v].variation.trimmed()});
        vNode->setData(0, kKeyRole, "KEY_" + QString::number(AircraftNodeNumber(m, t, v)));
      }
    }
  }
  MarkNodes(makerNodes);
  acftTV->addTopLevelItems(makerNodes);
}

void frm_Assign::SetNodeImage(QTreeWidgetItem* node, int image) {
  if (ImageOf(node) == image) return;
  node->setData(0, kImageRole, image);
  if (!m_icons[image].isNull()) node->setIcon(0, m_icons[image]);
}

int frm_Assign::ImageOf(const QTreeWidgetItem* node) { return node ? node->data(0, kImageRole).toInt() : 0; }

QTreeWidgetItem* frm_Assign::NodeOf(int m, int t, int v) const {
  QTreeWidgetItem* node = acftTV->topLevelItem(m);
  if (node && t >= 0) node = node->child(t);
  if (node && v >= 0) node = node->child(v);
  return node;
}

void frm_Assign::RefreshAircraftMarks() {
  QList<QTreeWidgetItem*> makers;
  for (int m = 0; m < acftTV->topLevelItemCount(); ++m) makers << acftTV->topLevelItem(m);
  MarkNodes(makers);
}

void frm_Assign::MarkNodes(const QList<QTreeWidgetItem*>& makerNodes) {
  struct Facts {
    bool allWrittenOrAssigned = true, allWritten = true, someWritten = false, someAssignedNotWritten = false;
    void Add(bool written, bool assigned) {
      allWrittenOrAssigned = allWrittenOrAssigned && (written || assigned);
      allWritten = allWritten && written;
      someWritten = someWritten || written;
      someAssignedNotWritten = someAssignedNotWritten || (!written && assigned);
    }
    int Image() const { return SummaryImage(allWrittenOrAssigned, allWritten, someWritten, someAssignedNotWritten); }
  };
  const auto& makers = m_ctx.state.catalogue.manufacturers;
  const auto& assignments = m_ctx.state.assignments;
  for (int m = 0; m < int(makerNodes.size()); ++m) {
    QTreeWidgetItem* mNode = makerNodes[m];
    Facts maker;
    for (int t = 0; t < mNode->childCount(); ++t) {
      QTreeWidgetItem* tNode = mNode->child(t);
      Facts type;
      for (int v = 0; v < tNode->childCount(); ++v) {
        const int a = makers[m].types[t].variations[v].assignmentIndex;
        bool written = false, assigned = false;
        if (a >= 0 && a < int(assignments.size())) {
          written = assignments[a].written != 0;
          assigned = !QStringView(assignments[a].checklistName).trimmed().isEmpty();
        }
        SetNodeImage(tNode->child(v), written ? 4 : assigned ? 2 : 1);
        type.Add(written, assigned);
        maker.Add(written, assigned);
      }
      SetNodeImage(tNode, type.Image());
    }
    SetNodeImage(mNode, maker.Image());
  }
}

void frm_Assign::FillChecklistList() {
  m_filling = true;
  lstChecklists->setEnabled(true);
  lstChecklists->clear();
  auto* restore = new QListWidgetItem(kRestoreDefaultText, lstChecklists);
  restore->setData(Qt::UserRole, AssignmentEditor::kRestoreDefault);
  const QStringList& names = m_ctx.state.checklistNames;
  for (int i = 0; i < names.size(); ++i) {
    auto* item = new QListWidgetItem(names[i].trimmed(), lstChecklists);
    item->setData(Qt::UserRole, i);
  }
  if (!names.isEmpty()) lstChecklists->setCurrentRow(0);
  m_filling = false;
  m_editor.ClearChecklistPick();
  ShowAssignState();
}

void frm_Assign::SelectAssignedEntry() {
  if (!m_editor.isAircraft()) return;
  m_filling = true;
  lstChecklists->clearSelection();
  lstChecklists->setCurrentItem(nullptr);
  if (const int entry = m_editor.assignedEntry(); entry >= 0) lstChecklists->setCurrentRow(entry + 1);
  m_filling = false;
}

void frm_Assign::EntryPicked(QListWidgetItem* entry) {
  if (m_filling || !entry) return;
  m_editor.PickChecklist(entry->data(Qt::UserRole).toInt());
  ShowAssignState();
}

void frm_Assign::NodePicked(QTreeWidgetItem* node) {
  if (!node) return;
  m_editor.PickAircraft(AircraftNodeIndexes(node->data(0, kKeyRole).toString()));
  ShowAssignState();
  const AircraftVariation* var = m_editor.variation();
  if (!var) return;  // a manufacturer or type: the details of the last aircraft stay
  const auto [m, t, v] = m_editor.selected();
  const AircraftManufacturer& maker = m_ctx.state.catalogue.manufacturers[m];
  SelectAssignedEntry();
  lbl_Manufacturer->setText(maker.name.trimmed());
  lbl_Type->setText(maker.types[t].name.trimmed());
  lbl_Variation->setText(var->variation.trimmed());
  lbl_Checklist->setText(m_editor.assignedChecklist());

  const QString thumb = platform::FindNoCase(var->textureFolder, "thumbnail.jpg");
  // Only a regular file: a pipe of that name would hold the screen forever.
  QPixmap picture(QFileInfo(thumb).isFile() ? thumb : QString());
  if (!picture.isNull()) picture = picture.scaled(Image1->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
  Image1->setPixmap(picture);
  Image1->setAccessibleName(picture.isNull() ? QString() : "Picture of the aircraft");
  Image1->setAccessibleDescription(picture.isNull() ? QString() : var->variation.trimmed());
}

void frm_Assign::Assign() {
  if (!m_editor.Assign(chk_Written->isChecked())) return;
  lbl_Checklist->setText(m_editor.assignedChecklist());
  RefreshAircraftMarks();
  m_host.frameButton(ui::FrameButton::OK)->setState("enabled");
}

}  // namespace qv::checklists
