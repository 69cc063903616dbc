#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "SpeechTestSupport.h"
#include "TestEnv.h"
#include "speech/CompilerEngine.h"
#include "speech/GrammarCompiler.h"
#include "speech/Pronouncer.h"

namespace qv::test {
namespace {

using speech::CompileResult;

const QString kLights =
    "!grammar \"Lights\";\n\n" + ImportBlock() +
    "\n!start<STROBES_TOGGLE>;\n!start<HEADING_SET>;\n\n"
    "<STROBES_TOGGLE>:\n\t!action(\"|57\")\n\t!ignore(\n\t\t(\n\t\tturn !optional(the) strobes <WORD_ON>\n"
    "\t\t| (strobe|strobes) toggle\n\t\t)\n\t)\n;\n\n"
    "<HEADING_SET>:\n\t!action(\"|58:\")\n\t!ignore(\n\t\t(\n\t\tset heading <HDG>\n\t\t)\n\t)\n;\n";

const QString kResponses =
    "!grammar \"ChecklistResponses\";\n\n!start<CHECKED>;\n!start<SET AND CHECKED>;\n"
    "!activatable <CHECKED> <SET AND CHECKED> ;\n\n"
    "<CHECKED>:\n\t!action(\"|900\")\n\t!ignore(\n\t\tChecked\n\t)\n;\n\n"
    "<SET AND CHECKED>:\n\t!action(\"|901\")\n\t!ignore(\n\t\tSet and checked\n\t)\n;\n";

class CompilerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    grammars = dir.path() + "/Grammars";
    QDir().mkpath(grammars);
    QFile::copy(GenericListsFixture(), grammars + "/Generic Lists.bnf");
  }
  CompileResult Compile(const QString& only = {}) { return speech::CompileFolder(grammars, QString(), only); }
  QTemporaryDir dir;
  QString grammars;
};

TEST_F(CompilerTest, CompilesCategoryAndResponseFilesIntoLoadableGrammars) {
  WriteBnf(grammars + "/Lights.bnf", kLights);
  WriteBnf(grammars + "/ChecklistResponses.bnf", kResponses);
  const CompileResult r = Compile();
  ASSERT_TRUE(r.Ok()) << (r.diagnostics.empty() ? QString() : r.diagnostics.front().ToString()).toStdString();
  ASSERT_EQ(r.grammars.size(), 2u);  // the list file has no start rule of its own
  const QString lights = QString::fromUtf8(QFile(grammars + "/Compiled/Lights.gram").exists()
                                               ? ReadBytes(grammars + "/Compiled/Lights.gram")
                                               : QByteArray());
  EXPECT_TRUE(lights.contains("turn [ the ] strobes")) << lights.toStdString();
  EXPECT_TRUE(lights.contains("{|57}"));
  EXPECT_TRUE(lights.contains("( zero | oh )"));  // imported rules are copied in
  EXPECT_TRUE(ReadBytes(grammars + "/Compiled/ChecklistResponses.gram").contains("set and checked"));
  // "awn" is no dictionary word: it gets a pronunciation of its own.
  EXPECT_TRUE(r.addedWords.contains("awn"));
  EXPECT_TRUE(ReadBytes(grammars + "/Compiled/Quorvane.dict").contains("awn "));
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
  WriteBnf(grammars + "/Broken.bnf", "!grammar \"Broken\";\n!start<NOWHERE>;\n");
  EXPECT_EQ(engine.Compile(0, 1), 1);
  EXPECT_EQ(QString::fromUtf8(ReadBytes(grammars + "/Compile.log")).trimmed(),
            "Broken.bnf:2: start rule <NOWHERE> is not defined in this file nor imported");
}

struct BrokenCase {
  const char* name;
  const char* file;  // written as Bad.bnf
  int line;
  const char* message;  // a part of the message
  const char* reportedIn = "Bad.bnf";
};

class BrokenGrammarTest : public CompilerTest, public ::testing::WithParamInterface<BrokenCase> {};

TEST_P(BrokenGrammarTest, ReportsTheProblemWithItsFileAndLine) {
  const BrokenCase& c = GetParam();
  WriteBnf(grammars + "/Lights.bnf", kLights);
  WriteBnf(grammars + "/Bad.bnf", QString::fromUtf8(c.file));
  const CompileResult r = Compile();
  EXPECT_FALSE(r.Ok());
  const QString log = QString::fromUtf8(ReadBytes(grammars + "/Compile.log"));
  const QString expected = QString("%1:%2: ").arg(QString::fromUtf8(c.reportedIn)).arg(c.line);
  bool found = false;
  for (const auto& line : log.split('\n', Qt::SkipEmptyParts))
    found = found || (line.startsWith(expected) && line.contains(QString::fromUtf8(c.message)));
  EXPECT_TRUE(found) << "expected " << expected.toStdString() << "..." << c.message << "\nlog:\n" << log.toStdString();
  EXPECT_FALSE(QFile::exists(grammars + "/Compiled/Lights.gram"));  // nothing compiled on failure
}

const BrokenCase kBroken[] = {
    {"MissingSemicolon", "!grammar \"Bad\";\n!import<HDG>\n!start<A>;\n<A>:\n\tgo <HDG>\n;\n", 3, "expected \";\""},
    {"UnclosedGroup", "!grammar \"Bad\";\n!start<A>;\n<A>:\n\t(go\n\t| stop\n;\n", 4, "\"(\" is not closed"},
    {"StrayClose", "!grammar \"Bad\";\n!start<A>;\n<A>:\n\tgo)\n;\n", 4, "\")\" without a matching"},
    {"UnknownDirective", "!grammar \"Bad\";\n!begin<A>;\n", 2, "unknown directive !begin"},
    {"MissingHeader", "!start<A>;\n<A>:\n\tgo\n;\n", 1, "missing !grammar"},
    {"UnterminatedText", "!grammar \"Bad\";\n!start<A>;\n<A>:\n\t!action(\"|5)\n\tgo\n;\n", 4, "unterminated text"},
    {"ImportNobodyExports", "!grammar \"Bad\";\n!import<NAV_NAME>;\n!start<A>;\n<A>:\n\ttune <NAV_NAME>\n;\n", 2,
     "imported rule <NAV_NAME> is not exported by any grammar file"},
    {"UndefinedReference", "!grammar \"Bad\";\n!start<A>;\n\n<A>:\n\tset speed\n\t<SPEED>\n;\n", 6,
     "reference to rule <SPEED> is not defined"},
    {"UndefinedStart", "!grammar \"Bad\";\n!start<A>;\n!start<B>;\n<A>:\n\tgo\n;\n", 3, "start rule <B>"},
    {"DuplicateRule", "!grammar \"Bad\";\n!start<A>;\n<A>:\n\tgo\n;\n<A>:\n\tstop\n;\n", 6,
     "duplicate rule <A> (first defined at line 3)"},
    // Files are read in name order: the list file's export comes second.
    {"ExportedTwice", "!grammar \"Bad\";\n!export<HDG>;\n<HDG>:\n\tnorth\n;\n", 6,
     "rule <HDG> is also exported by Bad.bnf", "Generic Lists.bnf"},
    {"DirectRecursion", "!grammar \"Bad\";\n!start<A>;\n<A>:\n\tgo <A>\n;\n", 3, "rule <A> is recursive: <A> -> <A>"},
    {"IndirectRecursion", "!grammar \"Bad\";\n!start<A>;\n<A>:\n\tgo <B>\n;\n\n<B>:\n\tnow !optional(<A>)\n;\n", 3,
     "is recursive: <A> -> <B> -> <A>"},
    {"Unpronounceable", "!grammar \"Bad\";\n!start<A>;\n<A>:\n\tgear\n\t| gear ---\n;\n", 5,
     "cannot pronounce the word \"---\""},
    {"EmptyRule", "!grammar \"Bad\";\n!start<A>;\n<A>:\n\t!action(\"|1\")\n;\n", 3, "rule <A> has nothing to say"},
};

INSTANTIATE_TEST_SUITE_P(Diagnostics, BrokenGrammarTest, ::testing::ValuesIn(kBroken),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CompilerTest, ReportsEveryBrokenStatementInOneRun) {
  WriteBnf(grammars + "/Bad.bnf", "!grammar \"Bad\";\n!start<A>;\n<A>:\n\t(go\n;\n<B>:\n\tgo)\n;\n!start<C>;\n");
  const CompileResult r = Compile();
  QStringList lines;
  for (const auto& d : r.diagnostics) lines << d.ToString();
  EXPECT_EQ(lines, QStringList({"Bad.bnf:4: \"(\" is not closed", "Bad.bnf:7: \")\" without a matching \"(\"",
                                "Bad.bnf:2: start rule <A> is not defined in this file nor imported",
                                "Bad.bnf:9: start rule <C> is not defined in this file nor imported"}));
}

TEST_F(CompilerTest, TestGrammarCompileIgnoresUnrelatedFiles) {
  WriteBnf(grammars + "/Test.bnf", TestGrammarText("set heading <HDG>", false));
  WriteBnf(grammars + "/Stale.bnf", "!grammar \"Stale\";\n!start<X>;\n");
  const CompileResult r = Compile("Test.bnf");
  EXPECT_TRUE(r.Ok());
  ASSERT_EQ(r.grammars.size(), 1u);
  EXPECT_EQ(r.grammars.front().baseName, "Test");
  EXPECT_FALSE(Compile().Ok());
}

TEST_F(CompilerTest, NavaidGrammarsResolveThroughTheirExports) {
  WriteNavaidGrammars(grammars);
  WriteBnf(grammars + "/Test.bnf", TestGrammarText("tune (the) ILS <RWY_APT_ID> | select <NAV_NAME> vor", true));
  const CompileResult r = Compile("Test.bnf");
  ASSERT_TRUE(r.Ok()) << (r.diagnostics.empty() ? QString() : r.diagnostics.front().ToString()).toStdString();
  const QString jsgf = QString::fromUtf8(r.grammars.front().jsgf);
  EXPECT_TRUE(jsgf.contains("tileless")) << jsgf.toStdString();
  EXPECT_TRUE(jsgf.contains("{KSEA16L:1}"));
  EXPECT_TRUE(r.addedWords.contains("tileless"));
  EXPECT_TRUE(r.addedWords.contains("elle-ess"));
}

TEST(EspeakPhonesTest, MapsEspeakPhonemesOntoTheModelPhones) {
  EXPECT_EQ(speech::EspeakToModelPhones("t 'E n"), "T EH N");
  EXPECT_EQ(speech::EspeakToModelPhones("tS '3: tS"), "CH ER CH");
  EXPECT_EQ(speech::EspeakToModelPhones("dZ 'V dZ"), "JH AH JH");
  EXPECT_EQ(speech::EspeakToModelPhones("l 'oU k @ l ,aI z 3"), "L OW K AH L AY Z ER");
  EXPECT_EQ(speech::EspeakToModelPhones("b 'V ? n-"), "B AH T N");
  EXPECT_EQ(speech::EspeakToModelPhones(""), "");
}

TEST(PronouncerTest, DerivesAviationWordsMissingFromTheDictionary) {
  speech::Pronouncer p(speech::ModelDictionaryPath());
  ASSERT_TRUE(p.DictionaryLoaded());
  EXPECT_TRUE(p.InDictionary("Heading"));
  EXPECT_FALSE(p.InDictionary("glideslope"));
  EXPECT_EQ(p.Derive("glideslope", "glideslope"), "G L AY D S L OW P");
  EXPECT_FALSE(p.Derive("qnh", "QNH").isEmpty());
  EXPECT_TRUE(p.Derive("'", "'").isEmpty());
}

}  // namespace
}  // namespace qv::test
