// The speech configuration, test and script screens in the application,
// driven through their buttons with the real dialogs answered by script.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextEdit>

#include "AppHarness.h"
#include "GrammarFixture.h"
#include "base/Cp1252.h"
#include "core/grammar/GrammarScript.h"
#include "data/CommandList.h"
#include "data/IniFile.h"
#include "core/grammar/GrammarWriter.h"
#include "core/grammar/NavaidGrammar.h"
#include "gui/grammar/frm_CompileProblems.h"
#include "gui/grammar/frm_Configure.h"
#include "gui/grammar/frm_Script.h"
#include "gui/grammar/frm_Test.h"
#include "gui/kit/frm_Progress.h"

using namespace qv;

namespace {

class GrammarScreensTest : public testing::Test {
 protected:
  GrammarScreensTest() {
    shell::AppState& s = h.state();
    test::FillSmallCommandSet(s);
    s.commands[5].readbacks = {base::Fixed("Nav two set", data::kReadbackWidth),
                               base::Fixed("climbing to <alt> feet", data::kReadbackWidth)};
    s.commands[4].grammars = {base::Fixed("[gear|wheels] (down)", data::kGrammarWidth)};
    s.settings.lists = {{"<ALT>", "altitude", " three thousand "}};
    s.settings.copilotVoice = 3;
    s.speechReady = true;
    s.screenTips.insert("frm_Test", "Speak to test the phrase.");
    h.fakes.output->presentVoices = {1, 3};
    test::WriteBytes(h.install.installDir + "/Data/Generic Lists.bnf",
                     test::ReadBytes(test::DemoSourceDir() + "/Installation/Data/Generic Lists.bnf"));
    h.ShowFrame();
    frame().Enter("frm_Configure");
    cfg = h.screen<grammar::frm_Configure>("frm_Configure");
  }

  shell::frm_Parent& frame() { return h.frame(); }
  void Choose(int category, int command) {
    cfg->comboCategory->setCurrentIndex(category);
    cfg->comboCommand->setCurrentIndex(command);
  }
  static QStringList Items(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
  }
  const std::vector<test::DialogScript::Shown>& shown() { return h.dialogs->shown; }
  QString LastTitle() { return h.dialogs->last().title; }
  // Opens the test screen on the phrase of "Gear Up".
  void TestGearUp() {
    Choose(2, 0);
    cfg->listGrammar->setCurrentRow(0);
    test::Press(cfg, "btn_TestGrammar");
  }

  test::AppHarness h;
  grammar::frm_Configure* cfg = nullptr;
};

TEST_F(GrammarScreensTest, EnteringListsCategoriesCommandsPhrasesAndVoices) {
  ASSERT_EQ(cfg->comboCategory->count(), 3);
  EXPECT_EQ(cfg->comboCategory->itemText(1), "Radios");
  EXPECT_EQ(cfg->comboCommand->itemData(1).toInt(), 3);  // the first category is chosen
  Choose(1, 2);                                          // "RADIOS": commands 1, 2 and 5 of the list
  EXPECT_EQ(cfg->currentCommand(), 5);
  EXPECT_EQ(cfg->lbl_CategoryNumber->text(), "Number of Commands in Category: 3");
  EXPECT_EQ(cfg->lbl_CommandNumber->text(), "Total Number of Commands: 6");
  EXPECT_EQ(Items(cfg->listGrammar), QStringList{"nav two [to|] <NAV_ID>"});
  EXPECT_EQ(Items(cfg->listReadback), (QStringList{"Nav two set", "climbing to <alt> feet"}));
  EXPECT_EQ(cfg->listReadback->item(1)->data(Qt::UserRole).toInt(), 1);
  // Only the voices reported present, the saved one chosen; a choice is saved at once.
  ASSERT_EQ(cfg->combo_Copilot->count(), 3);
  EXPECT_EQ(cfg->combo_Copilot->itemText(2), "Daniel (UK English)");
  EXPECT_EQ(cfg->combo_Copilot->currentIndex(), 2);
  cfg->combo_Copilot->setCurrentIndex(1);
  EXPECT_EQ(data::ReadIniInt("Main", "copilotVoice", h.install.settingsPath()), 1);
  EXPECT_EQ(frame().btn_OK->state(), "disabled");
  EXPECT_EQ(frame().btn_Compile->state(), "disabled");
  // The preview speaks the list's example in place of its name, in the voice chosen.
  cfg->listReadback->setCurrentRow(1);
  h.log.clear();
  test::Press(cfg, "btn_PlayReadback");
  EXPECT_EQ(h.log, QStringList{"tts:speak:1:climbing to three thousand feet"});
}

// A whole editing session through the buttons and dialogs: add, edit by a
// double click, delete after a Cancel, save, compile.
TEST_F(GrammarScreensTest, EditSaveAndCompileThroughTheButtons) {
  Choose(1, 1);  // Set Heading Bug: two phrases
  QStringList& grammars = h.state().commands[2].grammars;
  h.dialogs->Type("turn heading bug");
  test::Press(cfg, "btn_AddGrammar");
  ASSERT_EQ(grammars.size(), 3);
  EXPECT_EQ(cfg->listGrammar->currentRow(), 2);
  EXPECT_EQ(frame().btn_OK->state(), "enabled");
  EXPECT_EQ(frame().btn_Compile->state(), "enabled");

  h.dialogs->Type("set (the) heading <HDG>");
  cfg->listGrammar->setCurrentRow(0);
  emit cfg->listGrammar->itemDoubleClicked(cfg->listGrammar->item(0));
  EXPECT_EQ(h.dialogs->last().defaultText, "set heading <HDG>");
  EXPECT_EQ(grammars[0].trimmed(), "set (the) heading <HDG>");
  // A phrase filling its whole field survives an edit.
  const QString full = "heading " + QString(data::kGrammarWidth - 8, u'x');
  grammars[1] = full;
  cfg->listGrammar->item(1)->setText(full);
  cfg->listGrammar->setCurrentRow(1);
  test::Press(cfg, "btn_EditGrammar");
  EXPECT_EQ(grammars[1], full);

  cfg->listGrammar->setCurrentRow(1);
  h.dialogs->Cancel();
  test::Press(cfg, "btn_DeleteGrammar");
  EXPECT_EQ(grammars.size(), 3);
  test::Press(cfg, "btn_DeleteGrammar");
  ASSERT_EQ(grammars.size(), 2);
  EXPECT_EQ(Items(cfg->listGrammar), (QStringList{"set (the) heading <HDG>", "turn heading bug"}));

  test::Click(frame().btn_OK);
  EXPECT_EQ(LastTitle(), "Changes Saved");
  EXPECT_EQ(frame().btn_OK->state(), "disabled");
  EXPECT_EQ(frame().btn_Compile->state(), "enabled");
  std::vector<data::CommandRecord> saved;
  ASSERT_TRUE(data::ParseCommandList(test::ReadBytes(data::CommandListFilePath(h.install.installDir)), saved));
  EXPECT_EQ(saved[2].grammars, grammars);

  test::Click(frame().btn_Compile);
  EXPECT_EQ(LastTitle(), "Grammars and Readbacks Saved");
  EXPECT_TRUE(h.log.contains("compile:compile"));
  EXPECT_FALSE(h.app->dialogs().progress()->isVisible());
  EXPECT_EQ(frame().btn_Compile->state(), "disabled");
  EXPECT_FALSE(cfg->unsavedChanges());
}

// After a failed compile the list of problems is offered; the user walks it
// with the keys and Enter takes the screen to the phrase. Warnings of a
// successful compile come in the same list.
TEST_F(GrammarScreensTest, ChoosingACompileProblemLandsOnItsPhrase) {
  // Phrase 2 of "Set Heading Bug" is "heading on  bug": the writer makes it
  // "heading <WORD_ON>  bug" after "\t\t| ", so "bug" is at column 24 of its
  // line in Radios.bnf and at column 13 of the phrase.
  std::vector<grammar::LineOrigin> lines;
  grammar::BuildCategoryGrammar(h.state(), "Radios", &lines);
  int line = 0;
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i].command == 2 && lines[i].phrase == 1) line = static_cast<int>(i) + 1;
  ASSERT_GT(line, 0);
  h.fakes.compiler->compileStatus = 1;
  h.fakes.compiler->diagnostics = {
      {"Navaid_Names.bnf", grammar::NavaidFirstEntryLine("Navaid_Names.bnf") + 2, 12, false, "a warning"},
      {"Radios.bnf", line, 24, true, "a fault"}};
  h.dialogs->Type("strobes");
  test::Press(cfg, "btn_AddGrammar");
  test::Click(frame().btn_Compile);
  EXPECT_EQ(LastTitle(), "Grammar Compile Error");
  grammar::frm_CompileProblems* problems = cfg->problemList();
  ASSERT_TRUE(problems);
  ASSERT_TRUE(problems->isVisible());
  EXPECT_TRUE(
      problems->lbl_ProblemsCaption->text().startsWith("The grammar files did not compile: 1 error, 1 warning."));
  EXPECT_EQ(Items(problems->listProblems),
            (QStringList{"Error: Radios - Set Heading Bug - phrase 2, column 13: a fault",
                         "Warning: Nav_Info.txt line 3, column 7: a warning"}));
  EXPECT_EQ(cfg->comboCategory->currentText(), "Lights");

  QTest::keyClick(problems->listProblems, Qt::Key_Down);
  QTest::keyClick(problems->listProblems, Qt::Key_Return);  // a list line: nothing to select
  EXPECT_EQ(cfg->comboCategory->currentText(), "Lights");
  QTest::keyClick(problems->listProblems, Qt::Key_Up);
  QTest::keyClick(problems->listProblems, Qt::Key_Return);
  EXPECT_EQ(cfg->comboCategory->currentText(), "Radios");
  EXPECT_EQ(cfg->comboCommand->currentText(), "Set Heading Bug");
  EXPECT_EQ(cfg->currentCommand(), 2);
  EXPECT_EQ(cfg->listGrammar->currentItem()->text(), "heading on  bug");

  h.fakes.compiler->compileStatus = 0;
  h.fakes.compiler->diagnostics = {{"Radios.bnf", line, 24, false, "only a warning"}};
  test::Click(frame().btn_Compile);
  EXPECT_EQ(LastTitle(), "Grammars and Readbacks Saved");
  EXPECT_TRUE(problems->lbl_ProblemsCaption->text().startsWith("The grammar files compiled with 1 warning."));
  EXPECT_EQ(Items(problems->listProblems),
            QStringList{"Warning: Radios - Set Heading Bug - phrase 2, column 13: only a warning"});
}

TEST_F(GrammarScreensTest, CompileAndMicrophoneOfferTheRestartWhenBothProgramsRun) {
  // The microphone switch: captured, saved, and said so.
  const auto pressM = [this](ui::DialogWindow* d) {
    h.dialogs->custom = nullptr;
    QTest::keyClick(d->findChild<QLineEdit*>("txt_Input"), Qt::Key_M);
    test::Click(d->findChild<ui::SkinnedButton*>("btn_OK"));
  };
  h.dialogs->custom = pressM;
  test::Press(cfg, "btn_MicrophoneSetup");
  EXPECT_EQ(data::ReadIniString("Main", "microphone", h.install.settingsPath()), "m");
  EXPECT_EQ(h.dialogs->titles(), (QStringList{"Microphone Switch", "Microphone Setting Changed"}));
  EXPECT_EQ(h.dialogs->last().tag, "");

  h.SetRunning(true, true);
  h.dialogs->Type("strobes");
  test::Press(cfg, "btn_AddGrammar");
  h.dialogs->Cancel();
  test::Click(frame().btn_Compile);
  EXPECT_EQ(h.dialogs->last().tag, "gcompile_restart");
  EXPECT_TRUE(cfg->isVisible());

  // The same question after the microphone; its OK hides the screens and
  // restarts the runtime.
  h.dialogs->custom = pressM;
  test::Press(cfg, "btn_MicrophoneSetup");
  EXPECT_EQ(h.dialogs->last().tag, "gcompile_restart");
  EXPECT_EQ(h.log.filter("start:"), QStringList{"start:murmexr.exe"});
  EXPECT_FALSE(frame().isVisible());
}

// --- test screen -------------------------------------------------------------

TEST_F(GrammarScreensTest, TestingAPhraseListensAndReturnsWithTheSelections) {
  h.log.clear();
  TestGearUp();
  ASSERT_EQ(frame().currentScreen, "frm_Test");
  auto* t = h.screen<grammar::frm_Test>("frm_Test");
  EXPECT_EQ(t->txtScript->toPlainText(), "1.  Gear\n2.  Gear down\n3.  Wheels\n4.  Wheels down");
  EXPECT_EQ(t->iconShown(), "icon_ready.bmp");
  EXPECT_EQ(h.log, QStringList{"rec:load"});
  EXPECT_EQ(frame().btn_OK->button_type(), "start");
  EXPECT_EQ(frame().lbl_TipText->text(), "Speak to test the phrase.");

  // Each outcome of listening: its icon, its result and any message.
  struct Outcome {
    int16_t status;
    QByteArray heard;
    const char* icon;
    QString result, message;
  };
  for (const Outcome& k : {Outcome{0, QByteArray("  wheels down\0\0\0 ", 18), "icon_Result.bmp", "wheels down", ""},
                           Outcome{0, QByteArray("gear\0 down", 10), "icon_Result.bmp", "gear down", ""},
                           Outcome{-2, {}, "icon_Problem.bmp", "NO VALID RECOGNITION RESULT", ""},
                           Outcome{-3, {}, "icon_Problem.bmp", "", "Error in Speech Recognition Engine"},
                           Outcome{7, {}, "icon_Begin.bmp", "", ""}}) {
    h.fakes.recognizer->listenStatus = k.status;
    h.fakes.recognizer->heard = k.heard;
    const size_t before = shown().size();
    test::Click(frame().btn_OK);
    EXPECT_EQ(t->iconShown(), k.icon) << k.status;
    EXPECT_EQ(t->lblResult->text(), k.result) << k.status;
    EXPECT_EQ(shown().size() > before ? LastTitle() : QString(), k.message) << k.status;
  }

  test::Click(frame().btn_Cancel);
  EXPECT_EQ(h.log.last(), "rec:stop");
  EXPECT_EQ(frame().currentScreen, "frm_Configure");
  EXPECT_EQ(cfg->comboCategory->currentIndex(), 2);
  EXPECT_EQ(cfg->currentCommand(), 4);
  EXPECT_EQ(cfg->listGrammar->currentRow(), 0);
  EXPECT_EQ(frame().btn_Cancel->picture(), "btn_ParentHome");
}

TEST_F(GrammarScreensTest, TestFailuresKeepTheConfigurationScreen) {
  h.fakes.recognizer->loadStatus = -3;
  TestGearUp();
  EXPECT_EQ(LastTitle(), "Error in Recognition Engine");
  EXPECT_EQ(frame().currentScreen, "frm_Configure");
  h.state().speechReady = false;  // the test ends once the grammar is written
  const size_t before = shown().size();
  test::Press(cfg, "btn_TestGrammar");
  EXPECT_EQ(shown().size(), before);
  QFile::remove(h.install.installDir + "/Data/Generic Lists.bnf");
  QFile::remove(h.install.installDir + "/Grammars/Test/Generic Lists.bnf");
  test::Press(cfg, "btn_TestGrammar");
  EXPECT_EQ(LastTitle(), "Error Writing Test Grammar");
  EXPECT_FALSE(h.app->dialogs().progress()->isVisible());
  EXPECT_EQ(frame().currentScreen, "frm_Configure");
}

// --- script screen -------------------------------------------------------------

TEST_F(GrammarScreensTest, ScriptIsShownSavedAndLeftWithTheSelections) {
  Choose(1, 2);
  cfg->listReadback->setCurrentRow(1);
  test::Press(cfg, "btn_Script");
  ASSERT_EQ(frame().currentScreen, "frm_Script");
  auto* s = h.screen<grammar::frm_Script>("frm_Script");
  QString expected;
  ASSERT_TRUE(grammar::BuildGrammarScript(h.app->context(), expected));
  EXPECT_EQ(s->document(), expected);
  EXPECT_TRUE(s->rtb->toPlainText().contains("II.  Radios"));  // shown through the reader
  EXPECT_EQ(s->rtb->textCursor().position(), 0);               // opened at the title
  EXPECT_EQ(s->rtb->verticalScrollBar()->value(), 0);
  test::Click(frame().btn_OK);
  EXPECT_EQ(LastTitle(), "Grammar Script Saved");
  EXPECT_EQ(test::ReadBytes(h.install.installDir + "/QuorvaneScript.rtf"), base::ToCp1252(expected));
  QFile::remove(h.install.installDir + "/QuorvaneScript.rtf");
  QDir().mkpath(h.install.installDir + "/QuorvaneScript.rtf/blocker");  // a folder in the file's place
  test::Click(frame().btn_OK);
  EXPECT_EQ(LastTitle(), "Grammar Script Not Saved");

  test::Click(frame().btn_Cancel);
  EXPECT_EQ(frame().currentScreen, "frm_Configure");
  EXPECT_EQ(cfg->currentCommand(), 5);
  EXPECT_EQ(cfg->listReadback->currentRow(), 1);
  // A phrase that fails the check keeps the previous document.
  h.state().commands[3].grammars[0] = base::Fixed("landing (lights", 256);
  test::Press(cfg, "btn_Script");
  EXPECT_TRUE(h.dialogs->titles().contains("Grammar Error"));
  EXPECT_EQ(s->document(), expected);
}

}  // namespace
