// The speech configuration, test and script screens in the real frame, with
// the real dialogs answered by script through their controls.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <deque>

#include "GrammarFixture.h"
#include "TestEnv.h"
#include "base/Cp1252.h"
#include "core/data/CommandListStore.h"
#include "core/grammar/GrammarScript.h"
#include "core/shell/LaunchHooks.h"
#include "data/CommandList.h"
#include "data/IniFile.h"
#include "gui/grammar/frm_Configure.h"
#include "gui/grammar/frm_GrammarScreens.h"
#include "gui/grammar/frm_Script.h"
#include "gui/grammar/frm_Test.h"
#include "gui/kit/Router.h"
#include "gui/kit/SkinnedButton.h"
#include "gui/kit/SkinnedDialogs.h"
#include "gui/kit/frm_Input.h"
#include "gui/kit/frm_Message.h"
#include "gui/kit/frm_Progress.h"
#include "gui/shell/frm_Parent.h"

using namespace qv;

namespace {

struct Shown {
  QString dialog, title, message, defaultText;
};

class GrammarScreensTest : public testing::Test {
 protected:
  GrammarScreensTest() : env(inst.installDir) {
    test::FillSmallCommandSet(env.state);
    env.state.commands[1].readbacks = {base::Fixed("Tuning to <RWY_APT_ID>", data::kReadbackWidth)};
    env.state.commands[5].readbacks = {base::Fixed("Nav two set", data::kReadbackWidth),
                                       base::Fixed("climbing to <alt> feet", data::kReadbackWidth)};
    env.state.commands[4].grammars = {base::Fixed("[gear|wheels] (down)", data::kGrammarWidth)};
    env.state.settings.lists = {{"<ALT>", "altitude", " three thousand "}, {"", "unnamed", "never"}};
    env.state.settings.copilotVoice = 3;
    env.state.speechReady = true;
    env.state.screenTips.insert("frm_Test", "Speak to test the phrase.");
    env.output.presentVoices = {1, 3};
    test::WriteBytes(inst.installDir + "/Data/Generic Lists.bnf",
                     test::ReadBytes(test::DemoSourceDir() + "/Installation/Data/Generic Lists.bnf"));

    dialogs.SetHost(&frame);
    dialogs.autoAnswer = [this](ui::DialogWindow* d) { Answer(d); };
    frame.show();
    frame.ShowInParent("frm_Home");
  }

  // --- scripted dialogs ---
  enum class Reply { Ok, Cancel };
  void AnswerOk() { m_replies.push_back({Reply::Ok, {}, false}); }
  void AnswerCancel() { m_replies.push_back({Reply::Cancel, {}, false}); }
  void AnswerInput(const QString& text) { m_replies.push_back({Reply::Ok, text, true}); }

  void Answer(ui::DialogWindow* d) {
    auto* input = dynamic_cast<ui::frm_Input*>(d);
    shown.push_back(
        {d->objectName(), d->title()->text(), d->message()->text(), input ? input->input()->text() : QString()});
    Scripted r{Reply::Ok, {}, false};
    if (!m_replies.empty()) {
      r = m_replies.front();
      m_replies.pop_front();
    }
    if (input) {
      if (r.setText) input->input()->setText(r.text);
      (r.reply == Reply::Ok ? input->okButton() : input->cancelButton())->button_pressed();
    } else if (auto* message = dynamic_cast<ui::frm_Message*>(d)) {
      (r.reply == Reply::Ok ? message->okButton() : message->cancelButton())->button_pressed();
    }
  }
  QStringList Titles() const {
    QStringList t;
    for (const Shown& s : shown) t << s.title;
    return t;
  }

  // --- driving the screens ---
  void Release(QWidget* screen, const QString& name) {
    auto* b = screen->findChild<ui::SkinnedButton*>(name);
    ASSERT_TRUE(b) << name.toStdString();
    QTest::mousePress(b->picBG(), Qt::LeftButton);
    QTest::mouseRelease(b->picBG(), Qt::LeftButton);
  }
  void Enter() { frame.EnterScreen("speech_config"); }
  grammar::frm_Configure& Cfg() { return *screens.configure(); }
  void Choose(int category, int command) {
    Cfg().comboCategory->setCurrentIndex(category);
    Cfg().comboCommand->setCurrentIndex(command);
  }
  QStringList Items(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
  }
  QString Trimmed(const QString& s) { return base::RightTrimmed(s); }

  test::TestInstallation inst;
  test::TestEnv env;
  ui::Router router;
  shell::LaunchHooks launch;
  ui::SkinnedDialogs dialogs{env.state, launch, router, nullptr};
  shell::Context ctx{env.state, dialogs, env.shutdown, env.status, env.platform};
  shell::frm_Parent frame{env.state, env.shutdown, launch, router};
  grammar::GrammarScreens screens{ctx, env.speech, frame, router, dialogs, launch};
  std::vector<Shown> shown;

 private:
  struct Scripted {
    Reply reply;
    QString text;
    bool setText;
  };
  std::deque<Scripted> m_replies;
};

TEST_F(GrammarScreensTest, EveryRowOfTheThreeScreensHasItsHandler) {
  for (const ui::RouteRow& row : ui::RoutingTable()) {
    const QString screen = row.screen;
    if (screen == "frm_Configure" || screen == "frm_Test" || screen == "frm_Script") {
      EXPECT_TRUE(router.HasHandler(row.kind, screen, row.action)) << row.screen << " " << row.action;
    }
  }
}

TEST_F(GrammarScreensTest, EnteringListsCategoriesCommandsPhrasesAndVoicesWithTheirIndices) {
  Enter();
  EXPECT_EQ(frame.currentScreen, "frm_Configure");
  grammar::frm_Configure& c = Cfg();
  ASSERT_EQ(c.comboCategory->count(), 3);
  EXPECT_EQ(c.comboCategory->itemText(1), "Radios");
  EXPECT_EQ(c.comboCategory->itemData(2).toInt(), 2);
  EXPECT_EQ(c.comboCommand->count(), 2);  // the first category is chosen
  EXPECT_EQ(c.comboCommand->itemData(1).toInt(), 3);

  Choose(1, 2);  // "RADIOS": commands 1, 2 and 5 of the list
  EXPECT_EQ(c.comboCommand->itemText(2), "Tune NAV2 to VOR");
  EXPECT_EQ(c.currentCommand(), 5);
  EXPECT_EQ(c.lbl_CategoryNumber->text(), "Number of Commands in Category: 3");
  EXPECT_EQ(c.lbl_CommandNumber->text(), "Total Number of Commands: 6");
  EXPECT_EQ(c.lbl_HelpText->text(), ".");
  EXPECT_EQ(Items(c.listGrammar), QStringList{"nav two [to|] <NAV_ID>"});
  EXPECT_EQ(Items(c.listReadback), (QStringList{"Nav two set", "climbing to <alt> feet"}));
  EXPECT_EQ(c.listReadback->item(1)->data(Qt::UserRole).toInt(), 1);

  ASSERT_EQ(c.combo_Copilot->count(), 3);  // only the voices reported present
  EXPECT_EQ(c.combo_Copilot->itemText(0), "**NONE**");
  EXPECT_EQ(c.combo_Copilot->itemText(2), "Daniel (UK English)");
  EXPECT_EQ(c.combo_Copilot->currentIndex(), 2);

  EXPECT_EQ(frame.btn_OK->button_type(), "save");
  EXPECT_EQ(frame.btn_OK->state(), "disabled");
  EXPECT_EQ(frame.btn_Compile->state(), "disabled");
}

TEST_F(GrammarScreensTest, VoiceChoiceIsSavedAtOnce) {
  Enter();
  Cfg().combo_Copilot->setCurrentIndex(1);
  EXPECT_EQ(env.state.settings.copilotVoice, 1);
  EXPECT_EQ(data::ReadIniInt("Main", "copilotVoice", inst.settingsPath()), 1);
  EXPECT_FALSE(Cfg().unsavedChanges());
}

TEST_F(GrammarScreensTest, AddEditDeletePhraseThenSaveAndCompile) {
  Enter();
  Choose(1, 1);  // Set Heading Bug: two phrases
  grammar::frm_Configure& c = Cfg();
  ASSERT_EQ(c.currentCommand(), 2);

  AnswerInput("   turn heading bug [left|right]   ");
  Release(&c, "btn_AddGrammar");
  ASSERT_EQ(shown.back().title, "Add New Grammar");
  EXPECT_EQ(shown.back().message, "\nEnter a new grammar for the command: Set Heading Bug");
  QStringList& grammars = env.state.commands[2].grammars;
  ASSERT_EQ(grammars.size(), 3);
  EXPECT_EQ(grammars[2], base::Fixed("turn heading bug [left|right]", 256));
  EXPECT_EQ(Items(c.listGrammar).last(), "turn heading bug [left|right]");
  EXPECT_TRUE(c.unsavedChanges());
  EXPECT_EQ(frame.btn_OK->state(), "enabled");
  EXPECT_EQ(frame.btn_Compile->state(), "enabled");

  // A double click edits, the entry field holding the phrase.
  c.listGrammar->setCurrentRow(0);
  AnswerInput("set (the) heading <HDG>");
  emit c.listGrammar->itemDoubleClicked(c.listGrammar->item(0));
  EXPECT_EQ(shown.back().title, "Edit Existing Grammar");
  EXPECT_EQ(shown.back().defaultText, "set heading <HDG>");
  EXPECT_EQ(Trimmed(grammars[0]), "set (the) heading <HDG>");

  c.listGrammar->setCurrentRow(1);
  AnswerCancel();
  Release(&c, "btn_DeleteGrammar");
  EXPECT_EQ(shown.back().title, "Delete Selected Grammar?");
  EXPECT_EQ(grammars.size(), 3);
  AnswerOk();
  Release(&c, "btn_DeleteGrammar");
  ASSERT_EQ(grammars.size(), 2);
  EXPECT_EQ(Trimmed(grammars[1]), "turn heading bug [left|right]");

  Release(&frame, "btn_OK");
  EXPECT_EQ(shown.back().title, "Changes Saved");
  EXPECT_EQ(frame.btn_OK->state(), "disabled");
  EXPECT_EQ(frame.btn_Compile->state(), "enabled");
  EXPECT_FALSE(c.unsavedChanges());
  std::vector<data::CommandRecord> saved;
  ASSERT_TRUE(data::ParseCommandList(test::ReadBytes(data::CommandListFilePath(inst.installDir)), saved));
  ASSERT_EQ(saved.size(), 6u);
  EXPECT_EQ(saved[2].grammars, grammars);

  env.log.clear();
  Release(&frame, "btn_Compile");
  EXPECT_EQ(shown.back().title, "Grammars and Readbacks Saved");
  EXPECT_EQ(shown.back().message,
            "All changes to the grammars and readbacks have been saved.\n\nPlease press OK to continue...");
  EXPECT_TRUE(env.log.contains("compile:compile"));
  EXPECT_TRUE(QFileInfo::exists(inst.installDir + "/Grammars/Radios.bnf"));
  EXPECT_FALSE(dialogs.progress()->isVisible());
  EXPECT_EQ(dialogs.progress()->title()->text(), "Compiling Grammar Files");
  EXPECT_EQ(frame.btn_OK->state(), "disabled");
  EXPECT_EQ(frame.btn_Compile->state(), "disabled");
}

struct CompileCase {
  const char* name;
  bool removeLists;
  int16_t compileStatus;
  bool speechReady;
  const char* title;
  bool compiled;  // the flag cleared
};

class CompileOutcomeTest : public GrammarScreensTest, public testing::WithParamInterface<CompileCase> {};

TEST_P(CompileOutcomeTest, ShowsItsMessage) {
  const CompileCase& k = GetParam();
  env.state.speechReady = k.speechReady;
  env.compiler.compileStatus = k.compileStatus;
  if (k.removeLists) QFile::remove(inst.installDir + "/Data/Generic Lists.bnf");
  Enter();
  AnswerInput("strobes");
  Release(&Cfg(), "btn_AddGrammar");
  Release(&frame, "btn_Compile");
  EXPECT_EQ(shown.back().title, k.title);
  EXPECT_EQ(Cfg().unsavedChanges(), !k.compiled);
  EXPECT_EQ(frame.btn_Compile->state(), k.compiled ? "disabled" : "enabled");
  EXPECT_EQ(env.log.contains("compile:compile"), k.speechReady && !k.removeLists);
  EXPECT_FALSE(dialogs.progress()->isVisible());
  // The command list was saved before the grammars were written.
  EXPECT_TRUE(QFileInfo::exists(data::CommandListFilePath(inst.installDir)));
}

INSTANTIATE_TEST_SUITE_P(Outcomes, CompileOutcomeTest,
                         testing::Values(CompileCase{"Compiled", false, 0, true, "Grammars and Readbacks Saved", true},
                                         CompileCase{"ExportFails", true, 0, true, "Grammar Export Error", false},
                                         CompileCase{"CompilerFails", false, 1, true, "Grammar Compile Error", false},
                                         CompileCase{"SpeechOffSkipsCompiler", false, 1, false,
                                                     "Grammars and Readbacks Saved", true}),
                         [](const testing::TestParamInfo<CompileCase>& i) { return std::string(i.param.name); });

TEST_F(GrammarScreensTest, CompileAsksToRestartWhenBothProgramsRun) {
  int restarts = 0;
  launch.isSimRunning = [] { return true; };
  launch.isRuntimeRunning = [] { return true; };
  launch.restartRuntime = [&restarts] { ++restarts; };
  Enter();
  AnswerInput("strobes");
  Release(&Cfg(), "btn_AddGrammar");
  AnswerCancel();
  Release(&frame, "btn_Compile");
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back().title, "Grammars and Readbacks Saved");
  EXPECT_TRUE(shown.back().message.endsWith("Press OK to restart, Cancel to continue without restarting."));
  EXPECT_EQ(restarts, 0);
  EXPECT_TRUE(Cfg().isVisible());

  AnswerInput("strobes again");
  Release(&Cfg(), "btn_AddGrammar");
  AnswerOk();
  Release(&frame, "btn_Compile");
  EXPECT_EQ(restarts, 1);
  EXPECT_FALSE(Cfg().isVisible());
  EXPECT_FALSE(frame.isVisible());
}

TEST_F(GrammarScreensTest, LastPhraseAndLastReadbackCannotBeDeleted) {
  Enter();
  Choose(1, 0);  // Tune NAV1 to ILS: one phrase, one readback
  grammar::frm_Configure& c = Cfg();
  c.listGrammar->setCurrentRow(0);
  Release(&c, "btn_DeleteGrammar");
  EXPECT_EQ(shown.back().title, "Can Not Delete");
  EXPECT_EQ(shown.back().message,
            "You may not delete the last available grammar for a command.\n\nPlease press OK to continue.");
  c.listReadback->setCurrentRow(0);
  Release(&c, "btn_DeleteReadback");
  EXPECT_EQ(shown.back().title, "Can Not Delete");
  EXPECT_EQ(env.state.commands[1].grammars.size(), 1);
  EXPECT_EQ(env.state.commands[1].readbacks.size(), 1);
  EXPECT_FALSE(c.unsavedChanges());
}

TEST_F(GrammarScreensTest, TwentyFirstReadbackExceedsTheLimit) {
  Enter();
  Choose(1, 2);
  grammar::frm_Configure& c = Cfg();
  for (int i = 0; i < 18; ++i) {
    AnswerInput(QString("readback %1").arg(i));
    Release(&c, "btn_AddReadback");
  }
  EXPECT_EQ(env.state.commands[5].readbacks.size(), 20);
  const size_t before = shown.size();
  Release(&c, "btn_AddReadback");
  ASSERT_EQ(shown.size(), before + 1);
  EXPECT_EQ(shown.back().title, "Limit Exceeded");
  EXPECT_EQ(env.state.commands[5].readbacks.size(), 20);
  // Phrases have no such limit.
  for (int i = 0; i < 25; ++i) {
    AnswerInput(QString("phrase %1").arg(i));
    Release(&c, "btn_AddGrammar");
  }
  EXPECT_EQ(env.state.commands[5].grammars.size(), 26);
}

struct EntryCase {
  const char* name;
  QString typed;
  QString stored;       // trimmed value kept, empty = nothing changes
  const char* message;  // title of a refusal, or ""
};

class EntryTest : public GrammarScreensTest, public testing::WithParamInterface<EntryCase> {};

// Every kind of text a user can type into the four entry dialogs.
TEST_P(EntryTest, IsStoredWithinItsFieldOrRefused) {
  const EntryCase& k = GetParam();
  Enter();
  Choose(1, 2);
  grammar::frm_Configure& c = Cfg();
  c.listGrammar->setCurrentRow(0);
  c.listReadback->setCurrentRow(1);
  const auto before = env.state.commands[5];
  for (const char* button : {"btn_AddGrammar", "btn_EditGrammar", "btn_AddReadback", "btn_EditReadback"}) {
    shown.clear();
    AnswerInput(k.typed);
    Release(&c, button);
    if (QString(k.message).isEmpty()) {
      EXPECT_EQ(shown.size(), 1u) << button;
    } else {
      ASSERT_EQ(shown.size(), 2u) << button;
      EXPECT_EQ(shown.back().title, k.message);
    }
  }
  const data::CommandRecord& after = env.state.commands[5];
  if (k.stored.isEmpty()) {
    EXPECT_EQ(after.grammars, before.grammars);
    EXPECT_EQ(after.readbacks, before.readbacks);
    EXPECT_FALSE(c.unsavedChanges());
  } else {
    ASSERT_EQ(after.grammars.size(), 2);
    ASSERT_EQ(after.readbacks.size(), 3);
    // The added entry is selected, so the edit replaced it again.
    EXPECT_EQ(after.grammars[0], before.grammars[0]);
    EXPECT_EQ(after.readbacks[1], before.readbacks[1]);
    for (const QString& v : {after.grammars[1], after.readbacks[2]}) {
      EXPECT_EQ(v.size(), 256);
      EXPECT_EQ(Trimmed(v), k.stored);
    }
    // What is kept can be saved and read back unchanged.
    ASSERT_EQ(data::SaveCommandList(env.state, dialogs), 0);
    std::vector<data::CommandRecord> saved;
    ASSERT_TRUE(data::ParseCommandList(test::ReadBytes(data::CommandListFilePath(inst.installDir)), saved));
    EXPECT_EQ(saved[5].grammars, after.grammars);
    EXPECT_EQ(saved[5].readbacks, after.readbacks);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Entries, EntryTest,
    testing::Values(EntryCase{"OnlySpaces", "      ", "", ""}, EntryCase{"Empty", "", "", ""},
                    // The input box itself holds 255 characters.
                    EntryCase{"LongIsCut", QString(300, u'x'), QString(255, u'x'), ""},
                    EntryCase{"WesternAccents", QString::fromUtf8("  caf\u00e9 \u20ac  "),
                              QString::fromUtf8("caf\u00e9 \u20ac"), ""},
                    EntryCase{"OutsideTheCodePage", QString::fromUtf8("gear \u4e0b down"), "", "Entry Not Accepted"},
                    EntryCase{"Emoji", QString::fromUtf8("flaps \U0001F600"), "", "Entry Not Accepted"}),
    [](const testing::TestParamInfo<EntryCase>& i) { return std::string(i.param.name); });

TEST_F(GrammarScreensTest, EntriesLongerThanTheFieldAreCutTo256) {
  Enter();
  Cfg().AddGrammarOk(QString(300, u'g'));
  Cfg().AddReadbackOk("  " + QString(299, u'r'));
  const data::CommandRecord& c = env.state.commands[Cfg().currentCommand()];
  EXPECT_EQ(c.grammars.last(), QString(256, u'g'));
  EXPECT_EQ(c.readbacks.last(), QString(256, u'r'));
}

TEST_F(GrammarScreensTest, PlayReadbackSpeaksTheExampleInPlaceOfTheListName) {
  Enter();
  Choose(1, 2);
  Cfg().listReadback->setCurrentRow(1);
  env.log.clear();
  Release(&Cfg(), "btn_PlayReadback");
  EXPECT_EQ(env.log, QStringList{"tts:speak:3:climbing to three thousand feet"});

  env.state.speechReady = false;
  env.log.clear();
  Release(&Cfg(), "btn_PlayReadback");
  EXPECT_TRUE(env.log.isEmpty());
}

TEST_F(GrammarScreensTest, MicrophoneSetupAsksForTheSwitch) {
  Enter();
  AnswerCancel();
  Release(&Cfg(), "btn_MicrophoneSetup");
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back().title, "Microphone Switch");
  EXPECT_EQ(dialogs.inputName, "mic_switch");
}

TEST_F(GrammarScreensTest, CancelReturnsHome) {
  Enter();
  Release(&frame, "btn_Cancel");
  EXPECT_EQ(frame.currentScreen, "frm_Home");
  EXPECT_FALSE(frame.btn_OK->isVisible());
}

// --- test screen -------------------------------------------------------------

TEST_F(GrammarScreensTest, TestingAPhraseListsItsSentencesAndReturnsWithTheSelections) {
  Enter();
  Choose(2, 0);  // Gear Up
  Cfg().listGrammar->setCurrentRow(0);
  env.log.clear();
  Release(&Cfg(), "btn_TestGrammar");
  ASSERT_EQ(frame.currentScreen, "frm_Test");
  grammar::frm_Test& t = *screens.test();
  EXPECT_EQ(t.txtScript->toPlainText(), "1.  Gear\n2.  Gear down\n3.  Wheels\n4.  Wheels down");
  EXPECT_EQ(grammar::frm_Test::NumberedSentences({"gear", " wheels"}), "1.  Gear\r\n2.  Wheels");
  EXPECT_EQ(t.iconShown(), "icon_ready.bmp");
  EXPECT_EQ(env.log, QStringList{"rec:load"});
  EXPECT_TRUE(QFileInfo::exists(inst.installDir + "/Grammars/Test/Test.bnf"));
  EXPECT_EQ(dialogs.progress()->title()->text(), "Creating Test Grammar");
  EXPECT_FALSE(dialogs.progress()->isVisible());
  EXPECT_EQ(frame.btn_OK->button_type(), "start");
  EXPECT_EQ(frame.btn_OK->picture(), "btn_ParentStart");
  EXPECT_EQ(frame.btn_Cancel->picture(), "btn_ParentReturn");
  EXPECT_EQ(frame.btn_Compile->state(), "disabled");
  EXPECT_EQ(frame.lbl_TipText->text(), "Speak to test the phrase.");

  Release(&frame, "btn_Cancel");
  EXPECT_EQ(env.log.last(), "rec:stop");
  EXPECT_EQ(frame.currentScreen, "frm_Configure");
  EXPECT_EQ(Cfg().comboCategory->currentIndex(), 2);
  EXPECT_EQ(Cfg().currentCommand(), 4);
  EXPECT_EQ(Cfg().listGrammar->currentRow(), 0);
  EXPECT_EQ(frame.btn_OK->button_type(), "save");
  EXPECT_EQ(frame.btn_Cancel->picture(), "btn_ParentHome");
}

struct ListenCase {
  const char* name;
  int16_t status;
  QByteArray heard;
  const char* icon;
  QString result;
  const char* message;
};

class ListenTest : public GrammarScreensTest, public testing::WithParamInterface<ListenCase> {};

TEST_P(ListenTest, StartShowsTheOutcome) {
  const ListenCase& k = GetParam();
  Enter();
  Choose(2, 0);
  Cfg().listGrammar->setCurrentRow(0);
  Release(&Cfg(), "btn_TestGrammar");
  ASSERT_EQ(frame.currentScreen, "frm_Test");
  env.recognizer.listenStatus = k.status;
  env.recognizer.heard = k.heard;
  shown.clear();
  Release(&frame, "btn_OK");
  grammar::frm_Test& t = *screens.test();
  EXPECT_EQ(t.iconShown(), k.icon);
  EXPECT_EQ(t.lblResult->text(), k.result);
  if (QString(k.message).isEmpty()) {
    EXPECT_TRUE(shown.empty());
  } else {
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, k.message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, ListenTest,
    testing::Values(ListenCase{"Recognised", 0, QByteArray("  wheels down\0\0\0 ", 18), "icon_Result.bmp",
                               "wheels down", ""},
                    ListenCase{"NulsInside", 0, QByteArray("gear\0 down", 10), "icon_Result.bmp", "gear down", ""},
                    ListenCase{"NothingValid", -2, {}, "icon_Problem.bmp", "NO VALID RECOGNITION RESULT", ""},
                    ListenCase{"EngineError", -3, {}, "icon_Problem.bmp", "", "Error in Speech Recognition Engine"},
                    ListenCase{"OtherStatus", 7, {}, "icon_Begin.bmp", "", ""}),
    [](const testing::TestParamInfo<ListenCase>& i) { return std::string(i.param.name); });

TEST_F(GrammarScreensTest, TestErrorPathsKeepTheConfigurationScreen) {
  Enter();
  Choose(2, 0);
  Cfg().listGrammar->setCurrentRow(0);

  env.recognizer.loadStatus = -3;
  Release(&Cfg(), "btn_TestGrammar");
  EXPECT_EQ(shown.back().title, "Error in Recognition Engine");
  EXPECT_EQ(shown.back().message, "Failed to Initialize");
  EXPECT_EQ(frame.currentScreen, "frm_Configure");

  QFile::remove(inst.installDir + "/Data/Generic Lists.bnf");
  QFile::remove(inst.installDir + "/Grammars/Test/Generic Lists.bnf");
  Release(&Cfg(), "btn_TestGrammar");
  EXPECT_EQ(shown.back().title, "Error Writing Test Grammar");
  EXPECT_FALSE(dialogs.progress()->isVisible());
  EXPECT_EQ(frame.currentScreen, "frm_Configure");
}

TEST_F(GrammarScreensTest, WithSpeechOffTheTestEndsAfterWritingTheGrammar) {
  env.state.speechReady = false;
  Enter();
  Choose(2, 0);
  Cfg().listGrammar->setCurrentRow(0);
  Release(&Cfg(), "btn_TestGrammar");
  EXPECT_TRUE(QFileInfo::exists(inst.installDir + "/Grammars/Test/Test.bnf"));
  EXPECT_EQ(frame.currentScreen, "frm_Configure");
  EXPECT_TRUE(shown.empty());
  EXPECT_TRUE(env.log.isEmpty());
}

TEST_F(GrammarScreensTest, IllegalPhraseOpensTheTestScreenWithoutSentences) {
  Enter();
  Choose(2, 0);
  env.state.commands[4].grammars[0] = base::Fixed("gear [up", 256);
  Cfg().CommandChosen(0);
  Cfg().listGrammar->setCurrentRow(0);
  Release(&Cfg(), "btn_TestGrammar");
  EXPECT_TRUE(Titles().contains("Grammar Error"));
  EXPECT_EQ(frame.currentScreen, "frm_Test");
  EXPECT_TRUE(screens.test()->txtScript->toPlainText().isEmpty());
}

// --- script screen -------------------------------------------------------------

TEST_F(GrammarScreensTest, ScriptIsShownFormattedAndSavedByteExact) {
  Enter();
  Choose(1, 2);
  Cfg().listReadback->setCurrentRow(1);
  Release(&Cfg(), "btn_Script");
  ASSERT_EQ(frame.currentScreen, "frm_Script");
  grammar::frm_Script& s = *screens.script();
  EXPECT_EQ(dialogs.progress()->title()->text(), "Creating Grammar Script");
  EXPECT_FALSE(dialogs.progress()->isVisible());
  EXPECT_EQ(frame.btn_OK->button_type(), "save");
  EXPECT_EQ(frame.btn_OK->ToolTip(), "Click to save the generated script to a file.");

  QString expected;
  ASSERT_TRUE(grammar::BuildGrammarScript(ctx, expected));
  EXPECT_EQ(s.document(), expected);

  const QTextDocument* doc = s.rtb->document();
  const QTextBlock title = doc->begin();
  EXPECT_EQ(title.text(), "Quorvane");
  const QTextCharFormat tf = title.begin().fragment().charFormat();
  EXPECT_EQ(tf.fontWeight(), QFont::Bold);
  EXPECT_TRUE(tf.fontItalic());
  EXPECT_EQ(tf.fontPointSize(), 22);
  const QString text = doc->toPlainText();
  EXPECT_TRUE(text.contains("Number of Command Categories - 3"));
  EXPECT_TRUE(text.contains("II.  Radios"));
  EXPECT_TRUE(text.contains("\t1.  Tune NAV1 to ILS"));
  bool bullet = false;
  for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
    if (b.text() != QString::fromUtf8("\u2022\tWheels down")) continue;
    bullet = true;
    EXPECT_EQ(b.blockFormat().leftMargin(), 96);
    EXPECT_EQ(b.blockFormat().textIndent(), -24);
    EXPECT_EQ(b.begin().fragment().charFormat().fontWeight(), QFont::Normal);
    EXPECT_EQ(b.begin().fragment().charFormat().fontPointSize(), 10);
  }
  EXPECT_TRUE(bullet);

  Release(&frame, "btn_OK");
  EXPECT_EQ(shown.back().title, "Grammar Script Saved");
  EXPECT_EQ(test::ReadBytes(inst.installDir + "/QuorvaneScript.rtf"), base::ToCp1252(expected));

  Release(&frame, "btn_Cancel");
  EXPECT_EQ(frame.currentScreen, "frm_Configure");
  EXPECT_EQ(Cfg().currentCommand(), 5);
  EXPECT_EQ(Cfg().listReadback->currentRow(), 1);
}

TEST_F(GrammarScreensTest, ScriptWithAnIllegalPhraseKeepsThePreviousDocument) {
  Enter();
  Release(&Cfg(), "btn_Script");
  const QString first = screens.script()->document();
  ASSERT_FALSE(first.isEmpty());
  Release(&frame, "btn_Cancel");
  env.state.commands[3].grammars[0] = base::Fixed("landing (lights", 256);
  Release(&Cfg(), "btn_Script");
  EXPECT_TRUE(Titles().contains("Grammar Error"));
  EXPECT_EQ(frame.currentScreen, "frm_Script");
  EXPECT_EQ(screens.script()->document(), first);
}

TEST_F(GrammarScreensTest, ScriptThatCannotBeWrittenIsReported) {
  Enter();
  Release(&Cfg(), "btn_Script");
  QDir().mkpath(inst.installDir + "/QuorvaneScript.rtf/blocker");  // a folder in the file's place
  Release(&frame, "btn_OK");
  EXPECT_EQ(shown.back().title, "Grammar Script Not Saved");
}

}  // namespace
