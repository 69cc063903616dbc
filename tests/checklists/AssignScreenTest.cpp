#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QTreeWidget>

#include "AppHarness.h"
#include "KneeboardFixture.h"
#include "gui/checklists/frm_Assign.h"

using namespace qv;
using checklists::frm_Assign;

namespace {

class AssignScreenTest : public ::testing::Test, public test::KneeboardTree {
 protected:
  void SetUp() override {
    Fill(h.app->context());
    h.state().checklistNames = {"Jet Checks", "Trainer Checks"};
    h.ShowFrame().Enter("frm_Assign");
    screen = h.screen<frm_Assign>("frm_Assign");
    screen->acftTV->expandAll();
  }
  void ClickAircraft(int m, int t, int v) {
    QTreeWidget* tree = screen->acftTV;
    QTreeWidgetItem* item = screen->NodeOf(m, t, v);
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
  }
  void ClickList(int row) {
    QListWidget* list = screen->lstChecklists;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
  }
  int Image(int m, int t = -1, int v = -1) { return frm_Assign::ImageOf(screen->NodeOf(m, t, v)); }
  QString Label(const char* name) { return screen->findChild<QLabel*>(name)->text(); }
  void Press(const char* name) { test::Press(screen, name); }
  shell::frm_Parent& frame() { return h.frame(); }

  test::AppHarness h{inst.installDir};
  frm_Assign* screen = nullptr;
};

using test::kAlpha, test::kBravo, test::kCharlie, test::kBlue, test::kGreen, test::kRed;

// Node keys and indexes round trip, the largest encodable ones included.
TEST(AssignKeys, NodeNumbersRoundTrip) {
  using I = std::array<int16_t, 3>;
  for (const I& n : {I{0, 0, 0}, I{2, -1, -1}, I{4, 998, -1}, I{2145, 998, 998}})
    EXPECT_EQ(
        checklists::AircraftNodeIndexes("KEY_" + QString::number(checklists::AircraftNodeNumber(n[0], n[1], n[2]))), n);
  EXPECT_EQ(checklists::AircraftNodeNumber(2, -1, -1), 3000000);
}

TEST_F(AssignScreenTest, ClicksShowTheAircraftAndOnlyAnAircraftCanBeAssigned) {
  EXPECT_EQ(screen->NodeOf(kBravo, 0, -1)->data(0, Qt::UserRole).toString(), "KEY_2001000");
  ASSERT_EQ(screen->lstChecklists->count(), 3);
  EXPECT_EQ(screen->lstChecklists->item(0)->text(), "-- Restore Default --");
  EXPECT_EQ(screen->btn_Assign->state(), "disabled");
  // The assigned checklist is found in the list without regard to case.
  assignment(kAlpha, 0, kGreen).checklistName = base::Fixed("  trainer CHECKS", data::kAssignmentNameWidth);
  ClickAircraft(kAlpha, 0, kGreen);
  EXPECT_EQ(screen->lstChecklists->selectedItems().value(0)->text(), "Trainer Checks");
  EXPECT_EQ(Label("lbl_Type") + "/" + Label("lbl_Variation") + "/" + Label("lbl_Checklist"),
            "Trainer/Green/trainer CHECKS");
  ClickAircraft(kAlpha, 0, kBlue);  // nothing assigned
  EXPECT_TRUE(screen->lstChecklists->selectedItems().isEmpty());
  EXPECT_EQ(Label("lbl_Checklist"), "");
  ClickList(1);
  EXPECT_EQ(screen->btn_Assign->state(), "enabled");
  // A type node keeps the details shown and the button off, whatever is chosen.
  ClickAircraft(kBravo, 0, -1);
  EXPECT_EQ(screen->btn_Assign->state(), "disabled");
  EXPECT_EQ(Label("lbl_Variation"), "Blue");
  ClickList(1);
  EXPECT_EQ(screen->btn_Assign->state(), "disabled");
  const auto before = h.state().assignments;
  screen->Assign();  // even if it were reached, nothing happens
  for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(h.state().assignments[i].checklistName, before[i].checklistName);
  EXPECT_EQ(frame().btn_OK->state(), "disabled");
}

// The highlighted node is the aircraft however it was reached, and a new
// highlight in the tree asks for a new list pick, by key as by mouse.
TEST_F(AssignScreenTest, TheKeyboardPicksTheHighlightedAircraftAndChecklist) {
  ClickAircraft(kAlpha, 0, kBlue);
  test::KeyOn(screen->acftTV, Qt::Key_Down);
  EXPECT_EQ(Label("lbl_Variation"), "Green");
  EXPECT_EQ(screen->lstChecklists->currentRow(), 2);  // its "Trainer Checks"
  EXPECT_EQ(screen->btn_Assign->state(), "disabled");
  test::KeyOn(screen->lstChecklists, Qt::Key_Up);
  EXPECT_EQ(screen->btn_Assign->state(), "enabled");
  test::KeyOn(screen->chk_Written, Qt::Key_Space);
  test::KeyOn(screen->btn_Assign, Qt::Key_Return);
  EXPECT_EQ(assignment(kAlpha, 0, kGreen).checklistName.trimmed(), "Jet Checks");
  EXPECT_EQ(assignment(kAlpha, 0, kBlue).checklistName.trimmed(), "");
  EXPECT_EQ(assignment(kAlpha, 0, kGreen).written, 1);
  EXPECT_NE(test::ReadBytes(trainerPage), trainerOriginal);

  test::KeyOn(screen->acftTV, Qt::Key_Down);
  EXPECT_EQ(Label("lbl_Variation"), "Red");
  EXPECT_EQ(screen->btn_Assign->state(), "disabled");
  test::KeyOn(screen->acftTV, Qt::Key_End);
  EXPECT_EQ(Label("lbl_Variation"), "Club");
}

// The marks of the types and makers sum up their aircraft: nothing (1),
// assigned (2), some assigned (3), all written (4), written beside bare ones
// (5), all written or assigned (6), written beside assigned and bare (7).
TEST_F(AssignScreenTest, MarksSumUpTheAircraftBelow) {
  EXPECT_EQ(Image(kAlpha, 0, kBlue), 1);
  EXPECT_EQ(Image(kAlpha, 0, kGreen), 2);
  EXPECT_EQ(Image(kAlpha, 0), 3);
  EXPECT_EQ(Image(kAlpha), 3);
  EXPECT_EQ(Image(kBravo, 0), 2);
  assignment(kAlpha, 0, kGreen).written = 1;
  screen->RefreshAircraftMarks();
  EXPECT_EQ(Image(kAlpha, 0), 7);
  assignment(kAlpha, 0, kRed).checklistName = base::Fixed("", data::kAssignmentNameWidth);
  screen->RefreshAircraftMarks();
  EXPECT_EQ(Image(kAlpha, 0), 5);
  for (int v : {kBlue, kRed}) assignment(kAlpha, 0, v).checklistName = base::Fixed("x", data::kAssignmentNameWidth);
  screen->RefreshAircraftMarks();
  EXPECT_EQ(Image(kAlpha, 0), 6);
}

TEST_F(AssignScreenTest, AssignWithoutWritingChangesNoFileAndKeepsWrittenMarks) {
  assignment(kBravo, 0, 0).written = 1;
  screen->RefreshAircraftMarks();
  ClickAircraft(kAlpha, 0, kBlue);
  ClickList(2);
  Press("btn_Assign");
  EXPECT_EQ(assignment(kAlpha, 0, kBlue).checklistName.trimmed(), "Trainer Checks");
  EXPECT_EQ(assignment(kAlpha, 0, kBlue).checklistName.size(), data::kAssignmentNameWidth);
  EXPECT_EQ(Label("lbl_Checklist"), "Trainer Checks");
  EXPECT_EQ(test::ReadBytes(trainerPage), trainerOriginal);
  EXPECT_FALSE(QFileInfo::exists(backupOf(trainerPage)));
  EXPECT_EQ(Image(kAlpha, 0, kBlue), 2);
  EXPECT_EQ(Image(kAlpha, 0), 2);  // every variation assigned now
  EXPECT_EQ(Image(kBravo, 0, 0), 4);
  EXPECT_EQ(frame().btn_OK->state(), "enabled");
}

TEST_F(AssignScreenTest, AssignWithWritingFlagsSiblingsAndRestoreClearsThemAgain) {
  ClickAircraft(kAlpha, 0, kGreen);
  QTest::mouseClick(screen->findChild<QLabel*>("lbl_Written"), Qt::LeftButton);  // the caption ticks the box
  EXPECT_TRUE(screen->chk_Written->isChecked());
  ClickList(2);
  Press("btn_Assign");
  EXPECT_NE(test::ReadBytes(trainerPage), trainerOriginal);
  EXPECT_EQ(test::ReadBytes(backupOf(trainerPage)), trainerOriginal);
  for (int v : {kBlue, kGreen, kRed}) EXPECT_EQ(assignment(kAlpha, 0, v).written, 1) << v;
  EXPECT_EQ(assignment(kBravo, 0, 0).written, 0);
  EXPECT_EQ(Image(kAlpha, 0), 4);
  EXPECT_EQ(Image(kAlpha), 4);

  // Restore on a sibling: every sharer loses its flag, only Red its name.
  ClickAircraft(kAlpha, 0, kRed);
  ClickList(0);
  Press("btn_Assign");
  EXPECT_EQ(test::ReadBytes(trainerPage), trainerOriginal);
  EXPECT_FALSE(QFileInfo::exists(backupOf(trainerPage)));
  EXPECT_EQ(writtenFlags(), (std::vector<int>{0, 0, 0, 0, 0}));
  EXPECT_EQ(assignment(kAlpha, 0, kRed).checklistName.trimmed(), "");
  EXPECT_EQ(assignment(kAlpha, 0, kGreen).checklistName.trimmed(), "Trainer Checks");
  EXPECT_EQ(Label("lbl_Checklist"), "");
  EXPECT_EQ(Image(kAlpha, 0, kRed), 1);
  EXPECT_EQ(Image(kAlpha, 0), 3);
}

struct SaveCase {
  bool sim, runtime, restartOffered;
};
class AssignSaveTest : public AssignScreenTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(AssignSaveTest, SaveWritesTheFileAndOffersARestartOnlyWhenBothRun) {
  h.SetRunning(GetParam().sim, GetParam().runtime);
  const QByteArray before = test::ReadBytes(data::AssignmentsFilePath(inst.installDir));
  ClickAircraft(kCharlie, 0, 0);
  ClickList(2);
  Press("btn_Assign");
  EXPECT_EQ(test::ReadBytes(data::AssignmentsFilePath(inst.installDir)), before);  // in memory only, until saved
  h.dialogs->Cancel();
  test::Click(frame().btn_OK);
  ASSERT_FALSE(h.dialogs->shown.empty());
  const auto& m = h.dialogs->last();
  EXPECT_EQ(m.title, "Checklist Assignments Saved");
  EXPECT_EQ(m.cancelShown, GetParam().restartOffered);
  EXPECT_EQ(m.tag, GetParam().restartOffered ? "cassign_restart" : "");
  EXPECT_TRUE(m.message.startsWith("The checklist assignments have been saved."));
  EXPECT_EQ(frame().btn_OK->state(), "disabled");
  std::vector<data::ChecklistAssignment> saved;
  ASSERT_TRUE(data::ParseAssignments(test::ReadBytes(data::AssignmentsFilePath(inst.installDir)), saved));
  ASSERT_EQ(saved.size(), h.state().assignments.size());
  for (size_t i = 0; i < saved.size(); ++i) EXPECT_EQ(saved[i].checklistName, h.state().assignments[i].checklistName);
}
INSTANTIATE_TEST_SUITE_P(Running, AssignSaveTest,
                         ::testing::Values(SaveCase{true, true, true}, SaveCase{true, false, false},
                                           SaveCase{false, true, false}),
                         [](const auto& info) {
                           return std::string(info.param.sim ? "Sim" : "NoSim") +
                                  (info.param.runtime ? "Runtime" : "NoRuntime");
                         });

}  // namespace
