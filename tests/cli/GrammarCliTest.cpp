#include <gtest/gtest.h>

#include "TestEnv.h"

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
