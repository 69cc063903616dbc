// The checklist editor without widgets: sections, pages of 20, insert,
// delete, edits, commits and the save.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>

#include "TestEnv.h"
#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "core/checklists/ChecklistEditor.h"
#include "core/data/ChecklistStore.h"

using namespace qv;
using checklists::ChecklistEditor;
using checklists::StepField;

namespace {

class ChecklistEditorTest : public testing::Test {
 protected:
  ChecklistEditorTest() : env(install.installDir), editor(env.ctx, env.launcher, env.speech) {}
  void SetUp() override {
    env.state.settings.checklistResponses = {{"Checked", 50002}, {" Set ", 50003}, {"On", 50004}, {"Off", 50005}};
  }
  const std::vector<data::ChecklistItem>& Section(int s) { return env.state.openChecklist.sections[s]; }
  QString Challenge(int s, int i) { return Section(s)[i].challenge.trimmed(); }
  // A section of `count` steps named "Step 0", "Step 1", ...
  void Fill(int count) {
    for (int i = 0; i < count; ++i) {
      editor.Insert();
      editor.Edit(StepField::Challenge, QString("Step %1").arg(i));
    }
  }
  QStringList Challenges() {
    QStringList out;
    for (const auto& row : editor.PageRows()) out << row.challenge;
    return out;
  }

  test::TestInstallation install;
  test::TestEnv env;
  ChecklistEditor editor;
};

}  // namespace

TEST_F(ChecklistEditorTest, ANewChecklistNeedsANameThatCanBeAFileAndOpensEmpty) {
  editor.AskNewName();
  EXPECT_EQ(env.dialogs.inputs.at(0).tag, "new_checklist");
  for (const char* name :
       {"   ", "../Outside", "sub/name", "a\\b", "C:evil", "what?", "star*", "CON", "lpt1.txt", "ends with dot.",
        "Ch\xc3\xa9"
        "ck \xf0\x9f\x9b\xa9",
        "\xe2\x9c\x88 Jet"})
    EXPECT_FALSE(editor.NewChecklist(QString::fromUtf8(name))) << name;
  EXPECT_EQ(env.dialogs.messages.size(), 11u);
  EXPECT_TRUE(env.dialogs.last().message.contains("Please choose another name"));
  EXPECT_FALSE(editor.isOpen());
  ASSERT_TRUE(editor.NewChecklist(QString::fromUtf8("  Caf\xc3\xa9 Checks.DAT ")));
  EXPECT_EQ(editor.openName(), QString::fromUtf8("Caf\xc3\xa9 Checks"));
  EXPECT_EQ(editor.PageNumberText(), "Page 1 of 1");
  EXPECT_TRUE(editor.PageRows().isEmpty());
  EXPECT_EQ(editor.Edit(StepField::Challenge, "abc"), std::nullopt);  // an empty section takes no text
  EXPECT_FALSE(editor.modified());
}

// The pages' arithmetic for every section length up to the five pages.
TEST_F(ChecklistEditorTest, PagesHoldTwentyStepsEach) {
  ASSERT_TRUE(editor.NewChecklist("Paging"));
  for (int count = 1; count <= checklists::kMaxSteps; ++count) {
    editor.Insert();
    ASSERT_EQ(editor.stepCount(), count);
    EXPECT_EQ(editor.lastPage(), (count - 1) / 20);
    EXPECT_EQ(editor.hasNextPage(), editor.page() < (count - 1) / 20);
  }
  // The 101st step is refused.
  editor.Insert();
  EXPECT_EQ(editor.stepCount(), checklists::kMaxSteps);
  EXPECT_EQ(env.dialogs.last().title, "Checklist Modification Error");
  // The page stayed on the first all along; the last page shows its rows.
  EXPECT_EQ(editor.page(), 0);
  ASSERT_TRUE(editor.TurnPage(+4));
  EXPECT_EQ(editor.PageRows().size(), 20);
  EXPECT_EQ(editor.PageNumberText(), "Page 5 of 5");
  EXPECT_FALSE(editor.TurnPage(+1));
  EXPECT_TRUE(editor.hasPreviousPage());
}

TEST_F(ChecklistEditorTest, InsertAndDeleteAcrossAPageBoundary) {
  ASSERT_TRUE(editor.NewChecklist("Paging"));
  editor.Insert();
  ASSERT_NE(editor.currentItem(), nullptr);
  EXPECT_EQ(Challenge(0, 0), "New Item");
  ASSERT_EQ(Section(0)[0].responses.size(), 3u);
  EXPECT_EQ(Section(0)[0].responses[2].text.trimmed(), "SET");
  Fill(19);  // Steps 0 to 18 below the first
  ASSERT_EQ(editor.stepCount(), 20);
  EXPECT_FALSE(editor.hasNextPage());

  // Below step 19 the new step lands on page 2 while page 1 stays shown.
  editor.ChooseStep(19);
  editor.Insert();
  EXPECT_EQ(editor.currentStep(), 20);
  EXPECT_EQ(editor.page(), 0);
  EXPECT_EQ(editor.currentRow(), -1);
  EXPECT_EQ(editor.PageRows().size(), 20);
  EXPECT_EQ(editor.PageNumberText(), "Page 1 of 2");
  EXPECT_TRUE(editor.hasNextPage());

  // Insert in the middle puts the step right below the current one.
  editor.ChooseStep(4);
  editor.Insert();
  EXPECT_EQ(Challenge(0, 4), "Step 3");
  EXPECT_EQ(Challenge(0, 5), "New Item");
  EXPECT_EQ(Challenge(0, 6), "Step 4");

  ASSERT_TRUE(editor.TurnPage(+1));
  EXPECT_EQ(Challenges(), (QStringList{"STEP 18", "NEW ITEM"}));
  EXPECT_EQ(editor.currentStep(), 20);
  EXPECT_EQ(editor.currentRow(), 0);

  // Deleting the steps of page 2 goes back to page 1 with the new last step.
  editor.ChooseStep(1);
  editor.Delete();
  EXPECT_EQ(editor.currentStep(), 20);
  EXPECT_EQ(editor.page(), 1);
  editor.Delete();
  EXPECT_EQ(editor.stepCount(), 20);
  EXPECT_EQ(editor.currentStep(), 19);
  EXPECT_EQ(editor.page(), 0);
  EXPECT_EQ(editor.currentItem()->challenge.trimmed(), "Step 17");

  // Deleting step 0 keeps step 0 selected, now the former step 1.
  editor.ChooseStep(0);
  editor.Delete();
  EXPECT_EQ(editor.currentStep(), 0);
  EXPECT_EQ(editor.currentItem()->challenge.trimmed(), "Step 0");
  // Down to one step, then none.
  while (editor.stepCount() > 1) editor.Delete();
  editor.Delete();
  EXPECT_TRUE(editor.sectionEmpty());
  EXPECT_EQ(editor.currentItem(), nullptr);
}

// Inserts and deletes count as edits too, so that the save button offers them.
TEST_F(ChecklistEditorTest, EditsInsertsAndDeletesMarkModified) {
  QSignalSpy modified(&editor, &ChecklistEditor::modifiedChanged);
  ASSERT_TRUE(editor.NewChecklist("Edits"));
  editor.Insert();
  editor.Insert();
  ASSERT_EQ(editor.Save(), 0);
  editor.Delete();
  EXPECT_TRUE(editor.modified());
  EXPECT_EQ(editor.Edit(StepField::Challenge, "  Fuel selector "), "  Fuel selector ");
  EXPECT_EQ(Section(0)[0].challenge, base::Fixed("Fuel selector", data::kChallengeWidth));
  EXPECT_EQ(editor.PageRows()[0].challenge, "FUEL SELECTOR");
  editor.Edit(StepField::Response, "Both");
  EXPECT_EQ(modified.size(), 3);  // on (insert), off (save), on (delete); the edits find it on

  // Characters a checklist file cannot hold are left out, with a message.
  const QString kept =
      *editor.Edit(StepField::Pronunciation, QString::fromUtf8("Caf\xc3\xa9 \xe2\x9c\x88 \xe2\x82\xac"));
  EXPECT_EQ(kept, QString::fromUtf8("Caf\xc3\xa9  \xe2\x82\xac"));
  EXPECT_TRUE(base::FitsCp1252(Section(0)[0].pronunciation));
  EXPECT_EQ(env.dialogs.last().title, "Checklist Modification Error");
  // A text beyond the field is cut.
  editor.Edit(StepField::Response, QString(400, u'x'));
  EXPECT_EQ(Section(0)[0].response, QString(data::kResponseWidth, u'x'));
}

TEST_F(ChecklistEditorTest, ChosenResponsesAreStoredOnlyWhenTheStepIsLeftOrSaved) {
  ASSERT_TRUE(editor.NewChecklist("Responses"));
  editor.Insert();
  editor.Insert();
  editor.ChooseStep(0);
  // The new step's "SET" shows as the "Set" entry.
  EXPECT_EQ(editor.chosenResponses(), (QList<bool>{false, true, false, false}));
  editor.ChooseResponses({false, false, true, false});
  // The second insert committed step 0: its "SET" took the list entry's text.
  EXPECT_EQ(Section(0)[0].responses[2].text.trimmed(), "Set");
  EXPECT_EQ(Section(0)[0].responses.size(), 3u);  // the new choice is not stored yet
  editor.ChooseStep(1);                           // leaving a modified step commits it
  ASSERT_EQ(Section(0)[0].responses.size(), 3u);
  EXPECT_EQ(Section(0)[0].responses[0].functionNumber, data::kIgnoreFunction);
  EXPECT_EQ(Section(0)[0].responses[1].functionNumber, data::kSkipFunction);
  EXPECT_EQ(Section(0)[0].responses[2].text.trimmed(), "On");
  EXPECT_EQ(Section(0)[0].responses[2].functionNumber, 50004);
  // A response the list does not hold is lost at the next commit.
  env.state.openChecklist.sections[0][1].responses.push_back({base::Fixed("Gone", 128), 50099});
  editor.ChooseStep(1);
  EXPECT_EQ(editor.CommitCurrentStep(), 0);
  EXPECT_EQ(Section(0)[1].responses.size(), 3u);
}

TEST_F(ChecklistEditorTest, SaveWritesTheChecklistWhichLoadsBackTheSame) {
  ASSERT_TRUE(editor.NewChecklist("Round Trip"));
  editor.Insert();
  editor.Edit(StepField::Challenge, "Fuel selector");
  editor.ChooseSection(9);
  editor.Insert();
  editor.Edit(StepField::Challenge, "Gear");
  EXPECT_EQ(editor.Save(), 0);
  EXPECT_EQ(env.dialogs.last().title, "Checklist Modifications Saved");
  EXPECT_EQ(env.dialogs.last().tag, "");
  EXPECT_FALSE(editor.modified());

  const QString file = install.installDir + "/Checklists/Round Trip.dat";
  const QByteArray saved = test::ReadBytes(file);
  const data::ChecklistFile edited = env.state.openChecklist;
  env.state.openChecklist = data::ChecklistFile{};
  env.fileDialogs->answer = file;
  ASSERT_TRUE(editor.AskLoad());
  EXPECT_EQ(env.fileDialogs->lastTitle, "Select Checklist File to Modify");
  EXPECT_EQ(env.fileDialogs->lastFilter, "Checklist Files (*.dat)|*.dat");
  EXPECT_EQ(editor.openName(), "Round Trip");
  EXPECT_EQ(editor.section(), 0);
  for (int s = 0; s < data::kSectionCount; ++s) {
    ASSERT_EQ(Section(s).size(), edited.sections[s].size()) << s;
    for (size_t i = 0; i < Section(s).size(); ++i) EXPECT_EQ(Section(s)[i].challenge, edited.sections[s][i].challenge);
  }
  EXPECT_EQ(editor.Save(), 0);  // saved again unchanged: the same bytes
  EXPECT_EQ(test::ReadBytes(file), saved);
}

TEST_F(ChecklistEditorTest, FailedSaveAndDamagedFileAreReportedAndKeepTheEdits) {
  ASSERT_TRUE(editor.NewChecklist("Blocked"));
  editor.Insert();
  editor.Edit(StepField::Challenge, "Doors");
  const QString file = install.installDir + "/Checklists/Blocked.dat";
  QDir().mkpath(file + "/inside");  // a folder where the file should go
  EXPECT_EQ(editor.Save(), 1);
  EXPECT_TRUE(env.dialogs.last().message.startsWith("There was an error while saving the checklist modifications."));
  EXPECT_TRUE(editor.modified());
  QDir(file).removeRecursively();
  env.windowProbe->classes << "FS98MAIN";
  env.windowProbe->titles << "VT Murmex";
  EXPECT_EQ(editor.Save(), 0);
  EXPECT_EQ(env.dialogs.last().tag, "cmod_restart");
  EXPECT_TRUE(env.dialogs.last().showCancel);

  test::WriteBytes(install.installDir + "/Checklists/Broken.dat", "not a checklist");
  EXPECT_FALSE(editor.Load("Broken.dat"));
  EXPECT_EQ(env.dialogs.last().title, "Checklist Modification Error");
  EXPECT_EQ(editor.openName(), "Blocked");
  EXPECT_EQ(Challenge(0, 0), "Doors");
}
