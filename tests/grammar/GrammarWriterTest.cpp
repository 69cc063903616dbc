// The grammar files of the command set. Their exact bytes are pinned by the
// golden files of the small command set (tests/fixtures/golden/small); the
// cases here are the rules the golden files do not show.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "GrammarFixture.h"
#include "TestEnv.h"
#include "core/grammar/GrammarWriter.h"

using namespace qv;

namespace {

// The lines of one rule, from "<EVENT>:" to the ";" that ends it.
QStringList Rule(const QString& text, const QString& event) {
  const QStringList lines = text.split("\r\n");
  const qsizetype start = lines.indexOf("<" + event + ">:");
  return start < 0 ? QStringList() : lines.mid(start, lines.indexOf(";", start) - start + 1);
}

TEST(GrammarFileBytes, AreUtf16LittleEndianWithMark) {
  EXPECT_EQ(grammar::GrammarFileBytes("A\r\n\t\u00e9"), QByteArray("\xFF\xFE"
                                                                   "A\0\r\0\n\0\t\0\xE9\0",
                                                                   12));
  EXPECT_EQ(grammar::GrammarFileBytes(""), QByteArray("\xFF\xFE"));
}

TEST(TranslatePhrase, WritesGroupsAndTheWordOnAsTheCompilerReadsThem) {
  const std::pair<const char*, const char*> cases[] = {
      {"lights ON please", "lights <WORD_ON> please"},
      {"on approach", "on approach"},
      {"turn on on", "turn <WORD_ON> on"},
      {"lights On", "lights <WORD_ON>"},
      {"[switch on|turn on (the)] lights", "(switch on|turn <WORD_ON> !optional(the)) lights"},
      {"  (please) gear [up|down]  ", "!optional(please) gear (up|down)"},
      {"onward", "onward"}};
  for (const auto& [phrase, written] : cases) {
    EXPECT_EQ(grammar::TranslatePhrase(base::Fixed(phrase, 256)), written);
    EXPECT_EQ(grammar::TranslatePhrase(phrase), written);  // unpadded alike
  }
}

// The action carries a colon when any phrase takes a list (the small set's
// golden files show that the <WORD_ON> the writer inserts does not count).
TEST(CategoryGrammar, AListReferenceAddsTheColon) {
  shell::AppState s;
  test::FillSmallCommandSet(s);
  s.commands[0].grammars = QStringList{base::Fixed("<NUM_1> on", 256)};
  EXPECT_EQ(Rule(grammar::BuildCategoryGrammar(s, "Lights"), "STROBES_TOGGLE")[1], "\t!action(\"|57:\")");
}

TEST(CategoryGrammar, RadiosFileFollowsTheNavaidSwitch) {
  struct {
    int16_t compileNavaids;
    bool imports, start, rule;
  } cases[] = {{1, true, true, true}, {0, false, false, false}, {2, false, false, true}};
  for (const auto& c : cases) {
    shell::AppState s;
    test::FillSmallCommandSet(s);
    s.settings.compileNavaids = c.compileNavaids;
    for (const char* name : {"Radios", " rADIOS "}) {
      SCOPED_TRACE(testing::Message() << "compileNavaids " << c.compileNavaids << ", " << name);
      const QString text = grammar::BuildCategoryGrammar(s, name);
      EXPECT_EQ(text.contains("!import<NAV_ID>;\r\n!import<NAV_NAME>;\r\n!import<RWY_APT_ID>;\r\n\r\n"), c.imports);
      EXPECT_EQ(text.contains("!start<RADIO_NAV1_SELECT_ILS>;"), c.start);
      EXPECT_EQ(text.contains("<RADIO_NAV1_SELECT_ILS>:"), c.rule);
      EXPECT_TRUE(text.contains("!start<HEADING_BUG_SET>;"));
    }
  }
}

TEST(ChecklistResponseGrammar, OnlyTheWordOnGetsASecondSpelling) {
  data::SettingsState settings;
  settings.checklistResponses = {{"ON", 9}};
  EXPECT_EQ(Rule(grammar::BuildChecklistResponseGrammar(settings), "ON")[3], "\t\tON");
  settings.checklistResponses.clear();
  EXPECT_EQ(grammar::BuildChecklistResponseGrammar(settings),
            "!grammar \"ChecklistResponses\";\r\n\r\n!activatable ;\r\n\r\n");
}

class WriteAllGrammarsTest : public testing::Test {
 protected:
  WriteAllGrammarsTest() : env(inst.installDir) {
    test::FillSmallCommandSet(env.state);
    test::WriteBytes(inst.installDir + "/Data/Generic Lists.bnf", "\xFF\xFE<\0L\0>\0");
  }
  QString Grammars() const { return inst.installDir + "/Grammars"; }
  test::TestInstallation inst;
  test::TestEnv env;
};

TEST_F(WriteAllGrammarsTest, GoldenFilesTheSameEveryTimeAndTheUsersListFileKept) {
  test::WriteBytes(Grammars() + "/Generic Lists.bnf", "user's own");
  for (int run = 0; run < 2; ++run) {
    ASSERT_EQ(grammar::WriteAllGrammars(env.ctx), 0);
    const QStringList files = QDir(Grammars()).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(files, QStringList({"ChecklistResponses.bnf", "Gear.bnf", "Generic Lists.bnf", "Lights.bnf",
                                  "Navaid_IDs.bnf", "Navaid_ILSs.bnf", "Navaid_Names.bnf", "Radios.bnf"}));
    for (const QString& f : files)
      if (f != "Generic Lists.bnf") test::ExpectGolden(test::ReadBytes(Grammars() + "/" + f), "small/" + f);
  }
  EXPECT_EQ(test::ReadBytes(Grammars() + "/Generic Lists.bnf"), "user's own");
  EXPECT_TRUE(env.dialogs.messages.empty());
  // Without navaids: no navaid files, no navaid progress.
  QDir(Grammars()).removeRecursively();
  env.state.settings.compileNavaids = 0;
  env.dialogs.progress.clear();
  ASSERT_EQ(grammar::WriteAllGrammars(env.ctx), 0);
  EXPECT_FALSE(QFileInfo::exists(Grammars() + "/Navaid_IDs.bnf"));
  EXPECT_TRUE(env.dialogs.progress.empty());
  EXPECT_EQ(test::ReadBytes(Grammars() + "/Generic Lists.bnf"),
            test::ReadBytes(inst.installDir + "/Data/Generic Lists.bnf"));
}

TEST_F(WriteAllGrammarsTest, FailuresStopTheWriting) {
  QFile::remove(inst.installDir + "/Data/Generic Lists.bnf");
  EXPECT_EQ(grammar::WriteAllGrammars(env.ctx), 1);  // before writing anything
  EXPECT_FALSE(QFileInfo::exists(Grammars() + "/Lights.bnf"));
  test::WriteBytes(inst.installDir + "/Data/Generic Lists.bnf", "lists");
  QDir().mkpath(Grammars() + "/Gear.bnf/blocker");  // a folder where the file should go
  EXPECT_EQ(grammar::WriteAllGrammars(env.ctx), 1);
  ASSERT_EQ(env.dialogs.messages.size(), 1u);
  EXPECT_EQ(env.dialogs.last().message,
            "There was an error in trying to write a grammar file.\r\r" +
                QDir::toNativeSeparators(Grammars() + "/Gear.bnf") +
                ": it is a folder, not a file\r\rPlease contact Veltrane Support\r\rPlease press OK to continue...");
  EXPECT_TRUE(env.shutdown.HasShutDown());
  EXPECT_FALSE(QFileInfo::exists(Grammars() + "/ChecklistResponses.bnf"));  // stopped there
}

}  // namespace
