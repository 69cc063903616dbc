#include <gtest/gtest.h>

#include <QFileInfo>

#include "KneeboardFixture.h"
#include "data/JsonFormats.h"

using namespace qv;
using namespace qv::checklists;
using qv::test::Command;

namespace {

// --- backup names ----------------------------------------------------------------

// The folder is kept as it is (another aircraft's folder may differ only in
// case); the file name is lower-cased with every ".htm" replaced.
TEST(BackupPathTest, FileNameLowerCaseWithEveryHtmReplaced) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\FSX\\SimObjects\\Airplanes\\C172\\Cessna172SP_check.htm",
       "C:\\FSX\\SimObjects\\Airplanes\\C172\\cessna172sp_check.qvb"},
      {"  /sim/Jet/Jet_Check.HTM  ", "/sim/Jet/jet_check.qvb"},
      {"/sim/My.Htm.Planes/Page.htm", "/sim/My.Htm.Planes/page.qvb"},
      {"/sim/NoKey/.htm", "/sim/NoKey/.qvb"},
      {"/sim/Odd/page.html.htm", "/sim/Odd/page.qvbl.qvb"}};
  for (const auto& [page, backup] : cases) EXPECT_EQ(BackupPathOf(page), QString(backup)) << page;
}

TEST(BackupFileTest, FoundInThePagesFolderWhateverItsCase) {
  QTemporaryDir dir;
  QDir().mkpath(dir.path() + "/SimObjects/Bravo_Jet");
  const QString page = dir.path() + "/SimObjects/Bravo_Jet/Jet_Check.htm";
  EXPECT_EQ(BackupFileOf(page), dir.path() + "/SimObjects/Bravo_Jet/jet_check.qvb");
  test::WriteBytes(dir.path() + "/SimObjects/Bravo_Jet/JET_CHECK.QVB", "old");
  EXPECT_EQ(BackupFileOf(page), dir.path() + "/SimObjects/Bravo_Jet/JET_CHECK.QVB");
}

// --- the script ----------------------------------------------------------------------

const QString kRowOpen = R"(<tr><td width="220"><b><font size="2">)";
const QString kRowMid = R"(</font></b></td><td width="180"><font size="2">)";
const QString kRowClose = "</font></td></tr>\r\n";

QString Row(const QString& left, const QString& right) { return kRowOpen + left + kRowMid + right + kRowClose; }

QString BlockHead(const QString& title) {
  return "<br>\r\n"
         R"(<hr width="400" align="left" color="#000000" noshade size="1">)"
         "\r\n"
         R"(<font face="Arial, Helvetica, sans-serif" size="2"> <b>)" +
         title +
         "</b><br>\r\n<br>\r\n"
         R"(<table width="400" border="0" cellspacing="0" cellpadding="0">)"
         "\r\n";
}

const QString kBlockTail = "</table>\r\n</font>\r\n";

struct ScriptTest : ::testing::Test {
  ScriptTest() {
    env.state.commands = test::SmallCommands();
    env.state.categories = data::BuildCommandCategories(env.state.commands);
  }
  test::TestEnv env;
};

TEST_F(ScriptTest, OneBlockPerCategoryWithNumberedCommandsAndSentences) {
  BuildKneeboardScript(env.ctx);
  EXPECT_TRUE(env.state.kneeboardScriptBuilt);
  ASSERT_EQ(env.state.kneeboardScript.size(), 2);
  // Commands are numbered within their category; only a command's first row
  // carries its label; "<" and ">" become square brackets; first letter upper.
  EXPECT_EQ(env.state.kneeboardScript[0],
            BlockHead("I.  Lights") + Row("1.  Landing Lights", "Switch landing lights on") +
                Row("", "Turn landing lights on") + Row("2.  Taxi Light", "Taxi light on") +
                Row("", "Set taxi light [NUM_5]") + kBlockTail);
  EXPECT_EQ(env.state.kneeboardScript[1], BlockHead("II.  Radios") + Row("1.  Com One", "Com one [FREQ]") +
                                              Row("", "Set com one [FREQ]") + kBlockTail);
  ASSERT_EQ(env.dialogs.progress.size(), 2u);
  EXPECT_EQ(env.dialogs.progress[0].first, "\rCommand Category - Lights\r\rPlease standby...");
  EXPECT_DOUBLE_EQ(env.dialogs.progress[0].second, 0.0);
  EXPECT_EQ(env.dialogs.progress[1].first, "\rCommand Category - Radios\r\rPlease standby...");
  EXPECT_DOUBLE_EQ(env.dialogs.progress[1].second, 50.0);
}

TEST_F(ScriptTest, IllegalPhraseStopsTheBuildAndKeepsTheFinishedBlocks) {
  env.state.commands.push_back(Command("Radios", "Squawk", {"squawk [seven|eight"}));
  BuildKneeboardScript(env.ctx);
  EXPECT_FALSE(env.state.kneeboardScriptBuilt);
  ASSERT_EQ(env.state.kneeboardScript.size(), 2);
  EXPECT_TRUE(env.state.kneeboardScript[0].endsWith(kBlockTail));
  EXPECT_EQ(env.state.kneeboardScript[1], QString());  // no half table
  ASSERT_EQ(env.dialogs.messages.size(), 1u);
  EXPECT_EQ(env.dialogs.last().title, "Grammar Error");

  env.state.commands.back().grammars[0] = base::Fixed("squawk [seven|eight]", data::kGrammarWidth);
  BuildKneeboardScript(env.ctx);
  EXPECT_TRUE(env.state.kneeboardScriptBuilt);
  EXPECT_TRUE(env.state.kneeboardScript[1].contains(Row("2.  Squawk", "Squawk eight")));
}

// --- the page -------------------------------------------------------------------------

TEST_F(ScriptTest, PageHasOnlyTheFilledSectionsInOrderThenTheScript) {
  env.state.openChecklist = test::TrainerChecklist();
  env.state.openChecklist.sections[11] = {test::Item("Master Switch", "off")};
  BuildKneeboardScript(env.ctx);
  env.dialogs.progress.clear();
  const QString text = KneeboardPageText(env.ctx, " Trainer Checks ");

  const QString expectedSections =
      BlockHead("Preflight") + Row("Fuel Quantity", "CHECKED") + Row("Flight Controls", "FREE AND CORRECT") +
      kBlockTail + BlockHead("Landing") + Row("Mixture", "RICH") + kBlockTail +
      BlockHead("Engine Shutdown and Secure Aircraft") + Row("Master Switch", "OFF") + kBlockTail;
  const qsizetype start = text.indexOf("<br>\r\n<hr");
  ASSERT_GT(start, 0);
  EXPECT_EQ(text.mid(start, expectedSections.size()), expectedSections);
  EXPECT_TRUE(text.startsWith("<html>\r\n<head>\r\n<title>Trainer Checks Checklist</title>\r\n"));
  EXPECT_TRUE(text.mid(start + expectedSections.size()).startsWith(BlockHead("Grammar Script").left(80)));
  EXPECT_TRUE(text.endsWith(env.state.kneeboardScript.join(QString()) + "</body>\r\n</html>\r\n"));

  ASSERT_EQ(env.dialogs.progress.size(), 12u);
  EXPECT_EQ(env.dialogs.progress[0].first, "\rWriting Checklist\r\rPlease standby...");
  EXPECT_DOUBLE_EQ(env.dialogs.progress[11].second, 11 * (100.0 / 12));
}

TEST_F(ScriptTest, UserTextsCannotBreakTheMarkup) {
  env.state.openChecklist.sections[3] = {test::Item("Mags L & R <both>", "check")};
  EXPECT_TRUE(KneeboardPageText(env.ctx, "A&B").contains(Row("Mags L &amp; R &lt;both&gt;", "CHECK")));
}

// The page the demo's Cessna gets, built from the demo command list and checklist.
TEST(KneeboardGoldenTest, DemoCessnaPage) {
  test::TestEnv env;
  QString error;
  ASSERT_TRUE(data::CommandsFromJson(test::ReadBytes(test::DemoSourceDir() + "/Data/CommandList.json"),
                                     env.state.commands, error))
      << error.toStdString();
  env.state.categories = data::BuildCommandCategories(env.state.commands);
  ASSERT_TRUE(
      data::ChecklistFromJson(test::ReadBytes(test::DemoSourceDir() + "/Data/Checklists/Cessna 172 Skyhawk.json"),
                              env.state.openChecklist, error))
      << error.toStdString();
  BuildKneeboardScript(env.ctx);
  ASSERT_TRUE(env.state.kneeboardScriptBuilt);

  QTemporaryDir dir;
  const QString page = dir.path() + "/Cessna172SP_check.htm";
  ASSERT_EQ(WriteKneeboardPage(env.ctx, page, "Cessna 172 Skyhawk"), 0);
  const QByteArray bytes = test::ReadBytes(page);
  const QString golden = test::FixturesDir() + "/golden/kneeboard/Cessna172SP_check.htm";
  if (qEnvironmentVariableIntValue("QV_UPDATE_GOLDEN") == 1) {
    QDir().mkpath(QFileInfo(golden).path());
    test::WriteBytes(golden, bytes);
  }
  ASSERT_TRUE(QFileInfo::exists(golden));
  EXPECT_TRUE(test::ReadBytes(golden) == bytes) << "differs from " << golden.toStdString();
}

}  // namespace
