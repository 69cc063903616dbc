// The command-line companion, one run of each command: the operations behind
// them are tested in-process; here, that each command reaches them, prints
// what it should and fails with the right status.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "FixtureTree.h"
#include "TestEnv.h"
#include "base/FixedText.h"
#include "data/ChecklistFiles.h"
#include "grammar/GrammarFixture.h"

using namespace qv;
using test::ReadBytes;
using test::RunCli;

TEST(Cli, PhraseLanguage) {
  EXPECT_EQ(RunCli({"check", "[left|right] engine (start)"}).out, "legal\n");
  const auto bad = RunCli({"check", "gear up!"});
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_EQ(bad.out, "illegal\n");
  EXPECT_EQ(RunCli({"expand", "[gear|wheels] (down)"}).out, "gear\ngear down\nwheels\nwheels down\n");
  const auto illegal = RunCli({"expand", "(up]"});
  EXPECT_EQ(illegal.exitCode, 1);
  EXPECT_TRUE(illegal.err.startsWith("Grammar Error: ")) << illegal.err.toStdString();
  EXPECT_EQ(RunCli({"roman", "1994"}).out, "MCMXCIV\n");
  for (const QStringList& usage : {QStringList{"check"}, QStringList{"expand", QString(300, u'a')},
                                   QStringList{"export", "navaids", test::FixturesDir() + "/data/CommandList.dat"},
                                   QStringList{"no-such-command"}})
    EXPECT_EQ(RunCli(usage).exitCode, 2) << usage.join(' ').toStdString();
}

class CliData : public testing::TestWithParam<std::pair<const char*, const char*>> {};

// A binary file exported and imported again gives the same bytes; a damaged
// one is refused and nothing is printed.
TEST_P(CliData, ExportImportRoundTrips) {
  const auto [kind, binary] = GetParam();
  QTemporaryDir dir;
  const QString bin = test::FixturesDir() + "/data/" + binary;
  const auto exported = RunCli({"export", kind, bin});
  ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
  test::WriteBytes(dir.path() + "/a.json", exported.out);
  ASSERT_EQ(RunCli({"import", kind, dir.path() + "/a.json", dir.path() + "/a.bin"}).exitCode, 0);
  EXPECT_EQ(ReadBytes(dir.path() + "/a.bin"), ReadBytes(bin));
  const auto damaged = RunCli({"export", kind, test::FixturesDir() + "/data/Truncated" + binary});
  EXPECT_EQ(damaged.exitCode, 1);
  EXPECT_TRUE(damaged.out.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Kinds, CliData,
                         testing::Values(std::pair{"commands", "CommandList.dat"},
                                         std::pair{"checklist", "Checklist.dat"},
                                         std::pair{"assignments", "Checklist_Assignments.dat"}),
                         [](const auto& info) { return std::string(info.param.first); });

TEST(Cli, ImportRefusesWhatTheFileCannotHold) {
  QTemporaryDir dir;
  test::WriteBytes(dir.path() + "/long.json",
                   "[{\"aircraftTitle\": \"a\", \"checklistName\": \"" + QByteArray(257, 'n') + "\", \"written\": 0}]");
  const auto r = RunCli({"import", "assignments", dir.path() + "/long.json", dir.path() + "/out.dat"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.err.contains("[0].checklistName: longer than 256 characters")) << r.err.toStdString();
  EXPECT_FALSE(QFileInfo::exists(dir.path() + "/out.dat"));
}

TEST(Cli, SettingsAndScanOfAnInstallation) {
  test::TestInstallation inst;
  const QJsonObject o = QJsonDocument::fromJson(RunCli({"settings", inst.installDir}).out).object();
  EXPECT_EQ(o["microphone"].toString(), "shift+t");
  EXPECT_EQ(o["PathFSXConfig"].toString(), inst.fsxCfg);
  EXPECT_EQ(o["lists"].toArray().size(), o["numLists"].toInt() + 1);

  EXPECT_NE(RunCli({"scan", inst.installDir}).exitCode, 0);  // no assignments file
  test::CopyTree(test::FixturesDir() + "/ScanTree", inst.simDir);
  test::WriteBytes(data::AssignmentsFilePath(inst.installDir),
                   data::SerializeAssignments({{base::Fixed("CESSNA RED", data::kAssignmentTitleWidth),
                                                base::Fixed("C172", data::kAssignmentNameWidth), 1}}));
  const auto r = RunCli({"scan", inst.installDir});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  const QStringList lines = QString::fromUtf8(r.out).split(u'\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 15);
  const QString airplanes = inst.simDir + "/SimObjects/Airplanes/";
  EXPECT_EQ(lines[4].split(u'\t'),
            (QStringList{"3", "0", "1", "Cessna", "C172", "Red", "Cessna Red", "0", airplanes + "C_Cessna/TEXTURE.red/",
                         airplanes + "C_Cessna/C172_check.htm"}));
  EXPECT_FALSE(QFileInfo::exists(inst.installDir + "/Data/Checklist_Assignments.bak"));  // nothing written
}

// The installation's grammar files and script, as the operations write them
// in-process (pinned by the golden files).
TEST(Cli, GrammarsScriptAndTestGrammarOfTheDemo) {
  test::TestInstallation inst;
  ASSERT_NO_FATAL_FAILURE(test::InstallDemoGrammarData(inst));
  const auto r = RunCli({"grammars", inst.installDir});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_EQ(ReadBytes(inst.installDir + "/Grammars/Radios.bnf"),
            ReadBytes(test::FixturesDir() + "/golden/demo/Radios.bnf"));
  const QString other = inst.root.path() + "/elsewhere.rtf";
  ASSERT_EQ(RunCli({"script", inst.installDir, other}).exitCode, 0);
  EXPECT_EQ(ReadBytes(other), ReadBytes(test::FixturesDir() + "/golden/demo/QuorvaneScript.rtf"));
  ASSERT_EQ(RunCli({"test-grammar", inst.installDir, "0", "0"}).exitCode, 0);
  EXPECT_TRUE(QFileInfo::exists(inst.installDir + "/Grammars/Test/Test.bnf"));
  EXPECT_EQ(RunCli({"test-grammar", inst.installDir, "9999", "0"}).exitCode, 2);
  // The compile prints every problem where the user can mend it, then fails.
  QFile::remove(inst.installDir + "/Grammars/Generic Lists.bnf");
  test::WriteBytes(inst.installDir + "/Data/Generic Lists.bnf",
                   ReadBytes(inst.installDir + "/Data/Generic Lists.bnf") + "<broken>:\n\t( one | two\n;\n");
  const auto compiled = RunCli({"compile", inst.installDir});
  EXPECT_EQ(compiled.exitCode, 1);
  EXPECT_TRUE(compiled.out.startsWith("Error: Generic Lists.bnf line 359, column ")) << compiled.out.toStdString();
  EXPECT_TRUE(compiled.err.contains("Grammar compile failed")) << compiled.err.toStdString();
  QFile::remove(inst.installDir + "/Data/Generic Lists.bnf");
  QDir(inst.installDir + "/Grammars").removeRecursively();
  const auto failed = RunCli({"grammars", inst.installDir});
  EXPECT_EQ(failed.exitCode, 1);
  EXPECT_TRUE(failed.err.contains("Grammar Export Error"));
}
