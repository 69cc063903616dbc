#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "SpeechTestSupport.h"
#include "speech/CompilerEngine.h"
#include "speech/GrammarCompiler.h"
#include "speech/Pronouncer.h"
#include "speech/SpeechModel.h"

namespace qv::test {
namespace {

using speech::CompileResult;

const QString kLights =
    CategoryGrammar("Lights", ImportBlock(),
                    {{"STROBES_TOGGLE", "|57", {"turn !optional(the) strobes <WORD_ON>", "(strobe|strobes) toggle"}},
                     {"HEADING_SET", "|58:", {"set heading <hdg>"}}});

const QString kResponses =
    "!grammar \"ChecklistResponses\";\n\n!start<CHECKED>;\n!start<SET AND CHECKED>;\n"
    "!activatable <CHECKED> <SET AND CHECKED> ;\n\n"
    "<CHECKED>:\n\t!action(\"|900\")\n\t!ignore(\n\t\tChecked\n\t)\n;\n\n"
    "<SET AND CHECKED>:\n\t!action(\"|901\")\n\t!ignore(\n\t\t(on|awn)\n\t)\n;\n";

class CompilerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    grammars = dir.path() + "/Grammars";
    QDir().mkpath(grammars);
    QFile::copy(GenericListsFixture(), grammars + "/Generic Lists.bnf");
  }
  CompileResult Compile(const QString& only = {}) { return speech::CompileFolder(dir.path(), grammars, only); }
  QTemporaryDir dir;
  QString grammars;
};

TEST_F(CompilerTest, BuildsOneSearchGraphPerGrammarAndWritesItsFiles) {
  WriteBnf(grammars + "/Lights.bnf", kLights);
  WriteBnf(grammars + "/ChecklistResponses.bnf", kResponses);
  const CompileResult r = Compile();
  ASSERT_TRUE(r.Ok()) << Problems(r).toStdString();
  ASSERT_EQ(r.grammars.size(), 2u);  // the list file has no start rule of its own
  // "<hdg>" in lower case names the list all the same.
  for (const char* said : {"turn the strobes on", "turn strobes on", "strobes toggle", "set heading two seven zero"})
    EXPECT_TRUE(Says(r, "Lights", said)) << said;
  for (const char* unsaid : {"turn the strobes", "set heading two seven"}) EXPECT_FALSE(Says(r, "Lights", unsaid));
  EXPECT_TRUE(Says(r, "ChecklistResponses", "awn"));
  EXPECT_TRUE(Says(r, "ChecklistResponses", "checked"));
  // "awn" is no dictionary word: it gets a pronunciation of its own.
  EXPECT_FALSE(r.phones.value("awn").isEmpty());
  EXPECT_TRUE(("\n" + ReadBytes(grammars + "/Compiled/Quorvane.dict")).contains("\nawn "));
  EXPECT_TRUE(ReadBytes(grammars + "/Compiled/Lights.fsg").startsWith("FSG_BEGIN Lights\n"));
  EXPECT_TRUE(ReadBytes(grammars + "/Compile.log").isEmpty());
}

TEST_F(CompilerTest, EngineReportsStatusAndFallsBackToTheDataListFile) {
  const QString install = dir.path();
  QDir(grammars).remove("Generic Lists.bnf");
  QDir().mkpath(install + "/Data");
  QFile::copy(GenericListsFixture(), install + "/Data/Generic Lists.bnf");
  WriteBnf(grammars + "/Lights.bnf", kLights);
  speech::CompilerEngine engine(install);
  EXPECT_EQ(engine.Start(), 0);
  EXPECT_EQ(engine.Compile(0, 1), 0);
  WriteBnf(grammars + "/Broken.bnf", "!grammar \"Broken\";\n!start<A>;\n<A>:\n\tgear up?\n;\n");
  EXPECT_EQ(engine.Compile(0, 1), 1);
  EXPECT_EQ(QString::fromUtf8(ReadBytes(grammars + "/Compile.log")).trimmed(),
            "Broken.bnf:4:9: error: the character \"?\" is not allowed in a phrase");
  ASSERT_EQ(engine.Diagnostics().size(), 1u);
  EXPECT_EQ(engine.Diagnostics()[0].column, 9);
}

struct Case {
  const char* name;
  const char* file;  // written into the grammar folder as it is, next to Lights.bnf
  const char* text;
  const char* expected;  // "line:column: severity: part of the message"; empty: no problem at all
  bool compiles;
};

class ProblemTest : public CompilerTest, public ::testing::WithParamInterface<Case> {};

// The shared list file is hand-written notation: what does not fit it is an
// error. The category files hold users' phrases: characters the phrase
// language forbids are errors, the rest is read as well as it can be. The
// navaid lists and responses hold free text: nothing there is an error.
TEST_P(ProblemTest, ReportsThePlaceAndWeightOfEachProblem) {
  const Case& c = GetParam();
  WriteBnf(grammars + "/Lights.bnf", kLights);
  if (QString(c.file) == "Generic Lists.bnf") {
    WriteBnf(grammars + "/Generic Lists.bnf", c.text);
    QDir(grammars).remove("Lights.bnf");
  } else {
    WriteBnf(grammars + "/" + c.file, c.text);
  }
  const CompileResult r = Compile();
  EXPECT_EQ(r.Ok(), c.compiles) << Problems(r).toStdString();
  const QString log = QString::fromUtf8(ReadBytes(grammars + "/Compile.log"));
  if (QString(c.expected).isEmpty()) {
    EXPECT_TRUE(log.isEmpty()) << log.toStdString();
    return;
  }
  const QString expected = QString(c.file) + ":" + c.expected;
  EXPECT_TRUE(log.contains(expected)) << "expected " << expected.toStdString() << "\nlog:\n" << log.toStdString();
  if (!c.compiles) {
    EXPECT_FALSE(QFile::exists(grammars + "/Compiled/Lights.fsg"));
  }
}

const Case kCases[] = {
    // The hand-written list file.
    {"MissingSemicolon", "Generic Lists.bnf", "!grammar \"Bad\";\n!export<A>\n<A>:\n\tgo\n;\n",
     "2:11: error: expected \";\" at the end of the line", false},
    {"UnclosedGroup", "Generic Lists.bnf", "!grammar \"Bad\";\n!export<A>;\n<A>:\n\t(go\n\t| stop\n;\n",
     "4:2: error: \"(\" is not closed", false},
    {"StrayClose", "Generic Lists.bnf", "!grammar \"Bad\";\n!export<A>;\n<A>:\n\tgo)\n;\n",
     "4:4: error: \")\" without a matching \"(\"", false},
    {"UnknownDirective", "Generic Lists.bnf", "!grammar \"Bad\";\n!begin<A>;\n", "2:1: error: unknown directive !begin",
     false},
    {"MissingHeader", "Generic Lists.bnf", "!export<A>;\n<A>:\n\tgo\n;\n", "1:1: error: missing !grammar", false},
    {"UnterminatedText", "Generic Lists.bnf", "!grammar \"Bad\";\n!export<A>;\n<A>:\n\tgo !action(\"|5)\n;\n",
     "4:5: error: unterminated text in quotes", false},
    {"QuotationMark", "Generic Lists.bnf", "!grammar \"Bad\";\n!export<A>;\n<A>:\n\tgo \"now\"\n;\n",
     "4:5: error: unexpected character \"\"\"", false},
    {"UndefinedReference", "Generic Lists.bnf", "!grammar \"Bad\";\n!export<A>;\n\n<A>:\n\tset speed\n\t<SPEED>\n;\n",
     "6:2: error: reference to rule <SPEED> is not defined", false},
    {"DuplicateRule", "Generic Lists.bnf", "!grammar \"Bad\";\n!export<A>;\n<A>:\n\tgo\n;\n<A>:\n\tstop\n;\n",
     "6:1: error: duplicate rule <A> (first defined at line 3)", false},
    {"Recursion", "Generic Lists.bnf",
     "!grammar \"Bad\";\n!export<A>;\n<A>:\n\tgo <B>\n;\n\n<B>:\n\tnow !optional(<A>)\n;\n",
     "3:1: error: rule <A> is recursive: <A> -> <B> -> <A>", false},
    {"NotationCharacter", "Generic Lists.bnf", "!grammar \"Bad\";\n!export<A>;\n<A>:\n\t[go|stop]\n;\n",
     "4:2: error: unexpected character \"[\"", false},
    {"EmptyRule", "Generic Lists.bnf", "!grammar \"Bad\";\n!export<A>;\n<A>:\n\t!action(\"|1\")\n;\n",
     "3:1: warning: rule <A> has nothing to say", true},
    // A category file: the users' phrases.
    {"IllegalCharacterInAPhrase", "Bad.bnf", "!grammar \"Bad\";\n!start<A>;\n<A>:\n\t!ignore(\n\t\tgear up!\n\t)\n;\n",
     "5:10: error: the character \"!\" is not allowed in a phrase", false},
    {"UnclosedGroupInAPhrase", "Bad.bnf", "!grammar \"Bad\";\n!start<A>;\n<A>:\n\t!ignore(\n\t\t(up|down\n\t)\n;\n",
     "5:3: error: \"(\" is not closed", false},
    {"LoneDashIsLeftOut", "Bad.bnf", "!grammar \"Bad\";\n!start<A>;\n<A>:\n\tgear - down\n;\n",
     "4:7: warning: \"-\" has no sound and is left out", true},
    {"StrayAngleBracket", "Bad.bnf", "!grammar \"Bad\";\n!start<A>;\n<A>:\n\tgear <down\n;\n",
     "4:7: warning: \"<\" without \">\" is not spoken", true},
    {"EmptyGroupMatchesSilence", "Bad.bnf", "!grammar \"Bad\";\n!start<A>;\n<A>:\n\tgear !optional() down\n;\n",
     "4:16: warning: the parentheses hold nothing to say", true},
    {"UnknownList", "Bad.bnf", "!grammar \"Bad\";\n!start<A>;\n<A>:\n\tgear <GEAR_STATE>\n\t| gear up\n;\n",
     "4:7: warning: reference to rule <GEAR_STATE> is not defined in this file nor imported; what uses it can "
     "never be said",
     true},
    {"PhraseNamingItsOwnCommand", "Bad.bnf", "!grammar \"Bad\";\n!start<A>;\n<A>:\n\tgear (up|<A>)\n;\n",
     "4:11: warning: rule <A> is recursive: <A> -> <A>; that path is left out", true},
    {"UnstartedRuleIsNotChecked", "Bad.bnf", "!grammar \"Bad\";\n<RADIO_NAV1_SELECT_VOR>:\n\ttune <NAV_ID>\n;\n", "",
     true},
    {"EventNameWithAnyCharacter", "Bad.bnf", "!grammar \"Bad\";\n!start<A>B;:\"!>;\n<A>B;:\"!>:\n\tgear down\n;\n", "",
     true},
    // Free text: navaid names.
    {"NavaidNameWithMarks", "Navaid_Names.bnf",
     "!grammar \"NAVAID_NAMES\";\n!export<NAV_NAME>;\n<NAV_NAME>:\n\t(\n\t!ignore(koln/bonn "
     "(decommissioned))!action(\"K\"B\")\n"
     "\t| !ignore(a)b;c\"d)!action(\"X\")\n\t)\n;\n",
     "6:19: warning: \")\" without a matching \"(\"", true},
    {"EmptyNavaidList", "Navaid_IDs.bnf", "!grammar \"NAVAID_IDS\";\n!export<NAV_ID>;\n\n\n<NAV_ID>:\n\t(\n\t)\n;\n",
     "5:1: warning: rule <NAV_ID> has nothing to say: it matches nothing", true},
};

INSTANTIATE_TEST_SUITE_P(Problems, ProblemTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CompilerTest, ReportsEveryProblemOfAFileInOneRun) {
  WriteBnf(grammars + "/Generic Lists.bnf",
           "!grammar \"Bad\";\n!export<A>;\n<A>:\n\t(go\n;\n<B>:\n\tgo)\n;\n!start<C>;\n");
  const CompileResult r = Compile();
  QStringList lines;
  for (const auto& d : r.diagnostics) lines << d.ToString();
  EXPECT_EQ(lines,
            QStringList({"Generic Lists.bnf:4:2: error: \"(\" is not closed",
                         "Generic Lists.bnf:7:4: error: \")\" without a matching \"(\"",
                         "Generic Lists.bnf:9:7: error: start rule <C> is not defined in this file nor imported"}));
}

TEST_F(CompilerTest, TestGrammarCompileIgnoresUnrelatedFiles) {
  WriteBnf(grammars + "/Test.bnf", TestGrammarText("set heading <HDG>", false));
  WriteBnf(grammars + "/Stale.bnf", "!grammar \"Stale\";\n!start<X>;\n<X>:\n\tstale?\n;\n");
  const CompileResult r = Compile("Test.bnf");
  EXPECT_TRUE(r.Ok()) << Problems(r).toStdString();
  ASSERT_EQ(r.grammars.size(), 1u);
  EXPECT_EQ(r.grammars.front().baseName, "Test");
  EXPECT_FALSE(Compile().Ok());
}

// The navaid lists are compiled once and then read from the cache, keyed by
// their bytes: a change to a list compiles it again.
TEST_F(CompilerTest, NavaidListsResolveThroughTheirExportsAndComeFromTheCacheNextTime) {
  WriteNavaidGrammars(grammars);
  WriteBnf(grammars + "/Test.bnf", TestGrammarText("tune (the) ILS <RWY_APT_ID> | select <NAV_NAME> vor", true));
  for (int run = 0; run < 2; ++run) {
    const CompileResult r = Compile("Test.bnf");
    ASSERT_TRUE(r.Ok()) << Problems(r).toStdString();
    // The shared list file, the names and the ILS approaches (the
    // identifiers are not used by the phrase, so they are not compiled).
    EXPECT_EQ(r.filesFromCache, run == 0 ? 0 : 3) << run;
    EXPECT_TRUE(Says(r, "Test", "tune the ils one six left tileless at kilo sierra echo alpha"));
    EXPECT_TRUE(Says(r, "Test", "tune the ils nine i'll less k b f i"));
    EXPECT_TRUE(Says(r, "Test", "select seattle vor"));
    EXPECT_FALSE(Says(r, "Test", "select seattle"));
    EXPECT_FALSE(r.phones.value("tileless").isEmpty());
  }
  QString names =
      "!grammar "
      "\"NAVAID_NAMES\";\n\n!export<NAV_NAME>;\n\n\n<NAV_NAME>:\n\t(\n\t!ignore(tacoma)!action(\"TCM\")\n\t)\n;\n";
  WriteBnf(grammars + "/Navaid_Names.bnf", names);
  const CompileResult changed = Compile("Test.bnf");
  EXPECT_EQ(changed.filesFromCache, 2);
  EXPECT_TRUE(Says(changed, "Test", "select tacoma vor"));
  EXPECT_FALSE(Says(changed, "Test", "select seattle vor"));
}

TEST(SpokenWordsTest, FoldsAccentsAndBreaksAtMarks) {
  struct Row {
    const char* token;
    QStringList words;
  };
  const Row rows[] = {
      {"Köln/Bonn", {"koln", "bonn"}},
      {"St.", {"st"}},
      {"O'Hare", {"o'hare"}},
      {"x-ray", {"x-ray"}},
      {"ZÜRICH", {"zurich"}},
      {"Straße", {"strasse"}},
      {"Ærø", {"aero"}},
      {"A320", {"a320"}},
      {"-", {}},
      {"'", {}},
      {"(Closed", {"closed"}},
      {"Wau_NDB_", {"wau", "ndb"}},
      {"--lFc", {"lfc"}},
      {"€", {}},
  };
  for (const Row& row : rows) {
    QStringList got;
    for (const auto& w : speech::SpokenWords(QString::fromUtf8(row.token))) got << w.word;
    EXPECT_EQ(got, row.words) << row.token;
  }
}

TEST(PronouncerTest, DerivesWordsMissingFromTheDictionary) {
  speech::Pronouncer p(speech::FindSpeechModel(QString()).dictionary);
  ASSERT_TRUE(p.DictionaryLoaded());
  EXPECT_TRUE(p.InDictionary("Heading"));
  EXPECT_EQ(p.Pronunciations("a").size(), 2);  // "a" and "a(2)"
  EXPECT_FALSE(p.InDictionary("glideslope"));
  EXPECT_EQ(p.Derive("glideslope", "glideslope"), "G L AY D S L OW P");
  EXPECT_FALSE(p.Derive("qnh", "QNH").isEmpty());
  EXPECT_TRUE(p.Derive("'", "'").isEmpty());
  EXPECT_EQ(speech::EspeakToModelPhones("l 'oU k @ l ,aI z 3"), "L OW K AH L AY Z ER");
  EXPECT_EQ(speech::EspeakToModelPhones("b 'V ? n-"), "B AH T N");
  bool complete = true;
  EXPECT_EQ(speech::EspeakToModelPhones("'O2 f", &complete), "AO F");
  EXPECT_TRUE(complete);
  speech::EspeakToModelPhones("'Q9 f", &complete);
  EXPECT_FALSE(complete);
}

// The accents added to the dictionary: every phoneme eSpeak uses for the
// words pilots say most must map, or a variant would lose a sound and turn
// into another word ("off" said as "F").
TEST(PronouncerTest, SpokenVariantsKeepEverySound) {
  speech::Pronouncer p(speech::FindSpeechModel(QString()).dictionary);
  const QStringList voices{"en-us", "en-gb-x-rp"};
  EXPECT_EQ(p.SpokenVariants("off", voices), QStringList({"AO F", "AA F"}));
  EXPECT_EQ(p.SpokenVariants("two", voices), QStringList({"T UW"}));  // the same in both: listed once
  for (const char* word :
       {"zero",    "one",      "three",     "four",        "five",  "six",      "seven",   "eight",     "nine",
        "oh",      "decimal",  "point",     "flaps",       "gear",  "master",   "heading", "altimeter", "millibar",
        "bearing", "throttle", "autopilot", "frequencies", "knots", "thousand", "squawk",  "localizer"})
    for (const QString& voice : voices)
      EXPECT_EQ(p.SpokenVariants(word, {voice}).size(), 1) << word << " " << voice.toStdString();
  EXPECT_TRUE(p.SpokenVariants("'", voices).isEmpty());
}

}  // namespace
}  // namespace qv::test
