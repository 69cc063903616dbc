// The rehearsal view in the application: entered from the configuration
// screen, listening through a scripted recogniser, driven by clicks and keys.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <deque>

#include "AppHarness.h"
#include "GrammarFixture.h"
#include "base/Cp1252.h"
#include "core/grammar/Rehearsal.h"
#include "data/CommandList.h"
#include "gui/grammar/frm_Configure.h"
#include "gui/grammar/frm_Rehearse.h"

using namespace qv;

namespace {

class ScriptedRehearsal final : public grammar::RehearsalRecognizer {
 public:
  bool Load(const QStringList& grammars, QString& error) override {
    loaded = grammars;
    error = loadError;
    return loadError.isEmpty();
  }
  grammar::RuleMatch Listen() override {
    if (untilFinished) {  // listens until told to finish, as a held key does
      QEventLoop loop;
      waiting = &loop;
      QTimer::singleShot(5000, &loop, &QEventLoop::quit);
      loop.exec();
      waiting = nullptr;
    }
    grammar::RuleMatch m = replies.empty() ? grammar::RuleMatch{} : replies.front();
    if (!replies.empty()) replies.pop_front();
    return m;
  }
  grammar::RuleMatch Recognise(const std::vector<int16_t>&) override { return Listen(); }
  void StopListening() override {}
  void FinishListening() override {
    finished = true;
    if (waiting) waiting->quit();
  }

  bool untilFinished = false, finished = false;
  QEventLoop* waiting = nullptr;
  QStringList loaded;
  QString loadError;
  std::deque<grammar::RuleMatch> replies;
};

grammar::RuleMatch Heard(const QString& grammar, const QString& rule, const QStringList& actions,
                         const QString& words) {
  return {0, grammar, rule, actions, words, 0.8, 0, 0, {}};
}

class RehearseScreenTest : public testing::Test {
 protected:
  RehearseScreenTest()
      : h(QString(), [this](app::Backends& b) {
          auto engine = std::make_unique<ScriptedRehearsal>();
          rehearsal = engine.get();
          b.rehearsal = std::move(engine);
        }) {
    shell::AppState& s = h.state();
    test::FillSmallCommandSet(s);
    s.commands[2].readbacks = {base::Fixed(" ", data::kReadbackWidth),
                               base::Fixed("Heading set, climbing to <alt>", data::kReadbackWidth)};
    s.settings.lists = {{"<ALT>", "altitude", " three thousand "}};
    s.settings.copilotVoice = 3;
    s.settings.micSwitch = "r";
    s.speechReady = true;
    test::WriteBytes(h.install.installDir + "/Grammars/Compiled/Lights.fsg", "FSG_BEGIN Lights\n");
    h.ShowFrame();
    h.frame().Enter("frm_Configure");
    cfg = h.screen<grammar::frm_Configure>("frm_Configure");
    view = h.screen<grammar::frm_Rehearse>("frm_Rehearse");
  }

  ScriptedRehearsal* rehearsal = nullptr;  // set while `h` is built, so declared before it
  test::AppHarness h;
  grammar::frm_Configure* cfg = nullptr;
  grammar::frm_Rehearse* view = nullptr;
};

TEST_F(RehearseScreenTest, AttemptsShowTheirCommandSpeakTheReadbackAndOpenTheCommand) {
  test::Press(cfg, "btn_Rehearse");
  ASSERT_EQ(h.frame().currentScreen, "frm_Rehearse");
  EXPECT_EQ(rehearsal->loaded, (QStringList{"Lights", "Radios", "Gear"}));
  EXPECT_EQ(h.frame().btn_OK->button_type(), "start");

  for (int i = 0; i < 19; ++i)
    rehearsal->replies.push_back(Heard("Lights", "STROBES_TOGGLE", {"|57"}, "strobes toggle"));
  rehearsal->replies.push_back(Heard("Radios", "HEADING_BUG_SET", {"|-12:", "270"}, "set heading two seven zero"));
  rehearsal->replies.push_back(grammar::RuleMatch{});  // status -2: no command

  for (int i = 0; i < 20; ++i) test::Click(h.frame().btn_OK);
  EXPECT_EQ(view->lbl_Command->text(), "Radios  /  Set Heading Bug");
  EXPECT_EQ(view->lbl_Words->text(), "Words: set heading two seven zero");
  EXPECT_TRUE(view->lbl_Detail->text().contains("HEADING_BUG_SET")) << qPrintable(view->lbl_Detail->text());
  EXPECT_TRUE(view->lbl_Detail->text().contains("|-12:270")) << qPrintable(view->lbl_Detail->text());
  // The first readback that says something, lists spoken by their examples.
  EXPECT_EQ(h.log.last(), "tts:speak:3:Heading set, climbing to three thousand");

  // The microphone key listens too; twenty attempts stay, newest first.
  test::KeyOn(view->lst_Attempts, Qt::Key_R);
  EXPECT_EQ(view->lbl_Command->text(), "NOT A COMMAND");
  ASSERT_EQ(view->lst_Attempts->count(), 20);
  EXPECT_TRUE(view->lst_Attempts->item(0)->text().contains("not a command"));
  EXPECT_TRUE(view->lst_Attempts->item(1)->text().contains("Radios / Set Heading Bug"));

  // An attempt that was no command opens nothing.
  view->OpenAttempt(0);
  EXPECT_EQ(h.frame().currentScreen, "frm_Rehearse");

  // Down to the heading attempt and Enter: the configuration screen with it chosen.
  view->lst_Attempts->setCurrentRow(0);
  test::KeyOn(view->lst_Attempts, Qt::Key_Down);
  test::KeyOn(view->lst_Attempts, Qt::Key_Return);
  ASSERT_EQ(h.frame().currentScreen, "frm_Configure");
  EXPECT_EQ(cfg->currentCommand(), 2);
  EXPECT_EQ(cfg->comboCategory->currentText(), "Radios");

  // And by a click, from a second visit.
  test::Press(cfg, "btn_Rehearse");
  const QRect row = view->lst_Attempts->visualItemRect(view->lst_Attempts->item(2));
  QTest::mouseClick(view->lst_Attempts->viewport(), Qt::LeftButton, {}, row.center());
  ASSERT_EQ(h.frame().currentScreen, "frm_Configure");
  EXPECT_EQ(cfg->currentCommand(), 0);
}

// Held, the microphone key listens until it is let go; what was said is then shown.
TEST_F(RehearseScreenTest, MicrophoneKeyListensWhileHeld) {
  test::Press(cfg, "btn_Rehearse");
  rehearsal->untilFinished = true;
  rehearsal->replies.push_back(Heard("Lights", "STROBES_TOGGLE", {"|57"}, "strobes toggle"));
  QTimer::singleShot(50, view, [this] { QTest::keyRelease(view->lst_Attempts, Qt::Key_R); });
  QTest::keyPress(view->lst_Attempts, Qt::Key_R);
  EXPECT_TRUE(rehearsal->finished);
  EXPECT_FALSE(view->listening());
  EXPECT_TRUE(view->lbl_Command->text().startsWith("Lights")) << qPrintable(view->lbl_Command->text());
}

TEST_F(RehearseScreenTest, GrammarsThatCannotBeLoadedAreReportedOnTheConfigurationScreen) {
  rehearsal->loadError = "no compiled grammar Grammars/Compiled/Lights.fsg";
  test::Press(cfg, "btn_Rehearse");
  EXPECT_EQ(h.frame().currentScreen, "frm_Configure");
  ASSERT_FALSE(h.dialogs->shown.empty());
  EXPECT_EQ(h.dialogs->last().title, "Rehearsal Unavailable");
  EXPECT_TRUE(h.dialogs->last().message.contains("Lights.fsg"));
}

// A set that was never compiled is compiled first: there is no change to
// save, so the pilot could not press Compile.
TEST_F(RehearseScreenTest, ASetNeverCompiledIsCompiledBeforeTheRehearsal) {
  QFile::remove(h.install.installDir + "/Grammars/Compiled/Lights.fsg");
  test::WriteBytes(h.install.installDir + "/Data/Generic Lists.bnf",
                   test::ReadBytes(test::DemoSourceDir() + "/Installation/Data/Generic Lists.bnf"));
  test::Press(cfg, "btn_Rehearse");
  EXPECT_TRUE(h.log.contains("compile:compile")) << h.dialogs->titles().join(", ").toStdString();
  EXPECT_EQ(h.frame().currentScreen, "frm_Rehearse");
}

}  // namespace
