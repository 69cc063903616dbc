// The pronunciation screen in the application: reached from the
// configuration screen, driven from the keyboard, saved through a failing
// and a working write, left with the configuration screen's selections.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

#include "AppHarness.h"
#include "GrammarFixture.h"
#include "gui/grammar/frm_Configure.h"
#include "gui/grammar/frm_Pronounce.h"

using namespace qv;

namespace {

TEST(PronounceScreen, ListsHearsEditsChecksAndSaves) {
  test::AppHarness h;
  test::FillSmallCommandSet(h.state());
  h.state().speechReady = true;
  h.fakes.compiler->reviewed = {{"blorvik", "blorvik", "B L AO R V IH K", {}},
                                {"ils", "ILS", "IH L Z", {"AY EH L EH S"}},
                                {"quennet", "quennet", "K W EH N AH T", {}}};
  const QString path = h.install.installDir + "/Data/Pronunciations.txt";
  test::WriteBytes(
      path, "# my words\nils\tAY EH L EH S\nzulu\tZ UW L UW  # not in these commands\nils\tIH L S\nkilo K IY L OW\n");
  h.ShowFrame();
  h.frame().Enter("frm_Configure");
  auto* cfg = h.screen<grammar::frm_Configure>("frm_Configure");
  cfg->comboCategory->setCurrentIndex(1);
  test::Press(cfg, "btn_Pronounce");
  ASSERT_EQ(h.frame().currentScreen, "frm_Pronounce");
  auto* p = h.screen<grammar::frm_Pronounce>("frm_Pronounce");
  ASSERT_EQ(p->listWords->topLevelItemCount(), 3);
  EXPECT_EQ(p->listWords->topLevelItem(1)->text(1), "AY EH L EH S");
  EXPECT_EQ(p->listWords->topLevelItem(1)->text(2), "your list");
  EXPECT_EQ(p->txt_Phones->text(), "B L AO R V IH K");  // the first word is chosen

  // Down to "quennet", hear it, then type phones with a mistake in them.
  for (int i = 0; i < 2; ++i) test::KeyOn(p->listWords, Qt::Key_Down);
  EXPECT_EQ(p->txt_Phones->text(), "K W EH N AH T");
  test::Press(p, "btn_PlayWord");
  EXPECT_TRUE(h.log.contains("tts:speak:1:[[K W EH N AH T]]")) << h.log.join('|').toStdString();
  p->txt_Phones->setFocus();
  p->txt_Phones->selectAll();
  QTest::keyClicks(p->txt_Phones, "K EH N eh");
  EXPECT_EQ(p->lbl_PhoneProblem->text(), "Column 8: phones are written in capitals: \"EH\"");
  EXPECT_EQ(p->listWords->topLevelItem(2)->text(1), "K EH N");  // the last good phones typed stay
  for (int i = 0; i < 2; ++i) QTest::keyClick(p->txt_Phones, Qt::Key_Backspace);
  QTest::keyClicks(p->txt_Phones, "EH T");
  EXPECT_TRUE(p->lbl_PhoneProblem->text().isEmpty());
  EXPECT_EQ(p->listWords->topLevelItem(2)->text(1), "K EH N EH T");
  EXPECT_EQ(p->listWords->topLevelItem(2)->text(2), "your list");
  EXPECT_EQ(h.frame().btn_OK->state(), "enabled");

  // A save that cannot be written says so and loses nothing.
  QFile::remove(path);
  QDir().mkpath(path + "/blocker");
  test::Click(h.frame().btn_OK);
  EXPECT_EQ(h.dialogs->last().title, "Pronunciations Not Saved");
  EXPECT_TRUE(p->unsavedChanges());
  QDir(path).removeRecursively();
  test::Click(h.frame().btn_OK);
  EXPECT_EQ(h.dialogs->last().title, "Pronunciations Saved");
  EXPECT_FALSE(p->unsavedChanges());
  // The heading, the hand-written second pronunciation of "ils" (now beside
  // the first), a word the screen does not show and a line that cannot be
  // read all stay.
  EXPECT_EQ(test::ReadBytes(path),
            "# my words\nils\tAY EH L EH S\nils\tIH L S\n"
            "zulu\tZ UW L UW  # not in these commands\nkilo K IY L OW\nquennet\tK EH N EH T\n");

  // Back to the generated phones, then leave without saving: asked first.
  for (int i = 0; i < 2; ++i) test::KeyOn(p->listWords, Qt::Key_Up);
  test::Press(p, "btn_ResetWord");
  EXPECT_EQ(p->listWords->topLevelItem(0)->text(2), "generated");
  test::KeyOn(p->listWords, Qt::Key_Down);
  test::Press(p, "btn_ResetWord");
  EXPECT_EQ(p->listWords->topLevelItem(1)->text(1), "IH L Z");
  h.dialogs->Cancel();
  test::Click(h.frame().btn_Cancel);
  EXPECT_EQ(h.dialogs->last().title, "Pronunciations Not Saved");
  EXPECT_EQ(h.frame().currentScreen, "frm_Pronounce");
  h.dialogs->Ok();
  test::Click(h.frame().btn_Cancel);
  EXPECT_EQ(h.frame().currentScreen, "frm_Configure");
  EXPECT_EQ(cfg->comboCategory->currentIndex(), 1);
}

}  // namespace
