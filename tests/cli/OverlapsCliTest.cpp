// The overlap check and the pronunciation query from the command line: the
// deliberate fixture's overlap and beginning are found, the demo has none.
#include <gtest/gtest.h>

#include "TestEnv.h"
#include "grammar/GrammarFixture.h"

using namespace qv;
using test::RunCli;

TEST(CliOverlaps, FixtureHasOneOverlapAndOneBeginningTheDemoNone) {
  test::TestInstallation inst;
  ASSERT_NO_FATAL_FAILURE(test::InstallDemoGrammarData(inst));
  const auto demo = RunCli({"overlaps", inst.installDir});
  EXPECT_EQ(demo.exitCode, 0) << demo.out.toStdString() << demo.err.toStdString();
  EXPECT_TRUE(demo.out.isEmpty()) << demo.out.toStdString();
  EXPECT_TRUE(demo.err.contains("No commands can be heard alike.")) << demo.err.toStdString();

  const QString list = inst.installDir + "/Data/CommandList.dat";
  ASSERT_EQ(RunCli({"import", "commands", test::FixturesDir() + "/overlaps/CommandList.json", list}).exitCode, 0);
  const auto r = RunCli({"overlaps", inst.installDir});
  EXPECT_EQ(r.exitCode, 1);
  const QStringList lines = QString::fromUtf8(r.out).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 2) << r.out.toStdString();
  // Categories in order: Autopilot, then Lights.
  EXPECT_TRUE(lines[0].startsWith("Warning: Autopilot - Heading Select - phrase 1, column 1: \"heading "))
      << lines[0].toStdString();
  EXPECT_TRUE(lines[0].endsWith(" hold\" of Autopilot - Heading Hold - phrase 1: the recogniser may stop before the "
                                "longer one is said"))
      << lines[0].toStdString();
  EXPECT_EQ(lines[1],
            "Warning: Lights - Landing Lights On - phrase 2, column 1: can be said the same way as Lights - Any Light "
            "On - phrase 1: \"landing lights on\"");
  EXPECT_TRUE(r.err.contains("2 pairs of commands")) << r.err.toStdString();
}

TEST(CliOverlaps, PronounceTellsWhereThePhonesComeFrom) {
  test::TestInstallation inst;
  test::WriteBytes(inst.installDir + "/Data/Pronunciations.txt", "# mine\nils\tAY EH L EH S\n");
  const auto r = RunCli({"pronounce", inst.installDir, "ILS heading zorblat"});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  const QStringList lines = QString::fromUtf8(r.out).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[0], "ils\tAY EH L EH S\tlist");
  EXPECT_EQ(lines[1], "heading\tHH EH D IH NG\tdictionary");
  EXPECT_TRUE(lines[2].startsWith("zorblat\tZ ")) << lines[2].toStdString();
  EXPECT_TRUE(lines[2].endsWith("\tgenerated"));
  EXPECT_EQ(RunCli({"pronounce", inst.installDir}).exitCode, 2);
}
