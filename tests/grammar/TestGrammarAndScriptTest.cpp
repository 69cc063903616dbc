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

TEST_F(TestGrammarTest, WritesThePhraseAloneWithoutNavaids) {
  ASSERT_EQ(grammar::WriteTestGrammar(env.ctx, 0, 1), 0);
  const QString text = grammar::BuildTestGrammar(env.state, 0, 1);
  EXPECT_EQ(test::ReadBytes(TestDir() + "/Test.bnf"), grammar::GrammarFileBytes(text));
  EXPECT_TRUE(text.startsWith("!grammar \"Test\";\r\n\r\n!import<SPD>;\r\n"));
  EXPECT_TRUE(
      text.endsWith("!import<FLAP_SETTING>;\r\n\r\n!start<STROBES_TOGGLE>;\r\n\r\n<STROBES_TOGGLE>:\r\n"
                    "\t(\r\n\t\t(strobe|strobes) toggle\r\n\t)\r\n;\r\n\r\n"));
  // No <WORD_ON> here.
  EXPECT_TRUE(grammar::BuildTestGrammar(env.state, 0, 0).contains("\t\tturn !optional(the) strobes on\r\n"));
  EXPECT_FALSE(QFileInfo::exists(TestDir() + "/Navaid_IDs.bnf"));
  EXPECT_EQ(test::ReadBytes(TestDir() + "/Generic Lists.bnf"), "lists");
}

TEST_F(TestGrammarTest, LowerCaseNavaidRuleBringsInTheNavaidGrammars) {
  env.state.commands[0].grammars[0] = base::Fixed("tune [nav one|nav two] to <nav_id>", 256);
  ASSERT_EQ(grammar::WriteTestGrammar(env.ctx, 0, 0), 0);
  const QString text = grammar::BuildTestGrammar(env.state, 0, 0);
  EXPECT_TRUE(
      text.contains("!import<FLAP_SETTING>;\r\n!import<NAV_ID>;\r\n!import<NAV_NAME>;\r\n"
                    "!import<RWY_APT_ID>;\r\n\r\n"));
  for (const char* f : {"Navaid_IDs.bnf", "Navaid_Names.bnf", "Navaid_ILSs.bnf"})
    EXPECT_TRUE(QFileInfo::exists(TestDir() + "/" + f)) << f;
  ASSERT_FALSE(env.dialogs.progress.empty());
  EXPECT_EQ(env.dialogs.progress.front().first, "Writing Grammar Files (Navaid IDs)");
}

TEST_F(TestGrammarTest, FailsWithoutSharedListsOrWithBadIndices) {
  EXPECT_EQ(grammar::WriteTestGrammar(env.ctx, 0, 9), 1);
  EXPECT_EQ(grammar::WriteTestGrammar(env.ctx, -1, 0), 1);
  QFile::remove(inst.installDir + "/Data/Generic Lists.bnf");
  EXPECT_EQ(grammar::WriteTestGrammar(env.ctx, 0, 0), 1);
  EXPECT_FALSE(QFileInfo::exists(TestDir() + "/Test.bnf"));
}

TEST_F(TestGrammarTest, Golden) {
  env.state.commands[2].grammars[0] = base::Fixed("(please) set [heading|the heading] (to) <HDG> on <nav_name>", 256);
  ASSERT_EQ(grammar::WriteTestGrammar(env.ctx, 2, 0), 0);
  test::ExpectGolden(test::ReadBytes(TestDir() + "/Test.bnf"), "small/Test.bnf");
}

// --- the grammar script document ---------------------------------------------

QStringList Pieces(const QString& rtf) { return rtf.split(u'\n'); }

TEST(GrammarScript, LaysOutCategoriesCommandsAndSentences) {
  test::TestEnv env;
  test::FillSmallCommandSet(env.state);
  QString rtf;
  ASSERT_TRUE(grammar::BuildGrammarScript(env.ctx, rtf));
  const QStringList p = Pieces(rtf);
  EXPECT_EQ(p[0],
            "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fnil"
            "\\fcharset2 Symbol;}}");
  EXPECT_EQ(p[6], "\\b\\fs28 Number of Command Categories - 3\\par");
  EXPECT_EQ(p.mid(8, 7), QStringList({"\\b\\fs28 I.  Lights\\par", "\\b0\\fs20\\par", "\\fs20\\par",
                                      "\\b\\fs24\\tab 1.  Strobe Lights Toggle\\par", "\\b0\\fs20\\par",
                                      "\\pard{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}\\fi-360\\li1440",
                                      "{\\pntext\\f1\\'B7\\tab}Turn strobes on\\par"}));
  // A command without phrases: its line, the bullet opening and the two closing lines.
  const qsizetype gear = p.indexOf("\\b\\fs28 III.  Gear\\par");
  ASSERT_GT(gear, 0);
  EXPECT_EQ(p.mid(gear + 3, 5),
            QStringList({"\\b\\fs24\\tab 1.  Gear Up\\par", "\\b0\\fs20\\par",
                         "\\pard{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}\\fi-360\\li1440",
                         "\\pard\\li1080\\par", "\\pard"}));
  EXPECT_EQ(p.mid(p.size() - 2), QStringList({"}", ""}));  // the closing brace ends with LF too

  ASSERT_EQ(env.dialogs.progress.size(), 3u);
  EXPECT_EQ(env.dialogs.progress[1].first, "\rCommand Category - Radios\r\rPlease standby...");
  EXPECT_DOUBLE_EQ(env.dialogs.progress[0].second, 0);
  EXPECT_NEAR(env.dialogs.progress[2].second, 66.67, 0.01);
  test::ExpectGolden(rtf.toLatin1(), "small/QuorvaneScript.rtf");
}

TEST(GrammarScript, RomanHeadingsAndEmptyCategories) {
  test::TestEnv env;
  for (int i = 1; i <= 9; ++i) env.state.categories << QString("Cat%1").arg(i);
  QString rtf;
  ASSERT_TRUE(grammar::BuildGrammarScript(env.ctx, rtf));
  const QStringList p = Pieces(rtf);
  EXPECT_TRUE(p.contains("\\b\\fs28 IV.  Cat4\\par"));
  EXPECT_TRUE(p.contains("\\b\\fs28 IX.  Cat9\\par"));
  EXPECT_EQ(p.size(), 8 + 9 * 3 + 2);
}

TEST(GrammarScript, StopsAtAnIllegalPhraseAndKeepsThePreviousDocument) {
  test::TestEnv env;
  test::FillSmallCommandSet(env.state);
  env.state.commands[3].grammars << base::Fixed("lights on!", 256);
  QString rtf = "previous";
  EXPECT_FALSE(grammar::BuildGrammarScript(env.ctx, rtf));
  EXPECT_EQ(rtf, "previous");
  ASSERT_EQ(env.dialogs.messages.size(), 1u);
  EXPECT_EQ(env.dialogs.last().title, "Grammar Error");
  EXPECT_EQ(env.dialogs.progress.size(), 1u);  // stopped in the first category
}

TEST(GrammarScript, NamesCannotBreakTheDocument) {
  test::TestEnv env;
  env.state.commands = {test::Command("A{b}", "C\\d", "E", 1, {"x"})};
  env.state.categories = {"A{b}"};
  QString rtf;
  ASSERT_TRUE(grammar::BuildGrammarScript(env.ctx, rtf));
  EXPECT_TRUE(rtf.contains("\\b\\fs28 I.  A\\{b\\}\\par\n"));
  EXPECT_TRUE(rtf.contains("\\tab 1.  C\\\\d\\par\n"));
}

TEST(GrammarScript, SavedInTheDeclaredCodePage) {
  QTemporaryDir dir;
  const QString path = grammar::GrammarScriptPath(dir.path());
  ASSERT_TRUE(grammar::SaveGrammarScript(QString::fromUtf8("caf\u00e9 \u20ac\n"), path));
  EXPECT_EQ(test::ReadBytes(path), QByteArray("caf\xE9 \x80\n"));
}

}  // namespace
