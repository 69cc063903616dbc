// The modification screen as a view of its editor, driven with real key
// events and clicks in the application.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>

#include "AppHarness.h"
#include "gui/checklists/frm_Modify.h"

using namespace qv;
using checklists::frm_Modify;

namespace {

class ModifyScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    h.state().settings.checklistResponses = {{"Checked", 50002}, {"Set", 50003}, {"On", 50004}, {"Off", 50005}};
    h.ShowFrame().Enter("frm_Modify");
    screen = h.screen<frm_Modify>("frm_Modify");
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
  void ClickRow(int row) {
    QTreeWidget* tree = screen->lstview_Checklist;
    QTreeWidgetItem* item = tree->topLevelItem(row);
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
  }
  void ClickResponse(int row) {
    QListWidget* list = screen->lst_Responses;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
  }
  QString Row(int row, int column = 0) { return screen->lstview_Checklist->topLevelItem(row)->text(column); }
  QStringList Challenges() {
    QStringList out;
    for (const data::ChecklistItem& item : Section(0)) out << item.challenge.trimmed();
    return out;
  }
  const std::vector<data::ChecklistItem>& Section(int s) { return h.state().openChecklist.sections[s]; }

  test::AppHarness h;
  frm_Modify* screen = nullptr;
};

}  // namespace

TEST_F(ModifyScreenTest, AnEditingSessionThroughTheControls) {
  h.frame().screen("frm_Assign");  // loaded at start-up, before the checklist exists
  EXPECT_EQ(screen->btn_Insert->state(), "disabled");
  EXPECT_EQ(screen->comboSection->count(), 12);
  h.dialogs->Type("  My Checks ");
  test::Press(screen, "btn_New");
  EXPECT_EQ(screen->lbl_ChecklistName->text(), "My Checks");
  EXPECT_EQ(screen->lbl_PageNumber->text(), "Page 1 of 1");
  Type(screen->txt_Challenge, "abc");  // an empty section takes no text
  EXPECT_EQ(screen->txt_Challenge->text(), "");
  EXPECT_EQ(h.frame().btn_OK->state(), "disabled");

  test::Press(screen, "btn_Insert");
  test::Press(screen, "btn_Insert");
  EXPECT_EQ(screen->btn_Delete->state(), "enabled");
  ClickRow(0);
  EXPECT_TRUE(screen->lst_Responses->item(1)->isSelected());  // the new step's "SET"
  Type(screen->txt_Challenge, "Fuel selector");
  EXPECT_EQ(Row(0), "FUEL SELECTOR");
  EXPECT_EQ(h.frame().btn_OK->state(), "enabled");
  Type(screen->txt_Response, QString::fromUtf8("Both \xe2\x9c\x88"));
  EXPECT_EQ(screen->txt_Response->text(), "Both ");  // what the file cannot hold is left out
  EXPECT_EQ(Row(0, 1), "BOTH");
  ClickResponse(1);
  ClickResponse(2);
  ClickRow(1);  // leaving the step commits the choice
  ASSERT_EQ(Section(0)[0].responses.size(), 3u);
  EXPECT_EQ(Section(0)[0].responses[2].text.trimmed(), "On");
  EXPECT_EQ(screen->txt_Challenge->text(), "New Item");
  test::Press(screen, "btn_Play");  // speech is off here: said so instead
  EXPECT_EQ(h.dialogs->last().title, "Quorvane");

  // A second page, reached through its label.
  for (int i = 0; i < 19; ++i) test::Press(screen, "btn_Insert");
  EXPECT_FALSE(screen->lbl_NextPage->isHidden());
  QTest::mouseClick(screen->lbl_NextPage, Qt::LeftButton);
  EXPECT_EQ(screen->lbl_PageNumber->text(), "Page 2 of 2");
  EXPECT_EQ(screen->lstview_Checklist->topLevelItemCount(), 1);
  EXPECT_EQ(screen->lstview_Checklist->currentItem(), screen->lstview_Checklist->topLevelItem(0));
  EXPECT_FALSE(screen->lbl_PrevPage->isHidden());

  test::Click(h.frame().btn_OK);
  EXPECT_EQ(h.dialogs->last().title, "Checklist Modifications Saved");
  EXPECT_EQ(h.frame().btn_OK->state(), "disabled");
  EXPECT_TRUE(QFileInfo(h.install.installDir + "/Checklists/My Checks.dat").isFile());

  // Cancel keeps the checklist in memory; entering again starts empty.
  test::Click(h.frame().btn_Cancel);
  EXPECT_EQ(h.frame().currentScreen, "frm_Home");
  EXPECT_EQ(Section(0).size(), 21u);
  h.frame().Enter("frm_Modify");
  EXPECT_EQ(screen->lbl_ChecklistName->text(), "");
  EXPECT_EQ(screen->btn_Insert->state(), "disabled");
  EXPECT_EQ(screen->lstview_Checklist->topLevelItemCount(), 0);
  // The assignment screen offers the new checklist at once.
  h.frame().Enter("frm_Assign");
  EXPECT_FALSE(h.screen<QWidget>("frm_Assign")
                   ->findChild<QListWidget*>("lstChecklists")
                   ->findItems("My Checks", Qt::MatchExactly)
                   .isEmpty());
}

// Whatever moves the highlight (a click, the arrows, End, Home, typing the
// start of a challenge) makes that step the current one: typing and Delete
// act on it. Inserts, deletes and responses picked with the space bar count
// as changes to save.
TEST_F(ModifyScreenTest, TheKeyboardActsOnTheHighlightedStep) {
  QTreeWidget* steps = screen->lstview_Checklist;
  h.dialogs->Type("Keys");
  test::Press(screen, "btn_New");
  for (int i = 0; i < 3; ++i) test::Press(screen, "btn_Insert");
  EXPECT_EQ(h.frame().btn_OK->state(), "enabled");
  ClickRow(0);
  Type(screen->txt_Challenge, "Alpha");
  test::KeyOn(steps, Qt::Key_Down);
  EXPECT_EQ(screen->txt_Challenge->text(), "New Item");
  Type(screen->txt_Challenge, "Bravo");
  test::KeyOn(steps, Qt::Key_End);
  Type(screen->txt_Challenge, "Charlie");
  EXPECT_EQ(Challenges(), (QStringList{"Alpha", "Bravo", "Charlie"}));
  test::KeyOn(steps, Qt::Key_Home);
  EXPECT_EQ(screen->txt_Challenge->text(), "Alpha");
  QTest::keyClicks(QApplication::focusWidget(), "b");
  EXPECT_EQ(steps->currentItem(), steps->topLevelItem(1));
  EXPECT_EQ(screen->txt_Challenge->text(), "Bravo");
  test::KeyOn(screen->btn_Delete, Qt::Key_Return);
  EXPECT_EQ(Challenges(), (QStringList{"Alpha", "Charlie"}));
  EXPECT_EQ(steps->currentItem(), steps->topLevelItem(0));

  test::Click(h.frame().btn_OK);
  ASSERT_EQ(h.frame().btn_OK->state(), "disabled");
  test::KeyOn(screen->lst_Responses, Qt::Key_Space);  // the first entry, "Checked"
  EXPECT_EQ(h.frame().btn_OK->state(), "enabled");
  test::KeyOn(steps, Qt::Key_Down);  // leaving the step stores the pick
  ASSERT_EQ(Section(0)[0].responses.size(), 4u);
  EXPECT_EQ(Section(0)[0].responses[2].text.trimmed(), "Checked");
}

TEST_F(ModifyScreenTest, APasteIsCutToTheFieldAndSectionsSwitchThroughTheBox) {
  h.dialogs->Type("Input");
  test::Press(screen, "btn_New");
  test::Press(screen, "btn_Insert");
  QGuiApplication::clipboard()->setText(QString(400, u'x'));
  screen->txt_Response->setFocus();
  screen->txt_Response->selectAll();
  screen->txt_Response->paste();
  EXPECT_EQ(screen->txt_Response->text().size(), data::kResponseWidth);
  EXPECT_EQ(Section(0)[0].response, QString(data::kResponseWidth, u'x'));

  screen->comboSection->setCurrentIndex(9);
  emit screen->comboSection->activated(9);
  EXPECT_EQ(screen->lbl_ChecklistSection->text(), "Landing");
  EXPECT_EQ(screen->txt_Challenge->text(), "");
  EXPECT_EQ(screen->btn_Delete->state(), "disabled");
}
