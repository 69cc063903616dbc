#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "TestEnv.h"

using qv::test::DemoSourceDir;
using qv::test::FixturesDir;
using qv::test::ReadBytes;
using qv::test::WriteBytes;

namespace {

struct Result {
  int code;
  QByteArray out, err;
};

Result Cli(const QStringList& args) {
  QProcess p;
  p.start(QV_CLI_PATH, args);
  p.waitForFinished(60000);
  return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

struct Kind {
  const char* kind;
  const char* binary;  // fixture
  const char* json;    // demo source
};

class DataCli : public testing::TestWithParam<Kind> {};

}  // namespace

TEST_P(DataCli, ExportImportRoundTrips) {
  const Kind& k = GetParam();
  QTemporaryDir dir;
  const QString bin = FixturesDir() + "/data/" + k.binary;

  const Result exported = Cli({"export", k.kind, bin});
  ASSERT_EQ(exported.code, 0) << exported.err.constData();
  WriteBytes(dir.path() + "/a.json", exported.out);
  ASSERT_EQ(Cli({"import", k.kind, dir.path() + "/a.json", dir.path() + "/a.bin"}).code, 0);
  EXPECT_EQ(ReadBytes(dir.path() + "/a.bin"), ReadBytes(bin));

  const QString json = DemoSourceDir() + "/Data/" + k.json;
  const Result imported = Cli({"import", k.kind, json, dir.path() + "/b.bin"});
  ASSERT_EQ(imported.code, 0) << imported.err.constData();
  const Result again = Cli({"export", k.kind, dir.path() + "/b.bin"});
  EXPECT_EQ(again.out, ReadBytes(json));
}

INSTANTIATE_TEST_SUITE_P(Kinds, DataCli,
                         testing::Values(Kind{"commands", "CommandList.dat", "CommandList.json"},
                                         Kind{"checklist", "Checklist.dat", "Checklists/Boeing 737-800.json"},
                                         Kind{"assignments", "Checklist_Assignments.dat",
                                              "Checklist_Assignments.json"}));

TEST(DataCliErrors, BadInputIsReportedAndNothingWritten) {
  QTemporaryDir dir;
  const Result damaged = Cli({"export", "commands", FixturesDir() + "/data/TruncatedCommandList.dat"});
  EXPECT_EQ(damaged.code, 1);
  EXPECT_TRUE(damaged.out.isEmpty());
  EXPECT_TRUE(damaged.err.contains("not a valid commands file"));

  WriteBytes(dir.path() + "/long.json",
             "[{\"aircraftTitle\": \"a\", \"checklistName\": \"" + QByteArray(257, 'n') + "\", \"written\": 0}]");
  const Result tooLong = Cli({"import", "assignments", dir.path() + "/long.json", dir.path() + "/out.dat"});
  EXPECT_EQ(tooLong.code, 1);
  EXPECT_TRUE(tooLong.err.contains("[0].checklistName: longer than 256 characters")) << tooLong.err.constData();
  EXPECT_FALSE(QFile::exists(dir.path() + "/out.dat"));

  EXPECT_EQ(Cli({"export", "navaids", FixturesDir() + "/data/CommandList.dat"}).code, 2);
}
