#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "ScreenFixture.h"
#include "base/Cp1252.h"

using namespace qv;
using checklists::frm_Modify;

namespace {

class ModifyScreenTest : public ::testing::Test, public test::ChecklistScreens {
 protected:
  void SetUp() override {
    env.state.settings.checklistResponses = {{"Checked", 50002}, {"Set", 50003}, {"On", 50004}, {"Off", 50005}};
    frame.EnterScreen("checklist_modification");
    screen = modify();
  }
  void NewChecklist(const QString& name) {
    env.dialogs.AnswerInput(name);
    Press(screen, "btn_New");
  }
  void Type(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    bool ascii = true;
    for (QChar c : text) ascii = ascii && c.unicode() < 128;
    if (ascii) return QTest::keyClicks(box, text);
    // Test key events take ASCII only: the rest arrives as a paste.
    QGuiApplication::clipboard()->setText(text);
    box->paste();
  }
  void ClickRow(int row) { test::ClickItem(screen->lstview_Checklist, screen->lstview_Checklist->topLevelItem(row)); }
  void ClickResponse(int row) {
    QListWidget* list = screen->lst_Responses;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
  }
  QStringList Rows() {
    QStringList rows;
    for (int i = 0; i < screen->lstview_Checklist->topLevelItemCount(); ++i)
      rows << screen->lstview_Checklist->topLevelItem(i)->text(0);
    return rows;
  }
  const std::vector<data::ChecklistItem>& Section(int s) { return env.state.openChecklist.sections[s]; }
  // Gives each step of the shown section its number as challenge.
  void Number() {
    for (int i = 0; i < int(Section(screen->section()).size()); ++i)
      env.state.openChecklist.sections[screen->section()][i].challenge =
          base::Fixed(QString("Step %1").arg(i), data::kChallengeWidth);
    screen->RefreshStepPage(screen->section(), screen->page());
  }
  QString Challenge(int s, int i) { return Section(s)[i].challenge.trimmed(); }

  frm_Modify* screen = nullptr;
};

TEST_F(ModifyScreenTest, EnteringResetsAndNewChecklistOpensAnEmptyPreflight) {
  EXPECT_EQ(screen->btn_Insert->state(), "disabled");
  EXPECT_EQ(screen->btn_Delete->state(), "disabled");
  EXPECT_EQ(screen->lst_Responses->count(), 4);
  EXPECT_EQ(screen->comboSection->count(), 12);
  EXPECT_EQ(screen->comboSection->itemText(11), "Engine Shutdown Secure Aircraft");
  NewChecklist("  My Checks ");
  ASSERT_EQ(env.dialogs.inputs.size(), 1u);
  EXPECT_EQ(env.dialogs.inputs[0].title, "New Checklist");
  EXPECT_EQ(env.dialogs.inputs[0].tag, "new_checklist");
  EXPECT_EQ(screen->openName(), "My Checks");
  EXPECT_EQ(screen->lbl_ChecklistName->text(), "My Checks");
  EXPECT_EQ(screen->lbl_PageNumber->text(), "Page 1 of 1");
  EXPECT_TRUE(Rows().isEmpty());
  EXPECT_EQ(screen->btn_Insert->state(), "enabled");
  EXPECT_EQ(frame.btn_OK->state(), "disabled");

  // Typing into an empty section leaves the box empty.
  Type(screen->txt_Challenge, "abc");
  EXPECT_EQ(screen->txt_Challenge->text(), "");
  EXPECT_FALSE(screen->modified());
}

class ModifyBadNameTest : public ModifyScreenTest, public ::testing::WithParamInterface<const char*> {};
TEST_P(ModifyBadNameTest, NameThatCannotBeAFileInChecklistsIsRefused) {
  NewChecklist(QString::fromUtf8(GetParam()));
  EXPECT_EQ(screen->openName(), "");
  ASSERT_FALSE(env.dialogs.messages.empty());
  EXPECT_EQ(env.dialogs.last().title, "New Checklist");
  EXPECT_TRUE(env.dialogs.last().message.contains("Please choose another name"))
      << env.dialogs.last().message.toStdString();
}
INSTANTIATE_TEST_SUITE_P(Names, ModifyBadNameTest,
                         ::testing::Values("../Outside", "sub/name", "a\\b", "C:evil", "what?", "star*", "CON",
                                           "lpt1.txt", "ends with dot.",
                                           "Ch\xc3\xa9"
                                           "ck \xf0\x9f\x9b\xa9",
                                           "\xe2\x9c\x88 Jet"));

TEST_F(ModifyScreenTest, InsertAndDeleteAcrossAPageBoundary) {
  NewChecklist("Paging");
  Press(screen, "btn_Insert");
  ASSERT_EQ(Section(0).size(), 1u);
  EXPECT_EQ(Challenge(0, 0), "New Item");
  EXPECT_EQ(Section(0)[0].responses.size(), 3u);
  EXPECT_EQ(screen->btn_Delete->state(), "enabled");
  for (int i = 1; i < 20; ++i) Press(screen, "btn_Insert");
  EXPECT_EQ(Section(0).size(), 20u);
  EXPECT_EQ(screen->lbl_PageNumber->text(), "Page 1 of 1");
  EXPECT_TRUE(screen->lbl_NextPage->isHidden());
  Number();

  // Below step 19 the new step lands on page 2 while page 1 stays shown.
  ClickRow(19);
  Press(screen, "btn_Insert");
  EXPECT_EQ(Section(0).size(), 21u);
  EXPECT_EQ(screen->currentStep(), 20);
  EXPECT_EQ(screen->page(), 0);
  EXPECT_EQ(Rows().size(), 20);
  EXPECT_EQ(screen->lbl_PageNumber->text(), "Page 1 of 2");
  EXPECT_FALSE(screen->lbl_NextPage->isHidden());
  EXPECT_TRUE(screen->lbl_PrevPage->isHidden());
  EXPECT_EQ(Challenge(0, 20), "New Item");

  // Insert in the middle puts the step right below the current one.
  ClickRow(4);
  Press(screen, "btn_Insert");
  EXPECT_EQ(Challenge(0, 4), "Step 4");
  EXPECT_EQ(Challenge(0, 5), "New Item");
  EXPECT_EQ(Challenge(0, 6), "Step 5");
  EXPECT_EQ(Section(0).size(), 22u);

  QTest::mouseClick(screen->lbl_NextPage, Qt::LeftButton);
  EXPECT_EQ(screen->page(), 1);
  EXPECT_EQ(Rows(), (QStringList{"STEP 19", "NEW ITEM"}));
  EXPECT_EQ(screen->currentStep(), 20);
  EXPECT_EQ(screen->txt_Challenge->text(), "Step 19");

  // Deleting the steps of page 2 goes back to page 1 with the new last step.
  ClickRow(1);
  Press(screen, "btn_Delete");
  EXPECT_EQ(screen->currentStep(), 20);
  EXPECT_EQ(screen->page(), 1);
  Press(screen, "btn_Delete");
  EXPECT_EQ(Section(0).size(), 20u);
  EXPECT_EQ(screen->currentStep(), 19);
  EXPECT_EQ(screen->page(), 0);
  EXPECT_EQ(screen->lbl_PageNumber->text(), "Page 1 of 1");
  EXPECT_EQ(screen->lstview_Checklist->currentItem()->text(0), "STEP 18");

  // Deleting step 0 keeps step 0 selected, now the former step 1.
  ClickRow(0);
  Press(screen, "btn_Delete");
  EXPECT_EQ(screen->currentStep(), 0);
  EXPECT_EQ(screen->txt_Challenge->text(), "Step 1");
  EXPECT_FALSE(screen->modified());  // insert and delete alone are not edits
}

TEST_F(ModifyScreenTest, DeletingTheOnlyStepEmptiesTheSection) {
  NewChecklist("One");
  Press(screen, "btn_Insert");
  Press(screen, "btn_Delete");
  EXPECT_TRUE(Section(0).empty());
  EXPECT_EQ(screen->txt_Challenge->text(), "");
  EXPECT_EQ(screen->btn_Delete->state(), "disabled");
  EXPECT_EQ(screen->btn_Insert->state(), "enabled");
}

TEST_F(ModifyScreenTest, EditsAreCommittedOnLeavingAStepAndSavedAndReloadedIdentical) {
  NewChecklist("Round Trip");
  Press(screen, "btn_Insert");
  Press(screen, "btn_Insert");
  ClickRow(0);
  Type(screen->txt_Challenge, "Fuel selector");
  EXPECT_TRUE(screen->modified());
  EXPECT_EQ(frame.btn_OK->state(), "enabled");
  EXPECT_EQ(screen->lstview_Checklist->topLevelItem(0)->text(0), "FUEL SELECTOR");
  Type(screen->txt_Pronunciation, "fuel selector valve");
  Type(screen->txt_Response, "Both");
  EXPECT_EQ(screen->lstview_Checklist->topLevelItem(0)->text(1), "BOTH");
  // "SET" of a new step shows as the "Set" entry; add "On" and drop "Set".
  EXPECT_TRUE(screen->lst_Responses->item(1)->isSelected());
  ClickResponse(1);
  ClickResponse(2);
  ClickRow(1);  // leaving the step commits the selection
  ASSERT_EQ(Section(0)[0].responses.size(), 3u);
  EXPECT_EQ(Section(0)[0].responses[0].functionNumber, data::kIgnoreFunction);
  EXPECT_EQ(Section(0)[0].responses[1].functionNumber, data::kSkipFunction);
  EXPECT_EQ(Section(0)[0].responses[2].text.trimmed(), "On");
  EXPECT_EQ(Section(0)[0].responses[2].functionNumber, 50004);

  // A second section, reached through the section box.
  screen->comboSection->setCurrentIndex(9);
  screen->SectionChanged(9);
  EXPECT_EQ(screen->lbl_ChecklistSection->text(), "Landing");
  Press(screen, "btn_Insert");
  Type(screen->txt_Challenge, "Gear");
  test::Click(frame.btn_OK);
  EXPECT_EQ(env.dialogs.last().title, "Checklist Modifications Saved");
  EXPECT_EQ(env.dialogs.last().tag, "");
  EXPECT_EQ(frame.btn_OK->state(), "disabled");
  EXPECT_FALSE(screen->modified());

  const QString file = inst.installDir + "/Checklists/Round Trip.dat";
  const QByteArray saved = test::ReadBytes(file);
  const data::ChecklistFile edited = env.state.openChecklist;
  env.state.openChecklist = data::ChecklistFile{};
  env.fileDialogs->answer = file;
  Press(screen, "btn_Load");
  EXPECT_EQ(env.fileDialogs->lastFilter, "Checklist Files (*.dat)|*.dat");
  EXPECT_EQ(screen->openName(), "Round Trip");
  EXPECT_EQ(screen->section(), 0);
  EXPECT_EQ(screen->txt_Challenge->text(), "Fuel selector");
  EXPECT_EQ(screen->txt_Pronunciation->text(), "fuel selector valve");
  EXPECT_TRUE(screen->lst_Responses->item(2)->isSelected());
  for (int s = 0; s < data::kSectionCount; ++s) {
    ASSERT_EQ(Section(s).size(), edited.sections[s].size()) << s;
    for (size_t i = 0; i < Section(s).size(); ++i) {
      EXPECT_EQ(Section(s)[i].challenge, edited.sections[s][i].challenge);
      EXPECT_EQ(Section(s)[i].pronunciation, edited.sections[s][i].pronunciation);
      EXPECT_EQ(Section(s)[i].response, edited.sections[s][i].response);
      EXPECT_EQ(Section(s)[i].responses.size(), edited.sections[s][i].responses.size());
    }
  }
  frame.btn_OK->setState("enabled");
  test::Click(frame.btn_OK);  // saved again unchanged: the same bytes
  EXPECT_EQ(test::ReadBytes(file), saved);
}

TEST_F(ModifyScreenTest, TextBoxesKeepWithinTheirFieldsAndTheCodePage) {
  NewChecklist("Input");
  Press(screen, "btn_Insert");
  QGuiApplication::clipboard()->setText(QString(400, u'x'));
  screen->txt_Response->setFocus();
  screen->txt_Response->selectAll();
  screen->txt_Response->paste();
  EXPECT_EQ(screen->txt_Response->text().size(), data::kResponseWidth);
  EXPECT_EQ(Section(0)[0].response, QString(data::kResponseWidth, u'x'));

  Type(screen->txt_Challenge, QString::fromUtf8("Caf\xc3\xa9 \xe2\x9c\x88 \xf0\x9f\x9b\xa9 \xe2\x82\xac"));
  EXPECT_EQ(screen->txt_Challenge->text(), QString::fromUtf8("Caf\xc3\xa9   \xe2\x82\xac"));
  EXPECT_EQ(Challenge(0, 0), QString::fromUtf8("Caf\xc3\xa9   \xe2\x82\xac"));
  EXPECT_EQ(env.dialogs.last().title, "Checklist Modification Error");
  EXPECT_TRUE(base::FitsCp1252(Section(0)[0].challenge));

  Type(screen->txt_Pronunciation, "     ");
  EXPECT_EQ(Section(0)[0].pronunciation, QString(data::kPronunciationWidth, u' '));
  test::Click(frame.btn_OK);
  EXPECT_EQ(env.dialogs.last().title, "Checklist Modifications Saved");
}

TEST_F(ModifyScreenTest, FailedSaveIsReportedAndKeepsTheEditsToSaveAgain) {
  NewChecklist("Blocked");
  Press(screen, "btn_Insert");
  Type(screen->txt_Challenge, "Doors");
  const QString file = inst.installDir + "/Checklists/Blocked.dat";
  QDir().mkpath(file + "/inside");  // a folder where the file should go
  test::Click(frame.btn_OK);
  EXPECT_EQ(env.dialogs.last().title, "Checklist Modification Error");
  EXPECT_TRUE(env.dialogs.last().message.startsWith("There was an error while saving the checklist modifications."));
  EXPECT_TRUE(screen->modified());
  EXPECT_EQ(frame.btn_OK->state(), "enabled");
  QDir(file).removeRecursively();
  SetRunning(true, true);
  env.dialogs.AnswerCancel();
  test::Click(frame.btn_OK);
  EXPECT_EQ(env.dialogs.last().title, "Checklist Modifications Saved");
  EXPECT_EQ(env.dialogs.last().tag, "cmod_restart");
  EXPECT_TRUE(env.dialogs.last().showCancel);
  EXPECT_TRUE(QFileInfo(file).isFile());
}

TEST_F(ModifyScreenTest, PlaySpeaksThePronunciationWhenSpeechIsReady) {
  NewChecklist("Voice");
  Press(screen, "btn_Insert");
  Type(screen->txt_Pronunciation, "flaps ten");
  env.state.settings.copilotVoice = 2;
  env.state.speechReady = true;
  Press(screen, "btn_Play");
  ASSERT_FALSE(env.log.isEmpty());
  EXPECT_TRUE(env.log.last().contains("flaps ten")) << env.log.last().toStdString();
  env.state.speechReady = false;
  const size_t shown = env.dialogs.messages.size();
  Press(screen, "btn_Play");
  EXPECT_EQ(env.dialogs.messages.size(), shown + 1);
}

TEST_F(ModifyScreenTest, CancelKeepsTheChecklistAndReenteringResets) {
  NewChecklist("Kept");
  Press(screen, "btn_Insert");
  test::Click(frame.btn_Cancel);
  EXPECT_EQ(frame.currentScreen, "frm_Home");
  EXPECT_EQ(Section(0).size(), 1u);
  frame.EnterScreen("checklist_modification");
  EXPECT_EQ(screen->openName(), "");
  EXPECT_EQ(screen->btn_Insert->state(), "disabled");
  EXPECT_TRUE(Rows().isEmpty());
}

}  // namespace
