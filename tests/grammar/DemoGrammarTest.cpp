// The grammar files and the script document built from the demo data,
// pinned byte for byte.
#include <gtest/gtest.h>

#include "GrammarFixture.h"
#include "base/Cp1252.h"
#include "core/grammar/GrammarScript.h"
#include "core/grammar/GrammarWriter.h"
#include "core/grammar/TestGrammar.h"

using namespace qv;

namespace {

class DemoGrammarTest : public testing::Test {
 protected:
  DemoGrammarTest() : env(inst.installDir) {}
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(test::InstallDemoGrammarData(inst));
    ASSERT_NO_FATAL_FAILURE(test::LoadCommandTables(env));
  }
  test::TestInstallation inst;
  test::TestEnv env;
};

TEST_F(DemoGrammarTest, GrammarFiles) {
  ASSERT_EQ(env.state.settings.compileNavaids, 1);
  ASSERT_EQ(grammar::WriteAllGrammars(env.ctx), 0);
  const QString dir = grammar::GrammarsDir(inst.installDir);
  EXPECT_EQ(QDir(dir).entryList({"*.bnf"}, QDir::Files).size(), env.state.categories.size() + 5);
  for (const char* f :
       {"Radios.bnf", "ChecklistResponses.bnf", "Navaid_IDs.bnf", "Navaid_Names.bnf", "Navaid_ILSs.bnf"})
    test::ExpectGolden(test::ReadBytes(dir + "/" + f), QString("demo/") + f);
}

TEST_F(DemoGrammarTest, TestGrammarOfANavaidPhrase) {
  int command = -1;
  for (int i = 0; i < static_cast<int>(env.state.commands.size()); ++i)
    if (env.state.commands[i].eventName.trimmed() == "RADIO_NAV1_SELECT_VOR") command = i;
  ASSERT_GE(command, 0);
  ASSERT_EQ(grammar::WriteTestGrammar(env.ctx, command, 0), 0);
  const QString dir = grammar::TestGrammarsDir(inst.installDir);
  test::ExpectGolden(test::ReadBytes(dir + "/Test.bnf"), "demo/Test.bnf");
  EXPECT_EQ(test::ReadBytes(dir + "/Navaid_IDs.bnf"),
            test::ReadBytes(test::FixturesDir() + "/golden/demo/Navaid_IDs.bnf"));
  // Beside it the rival phrases: every other phrase, none of the navaid lists.
  const QString others = grammar::BuildOtherPhrasesGrammar(env.state, command, 0);
  EXPECT_EQ(test::ReadBytes(dir + "/" + grammar::kOtherPhrasesFile), grammar::GrammarFileBytes(others));
  EXPECT_TRUE(others.contains("\t\t| (set|select) !optional(the) heading !optional(bug) !optional(to) <HDG>"));
  for (const char* list : {"<NAV_ID>", "<NAV_NAME>", "<RWY_APT_ID>"})
    EXPECT_FALSE(others.contains(list, Qt::CaseInsensitive)) << list;
}

TEST_F(DemoGrammarTest, ScriptDocument) {
  QString rtf;
  ASSERT_TRUE(grammar::BuildGrammarScript(env.ctx, rtf));
  EXPECT_TRUE(env.dialogs.messages.empty());
  EXPECT_EQ(env.dialogs.progress.size(), static_cast<size_t>(env.state.categories.size()));
  test::ExpectGolden(base::ToCp1252(rtf), "demo/QuorvaneScript.rtf");
}

}  // namespace
