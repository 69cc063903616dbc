#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "GrammarFixture.h"
#include "TestEnv.h"
#include "core/grammar/GrammarWriter.h"

using namespace qv;

namespace {

QStringList Lines(const QString& text) { return text.split("\r\n"); }

// The lines of one rule, from "<EVENT>:" to the ";" that ends it.
QStringList Rule(const QString& text, const QString& event) {
  const QStringList lines = Lines(text);
  const qsizetype start = lines.indexOf("<" + event + ">:");
  if (start < 0) return {};
  const qsizetype end = lines.indexOf(";", start);
  return lines.mid(start, end - start + 1);
}

QString Decode(const QByteArray& bytes) {
  if (!bytes.startsWith("\xFF\xFE")) return {};
  return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2), (bytes.size() - 2) / 2);
}

TEST(GrammarFileBytes, AreUtf16LittleEndianWithMark) {
  EXPECT_EQ(grammar::GrammarFileBytes("A\r\n\t\u00e9"), QByteArray("\xFF\xFE"
                                                                   "A\0\r\0\n\0\t\0\xE9\0",
                                                                   12));
  EXPECT_EQ(grammar::GrammarFileBytes(""), QByteArray("\xFF\xFE"));
}

TEST(CategoryGrammar, WorkedExampleRule) {
  shell::AppState s;
  test::FillSmallCommandSet(s);
  const QString text = grammar::BuildCategoryGrammar(s, "Lights");
  EXPECT_TRUE(text.startsWith("!grammar \"Lights\";\r\n\r\n!import<SPD>;\r\n!import<ALT>;\r\n"));
  EXPECT_TRUE(
      text.contains("!import<FLAP_SETTING>;\r\n\r\n!start<STROBES_TOGGLE>;\r\n!start<LANDING_LIGHTS_ON>;\r\n\r\n"
                    "<STROBES_TOGGLE>:"));
  EXPECT_EQ(Rule(text, "STROBES_TOGGLE"), QStringList({"<STROBES_TOGGLE>:", "\t!action(\"|57\")", "\t!ignore(", "\t\t(",
                                                       "\t\tturn !optional(the) strobes <WORD_ON>",
                                                       "\t\t| (strobe|strobes) toggle", "\t\t)", "\t)", ";"}));
  EXPECT_EQ(Rule(text, "LANDING_LIGHTS_ON").mid(4, 2),
            QStringList({"\t\tlanding lights <WORD_ON> please", "\t\t| on approach"}));
  EXPECT_TRUE(text.endsWith(";\r\n\r\n"));
  EXPECT_EQ(grammar::CategoryImports().size(), 18 + 10 + 1 + 26 + 1);
}

TEST(CategoryGrammar, ListReferenceAddsColonAndNoPhrasesGiveTest) {
  shell::AppState s;
  test::FillSmallCommandSet(s);
  const QString radios = grammar::BuildCategoryGrammar(s, "Radios");
  // "-12" with a colon: a phrase takes a list; the inserted <WORD_ON> of the second one does not count.
  EXPECT_EQ(Rule(radios, "HEADING_BUG_SET").mid(1, 1), QStringList{"\t!action(\"|-12:\")"});
  EXPECT_EQ(Rule(radios, "HEADING_BUG_SET")[5], "\t\t| heading <WORD_ON>  bug");
  const QString gear = grammar::BuildCategoryGrammar(s, "Gear");
  EXPECT_EQ(Rule(gear, "GEAR_UP"),
            QStringList({"<GEAR_UP>:", "\t!action(\"|3\")", "\t!ignore(", "\t\t(", "\t\tTest", "\t\t)", "\t)", ";"}));
  s.commands[0].grammars.clear();
  s.commands[0].grammars << base::Fixed("<NUM_1> on", 256);
  EXPECT_EQ(Rule(grammar::BuildCategoryGrammar(s, "Lights"), "STROBES_TOGGLE")[1], "\t!action(\"|57:\")");
}

struct TranslateCase {
  const char* phrase;
  const char* written;
};
class TranslatePhraseTest : public testing::TestWithParam<TranslateCase> {};
TEST_P(TranslatePhraseTest, Translates) {
  EXPECT_EQ(grammar::TranslatePhrase(base::Fixed(GetParam().phrase, 256)), GetParam().written);
  EXPECT_EQ(grammar::TranslatePhrase(GetParam().phrase), GetParam().written);  // unpadded alike
}
INSTANTIATE_TEST_SUITE_P(
    Phrases, TranslatePhraseTest,
    testing::Values(TranslateCase{"lights ON please", "lights <WORD_ON> please"},
                    TranslateCase{"on approach", "on approach"}, TranslateCase{"turn on on", "turn <WORD_ON> on"},
                    TranslateCase{"lights on", "lights <WORD_ON>"}, TranslateCase{"lights On", "lights <WORD_ON>"},
                    TranslateCase{"[switch on|turn on (the)] lights",
                                  "(switch on|turn <WORD_ON> !optional(the)) lights"},
                    TranslateCase{"  (please) gear [up|down]  ", "!optional(please) gear (up|down)"},
                    TranslateCase{"onward", "onward"}));

struct NavaidCase {
  int16_t compileNavaids;
  bool imports, start, rule;
};
class NavaidSwitchTest : public testing::TestWithParam<NavaidCase> {};
TEST_P(NavaidSwitchTest, RadiosFileFollowsTheSwitch) {
  shell::AppState s;
  test::FillSmallCommandSet(s);
  s.settings.compileNavaids = GetParam().compileNavaids;
  for (const char* name : {"Radios", " rADIOS "}) {
    const QString text = grammar::BuildCategoryGrammar(s, name);
    EXPECT_EQ(text.contains("!import<NAV_ID>;\r\n!import<NAV_NAME>;\r\n!import<RWY_APT_ID>;\r\n\r\n"),
              GetParam().imports);
    EXPECT_EQ(text.contains("!start<RADIO_NAV1_SELECT_ILS>;"), GetParam().start);
    EXPECT_EQ(text.contains("!start<RADIO_NAV2_SELECT_VOR>;"), GetParam().start);
    EXPECT_EQ(text.contains("<RADIO_NAV1_SELECT_ILS>:"), GetParam().rule);
    EXPECT_TRUE(text.contains("!start<HEADING_BUG_SET>;"));
  }
}
INSTANTIATE_TEST_SUITE_P(Switch, NavaidSwitchTest,
                         testing::Values(NavaidCase{1, true, true, true}, NavaidCase{0, false, false, false},
                                         NavaidCase{2, false, false, true}));

TEST(ChecklistResponseGrammar, OnGetsItsSecondSpelling) {
  shell::AppState s;
  test::FillSmallCommandSet(s);
  const QString text = grammar::BuildChecklistResponseGrammar(s.settings);
  EXPECT_TRUE(
      text.startsWith("!grammar \"ChecklistResponses\";\r\n\r\n!start<CHECKED>;\r\n!start<ON>;\r\n"
                      "!start<SET AND CHECKED>;\r\n!activatable <CHECKED> <ON> <SET AND CHECKED> ;\r\n\r\n"));
  EXPECT_EQ(Rule(text, "ON"), QStringList({"<ON>:", "\t!action(\"|2\")", "\t!ignore(", "\t\t(on|awn)", "\t)", ";"}));
  EXPECT_EQ(Rule(text, "SET AND CHECKED")[3], "\t\tset and checked");
  s.settings.checklistResponses = {{"ON", 9}};
  EXPECT_EQ(Rule(grammar::BuildChecklistResponseGrammar(s.settings), "ON")[3], "\t\tON");
  s.settings.checklistResponses.clear();
  EXPECT_EQ(grammar::BuildChecklistResponseGrammar(s.settings),
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

TEST_F(WriteAllGrammarsTest, WritesEveryFileAndTwiceGivesTheSameBytes) {
  ASSERT_EQ(grammar::WriteAllGrammars(env.ctx), 0);
  QStringList files = QDir(Grammars()).entryList(QDir::Files, QDir::Name);
  EXPECT_EQ(files, QStringList({"ChecklistResponses.bnf", "Gear.bnf", "Generic Lists.bnf", "Lights.bnf",
                                "Navaid_IDs.bnf", "Navaid_ILSs.bnf", "Navaid_Names.bnf", "Radios.bnf"}));
  QMap<QString, QByteArray> first;
  for (const QString& f : files) first[f] = test::ReadBytes(Grammars() + "/" + f);
  EXPECT_EQ(Decode(first["Gear.bnf"]), grammar::BuildCategoryGrammar(env.state, "Gear"));

  ASSERT_EQ(grammar::WriteAllGrammars(env.ctx), 0);
  for (const QString& f : files) EXPECT_EQ(test::ReadBytes(Grammars() + "/" + f), first[f]) << f.toStdString();
  EXPECT_TRUE(env.dialogs.messages.empty());
  EXPECT_EQ(env.exit.calls, 0);
}

TEST_F(WriteAllGrammarsTest, GoldenFiles) {
  ASSERT_EQ(grammar::WriteAllGrammars(env.ctx), 0);
  for (const char* f :
       {"Lights.bnf", "Radios.bnf", "ChecklistResponses.bnf", "Navaid_IDs.bnf", "Navaid_Names.bnf", "Navaid_ILSs.bnf"})
    test::ExpectGolden(test::ReadBytes(Grammars() + "/" + f), QString("small/") + f);
}

TEST_F(WriteAllGrammarsTest, SharedListFileIsCopiedOnceAndNeverReplaced) {
  test::WriteBytes(Grammars() + "/Generic Lists.bnf", "user's own");
  ASSERT_EQ(grammar::WriteAllGrammars(env.ctx), 0);
  EXPECT_EQ(test::ReadBytes(Grammars() + "/Generic Lists.bnf"), "user's own");
}

TEST_F(WriteAllGrammarsTest, MissingSharedListFileFailsBeforeWritingAnything) {
  QFile::remove(inst.installDir + "/Data/Generic Lists.bnf");
  QDir(Grammars()).removeRecursively();
  EXPECT_EQ(grammar::WriteAllGrammars(env.ctx), 1);
  EXPECT_FALSE(QFileInfo::exists(Grammars() + "/Lights.bnf"));
}

TEST_F(WriteAllGrammarsTest, NavaidFilesOnlyWhenSwitchedOn) {
  env.state.settings.compileNavaids = 0;
  ASSERT_EQ(grammar::WriteAllGrammars(env.ctx), 0);
  EXPECT_FALSE(QFileInfo::exists(Grammars() + "/Navaid_IDs.bnf"));
  EXPECT_TRUE(env.dialogs.progress.empty());
}

TEST_F(WriteAllGrammarsTest, UnwritableFileIsReportedAndShutsDown) {
  QDir().mkpath(Grammars() + "/Gear.bnf/blocker");  // a folder where the file should go
  EXPECT_EQ(grammar::WriteAllGrammars(env.ctx), 1);
  ASSERT_EQ(env.dialogs.messages.size(), 1u);
  EXPECT_EQ(env.dialogs.last().title, "Quorvane Error");
  EXPECT_EQ(env.dialogs.last().message,
            "There was an error in trying to write a grammar file.\r\rPlease contact Veltrane Support\r\r"
            "Please press OK to continue...");
  EXPECT_TRUE(env.shutdown.HasShutDown());
  EXPECT_FALSE(QFileInfo::exists(Grammars() + "/ChecklistResponses.bnf"));  // stopped there
}

}  // namespace
