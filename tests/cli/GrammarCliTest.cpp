#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "TestEnv.h"
#include "grammar/GrammarFixture.h"

using qv::test::RunCli;

namespace {

TEST(GrammarCli, CheckPrintsLegalOrIllegal) {
  const auto good = RunCli({"check", "[left|right] engine (start)"});
  EXPECT_EQ(good.exitCode, 0);
  EXPECT_EQ(good.out, "legal\n");
  const auto bad = RunCli({"check", "gear up!"});
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_EQ(bad.out, "illegal\n");
  EXPECT_EQ(RunCli({"check"}).exitCode, 2);
}

TEST(GrammarCli, ExpandPrintsTrimmedSentencesOrTheError) {
  const auto r = RunCli({"expand", "[gear|wheels] (down)"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "gear\ngear down\nwheels\nwheels down\n");
  EXPECT_EQ(RunCli({"expand", "gear up"}).out, "gear up\n");
  const auto bad = RunCli({"expand", "(up]"});
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_TRUE(bad.out.isEmpty());
  EXPECT_TRUE(bad.err.startsWith("Grammar Error: ")) << bad.err.toStdString();
  EXPECT_EQ(RunCli({"expand", QString(300, u'a')}).exitCode, 2);
}

TEST(GrammarCli, RomanNumerals) {
  EXPECT_EQ(RunCli({"roman", "1994"}).out, "MCMXCIV\n");
  EXPECT_EQ(RunCli({"roman", "0"}).out, "No Roman value For 0\n");
  EXPECT_EQ(RunCli({"roman", "x"}).exitCode, 1);
}

}  // namespace

namespace {

// The installation commands on a copy of the demo data: the files are those
// the operations write in-process (pinned by the golden files).
class GrammarCliInstallationTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_NO_FATAL_FAILURE(qv::test::InstallDemoGrammarData(inst)); }
  qv::test::TestInstallation inst;
};

TEST_F(GrammarCliInstallationTest, GrammarsWritesEveryFile) {
  const auto r = RunCli({"grammars", inst.installDir});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  for (const char* f : {"Radios.bnf", "ChecklistResponses.bnf", "Navaid_ILSs.bnf"})
    EXPECT_EQ(qv::test::ReadBytes(inst.installDir + "/Grammars/" + f),
              qv::test::ReadBytes(qv::test::FixturesDir() + "/golden/demo/" + f))
        << f;
}

TEST_F(GrammarCliInstallationTest, GrammarsFailsWithoutTheSharedListFile) {
  QFile::remove(inst.installDir + "/Data/Generic Lists.bnf");
  const auto r = RunCli({"grammars", inst.installDir});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.err.contains("Grammar Export Error"));
}

TEST_F(GrammarCliInstallationTest, ScriptGoesToTheInstallationOrTheGivenFile) {
  ASSERT_EQ(RunCli({"script", inst.installDir}).exitCode, 0);
  const QByteArray golden = qv::test::ReadBytes(qv::test::FixturesDir() + "/golden/demo/QuorvaneScript.rtf");
  EXPECT_EQ(qv::test::ReadBytes(inst.installDir + "/QuorvaneScript.rtf"), golden);
  const QString other = inst.root.path() + "/elsewhere.rtf";
  ASSERT_EQ(RunCli({"script", inst.installDir, other}).exitCode, 0);
  EXPECT_EQ(qv::test::ReadBytes(other), golden);
}

TEST_F(GrammarCliInstallationTest, TestGrammarChecksItsIndices) {
  const auto r = RunCli({"test-grammar", inst.installDir, "0", "0"});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_TRUE(QFileInfo::exists(inst.installDir + "/Grammars/Test/Test.bnf"));
  EXPECT_EQ(RunCli({"test-grammar", inst.installDir, "9999", "0"}).exitCode, 2);
  EXPECT_EQ(RunCli({"test-grammar", inst.installDir, "x", "0"}).exitCode, 2);
}

}  // namespace
