#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "GrammarFixture.h"
#include "TestEnv.h"
#include "core/grammar/GrammarScript.h"
#include "core/grammar/GrammarWriter.h"
#include "core/grammar/TestGrammar.h"

using namespace qv;

namespace {

class TestGrammarTest : public testing::Test {
 protected:
  TestGrammarTest() : env(inst.installDir) {
    test::FillSmallCommandSet(env.state);
    test::WriteBytes(inst.installDir + "/Data/Generic Lists.bnf", "lists");
  }
  QString TestDir() const { return inst.installDir + "/Grammars/Test"; }
  test::TestInstallation inst;
  test::TestEnv env;
};

// The phrase alone, without <WORD_ON> and without the navaid files, unless
// its rule names one (in any case); the exact bytes are the golden file's.
TEST_F(TestGrammarTest, WritesThePhraseAloneAndTheNavaidsItNeeds) {
  ASSERT_EQ(grammar::WriteTestGrammar(env.ctx, 0, 0), 0);
  EXPECT_TRUE(test::ReadBytes(TestDir() + "/Test.bnf")
                  .contains(grammar::GrammarFileBytes("\t\tturn !optional(the) strobes on\r\n").mid(2)));
  EXPECT_FALSE(QFileInfo::exists(TestDir() + "/Navaid_IDs.bnf"));
  EXPECT_EQ(test::ReadBytes(TestDir() + "/Generic Lists.bnf"), "lists");

  env.state.commands[0].grammars[0] = base::Fixed("tune [nav one|nav two] to <nav_id>", 256);
  ASSERT_EQ(grammar::WriteTestGrammar(env.ctx, 0, 0), 0);
  for (const char* f : {"Navaid_IDs.bnf", "Navaid_Names.bnf", "Navaid_ILSs.bnf"})
    EXPECT_TRUE(QFileInfo::exists(TestDir() + "/" + f)) << f;
  ASSERT_FALSE(env.dialogs.progress.empty());
  EXPECT_EQ(env.dialogs.progress.front().first, "Writing Grammar Files (Navaid IDs)");

  env.state.commands[2].grammars[0] = base::Fixed("(please) set [heading|the heading] (to) <HDG> on <nav_name>", 256);
  ASSERT_EQ(grammar::WriteTestGrammar(env.ctx, 2, 0), 0);
  test::ExpectGolden(test::ReadBytes(TestDir() + "/Test.bnf"), "small/Test.bnf");
}

TEST_F(TestGrammarTest, FailsWithoutSharedListsOrWithBadIndices) {
  EXPECT_EQ(grammar::WriteTestGrammar(env.ctx, 0, 9), 1);
  EXPECT_EQ(grammar::WriteTestGrammar(env.ctx, -1, 0), 1);
  QFile::remove(inst.installDir + "/Data/Generic Lists.bnf");
  EXPECT_EQ(grammar::WriteTestGrammar(env.ctx, 0, 0), 1);
  EXPECT_FALSE(QFileInfo::exists(TestDir() + "/Test.bnf"));
}

// --- the grammar script document ---------------------------------------------

// The layout is the golden file's; around it, the progress, the Roman
// headings of empty categories and the escaped names.
TEST(GrammarScript, LaysOutCategoriesCommandsAndSentences) {
  test::TestEnv env;
  test::FillSmallCommandSet(env.state);
  QString rtf;
  ASSERT_TRUE(grammar::BuildGrammarScript(env.ctx, rtf));
  test::ExpectGolden(rtf.toLatin1(), "small/QuorvaneScript.rtf");
  ASSERT_EQ(env.dialogs.progress.size(), 3u);
  EXPECT_EQ(env.dialogs.progress[1].first, "\rCommand Category - Radios\r\rPlease standby...");
  EXPECT_NEAR(env.dialogs.progress[2].second, 66.67, 0.01);

  env.state.commands = {test::Command("A{b}", "C\\d", "E", 1, {"x"})};
  env.state.categories = {"A{b}"};
  for (int i = 2; i <= 9; ++i) env.state.categories << QString("Cat%1").arg(i);
  ASSERT_TRUE(grammar::BuildGrammarScript(env.ctx, rtf));
  EXPECT_TRUE(rtf.contains("\\b\\fs28 I.  A\\{b\\}\\par\n"));
  EXPECT_TRUE(rtf.contains("\\tab 1.  C\\\\d\\par\n"));
  EXPECT_TRUE(rtf.contains("\\b\\fs28 IX.  Cat9\\par\n"));
}

TEST(GrammarScript, SavedInTheDeclaredCodePage) {
  QTemporaryDir dir;
  const QString path = grammar::GrammarScriptPath(dir.path());
  ASSERT_TRUE(grammar::SaveGrammarScript(QString::fromUtf8("caf\u00e9 \u20ac\n"), path));
  EXPECT_EQ(test::ReadBytes(path), QByteArray("caf\xE9 \x80\n"));
}

}  // namespace
