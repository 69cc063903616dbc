#pragma once

#include <QIcon>
#include <QPixmap>
#include <array>
#include <cstdint>

#include "core/checklists/AssignmentEditor.h"
#include "gui/kit/SkinnedScreen.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QTreeWidget;
class QTreeWidgetItem;

namespace qv::checklists {

// Node numbers of the aircraft tree: (m+1)*1000000 + (t+1)*1000 + (v+1),
// with -1 for the levels a node does not have. Types and variations beyond
// 999 cannot be encoded and are left out of the tree.
inline constexpr int kMaxTreeChildren = 999;
int AircraftNodeNumber(int m, int t, int v);
// The three 0-based indexes of a node key ("KEY_" + number); -1 where the
// node has no such level.
std::array<int16_t, 3> AircraftNodeIndexes(const QString& key);

// The summary image (1 to 7) of a type or manufacturer node from the facts
// over the aircraft below it. Image 5 marks the mix the usual rows leave
// out: some written, none assigned without a page, some with nothing.
int SummaryImage(bool allWrittenOrAssigned, bool allWritten, bool someWritten, bool someAssignedNotWritten);

// Picks an aircraft from the catalogue tree, assigns a checklist to it and
// optionally writes or restores its kneeboard page: a view of the
// AssignmentEditor. The highlighted node and entry are the editor's picks.
class frm_Assign final : public ui::SkinnedScreen {
  Q_OBJECT

 public:
  frm_Assign(const ui::ScreenServices& services, ui::ScreenHost& host);

  // The checklists are listed afresh each time the screen is entered: one
  // saved on the modification screen is offered at once.
  void Entering() override;

  void FillAircraftTree();
  void RefreshAircraftMarks();
  void FillChecklistList();

  void Assign();

  // The image number a node shows (1 to 7), for the marks.
  static int ImageOf(const QTreeWidgetItem* node);
  QTreeWidgetItem* NodeOf(int m, int t, int v) const;
  const AssignmentEditor& editor() const { return m_editor; }

  QTreeWidget* acftTV;
  QListWidget* lstChecklists;
  ui::SmallButton* btn_Assign;
  QCheckBox* chk_Written;
  QLabel* lbl_Written;
  QLabel* lbl_Manufacturer;
  QLabel* lbl_Type;
  QLabel* lbl_Variation;
  QLabel* lbl_Checklist;
  QLabel* Image1;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void NodePicked(QTreeWidgetItem* node);
  void EntryPicked(QListWidgetItem* entry);
  void SelectAssignedEntry();
  void ShowAssignState();
  void SetNodeImage(QTreeWidgetItem* node, int image);
  void MarkNodes(const QList<QTreeWidgetItem*>& makers);

  AssignmentEditor m_editor;
  std::array<QPixmap, 8> m_marks;  // 1..7
  std::array<QIcon, 8> m_icons;    // of the marks, made once
  bool m_filling = false;          // on while the screen selects in its own list
};

}  // namespace qv::checklists
