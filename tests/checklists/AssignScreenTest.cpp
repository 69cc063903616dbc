#include <gtest/gtest.h>

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

TEST(AssignKeys, NodeNumbersRoundTrip) {
  EXPECT_EQ(checklists::AircraftNodeNumber(0, 0, 0), 1001001);
  EXPECT_EQ(checklists::AircraftNodeNumber(2, -1, -1), 3000000);
  EXPECT_EQ(checklists::AircraftNodeNumber(4, 998, -1), 5999000);
  using I = std::array<int16_t, 3>;
  EXPECT_EQ(checklists::AircraftNodeIndexes("KEY_1001001"), (I{0, 0, 0}));
  EXPECT_EQ(checklists::AircraftNodeIndexes("KEY_3000000"), (I{2, -1, -1}));
  EXPECT_EQ(checklists::AircraftNodeIndexes("KEY_5999000"), (I{4, 998, -1}));
  EXPECT_EQ(checklists::AircraftNodeIndexes("KEY_2146999999"), (I{2145, 998, 998}));
}

// Every combination of the four facts that can occur over a set of aircraft.
struct SummaryCase {
  bool allWrittenOrAssigned, allWritten, someWritten, someAssignedNotWritten;
  int image;
};
class AssignSummary : public ::testing::TestWithParam<SummaryCase> {};
TEST_P(AssignSummary, Image) {
  const SummaryCase c = GetParam();
  EXPECT_EQ(checklists::SummaryImage(c.allWrittenOrAssigned, c.allWritten, c.someWritten, c.someAssignedNotWritten),
            c.image);
}
INSTANTIATE_TEST_SUITE_P(
    Marks, AssignSummary,
    ::testing::Values(SummaryCase{true, true, true, false, 4}, SummaryCase{true, false, true, true, 6},
                      SummaryCase{true, false, true, false, 6}, SummaryCase{true, false, false, true, 2},
                      SummaryCase{false, false, true, true, 7}, SummaryCase{false, false, true, false, 5},
                      SummaryCase{false, false, false, true, 3}, SummaryCase{false, false, false, false, 1}));

TEST_F(AssignScreenTest, TreeListAndMarksFollowTheCatalogueAndAssignments) {
  EXPECT_EQ(screen->NodeOf(0, 0, 0)->data(0, Qt::UserRole).toString(), "KEY_1001001");
  EXPECT_EQ(screen->NodeOf(kBravo, 0, -1)->data(0, Qt::UserRole).toString(), "KEY_2001000");
  EXPECT_EQ(screen->NodeOf(kAlpha, 0, kRed)->text(0), "Red");
  ASSERT_EQ(screen->lstChecklists->count(), 3);
  EXPECT_EQ(screen->lstChecklists->item(0)->text(), "-- Restore Default --");
  EXPECT_EQ(screen->lstChecklists->item(0)->data(Qt::UserRole).toInt(), -1);
  EXPECT_EQ(screen->lstChecklists->item(2)->data(Qt::UserRole).toInt(), 1);
  EXPECT_EQ(screen->btn_Assign->state(), "disabled");
  // Blue has nothing, Green and Red are assigned: the type and maker show "some assigned".
  EXPECT_EQ(Image(kAlpha, 0, kBlue), 1);
  EXPECT_EQ(Image(kAlpha, 0, kGreen), 2);
  EXPECT_EQ(Image(kAlpha, 0), 3);
  EXPECT_EQ(Image(kAlpha), 3);
  EXPECT_EQ(Image(kBravo, 0), 2);
}

TEST_F(AssignScreenTest, VariationClickShowsDetailsAndMatchesTheListWithoutCase) {
  assignment(kAlpha, 0, kGreen).checklistName = base::Fixed("  trainer CHECKS", data::kAssignmentNameWidth);
  ClickAircraft(kAlpha, 0, kGreen);
  EXPECT_EQ(screen->lstChecklists->selectedItems().value(0)->text(), "Trainer Checks");
  EXPECT_EQ(Label("lbl_Manufacturer"), "Alpha");
  EXPECT_EQ(Label("lbl_Type"), "Trainer");
  EXPECT_EQ(Label("lbl_Variation"), "Green");
  EXPECT_EQ(Label("lbl_Checklist"), "trainer CHECKS");

  ClickAircraft(kAlpha, 0, kBlue);  // nothing assigned
  EXPECT_TRUE(screen->lstChecklists->selectedItems().isEmpty());
  EXPECT_EQ(Label("lbl_Checklist"), "");
}

TEST_F(AssignScreenTest, TypeOrMakerClickKeepsTheDetailsAndAssignStaysOff) {
  ClickAircraft(kAlpha, 0, kGreen);
  ClickList(1);
  EXPECT_EQ(screen->btn_Assign->state(), "enabled");
  ClickAircraft(kBravo, 0, -1);
  EXPECT_EQ(screen->btn_Assign->state(), "disabled");
  EXPECT_EQ(Label("lbl_Variation"), "Green");
  ClickList(1);  // a list choice does not make a type node an aircraft
  EXPECT_EQ(screen->btn_Assign->state(), "disabled");
  const auto before = h.state().assignments;
  screen->Assign();  // even if it were reached, nothing happens
  for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(h.state().assignments[i].checklistName, before[i].checklistName);
  EXPECT_EQ(frame().btn_OK->state(), "disabled");
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

TEST_F(AssignScreenTest, MixOfWrittenAndBareAircraftShowsTheFreeImage) {
  assignment(kAlpha, 0, kGreen).written = 1;
  assignment(kAlpha, 0, kRed).checklistName = base::Fixed("", data::kAssignmentNameWidth);
  screen->RefreshAircraftMarks();
  EXPECT_EQ(Image(kAlpha, 0), 5);  // Green written, Blue and Red bare
}

struct SaveCase {
  bool sim, runtime, restartOffered;
};
class AssignSaveTest : public AssignScreenTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(AssignSaveTest, SaveWritesTheFileAndOffersARestartOnlyWhenBothRun) {
  h.SetRunning(GetParam().sim, GetParam().runtime);
  ClickAircraft(kCharlie, 0, 0);
  ClickList(2);
  Press("btn_Assign");
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
                                           SaveCase{false, true, false}));

TEST_F(AssignScreenTest, CancelReturnsHomeAndKeepsTheChangesInMemory) {
  const QByteArray before = test::ReadBytes(data::AssignmentsFilePath(inst.installDir));
  ClickAircraft(kAlpha, 0, kBlue);
  ClickList(1);
  Press("btn_Assign");
  test::Click(frame().btn_Cancel);
  EXPECT_EQ(frame().currentScreen, "frm_Home");
  EXPECT_EQ(assignment(kAlpha, 0, kBlue).checklistName.trimmed(), "Jet Checks");
  EXPECT_EQ(test::ReadBytes(data::AssignmentsFilePath(inst.installDir)), before);
}

}  // namespace
