#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "DemoData.h"
#include "TestEnv.h"
#include "base/FixedText.h"
#include "core/data/ChecklistStore.h"
#include "core/data/CommandListStore.h"
#include "core/shell/Startup.h"
#include "data/ChecklistFiles.h"
#include "data/CommandList.h"
#include "data/NavaidLists.h"

using namespace qv::data;
using qv::test::FixturesDir;
using qv::test::InstallDemoData;
using qv::test::ReadBytes;
using qv::test::TestEnv;
using qv::test::TestInstallation;
using qv::test::WriteBytes;

namespace {

struct Started {
  TestInstallation inst;
  std::unique_ptr<TestEnv> env;
  bool ok = false;
};

void Start(Started& s, const std::function<void(const QString& installDir)>& damage) {
  InstallDemoData(s.inst.installDir);
  damage(s.inst.installDir);
  s.env = std::make_unique<TestEnv>(s.inst.installDir);
  s.env->appData->common = s.inst.appDataDir;
  auto steps = qv::shell::DefaultStartupSteps(s.env->ctx);
  bool launched = false;
  steps.launchDecision = [&launched] { launched = true; };
  s.ok = qv::shell::RunStartup(s.env->ctx, s.env->speech, "", steps) && launched;
}

// The messages keep their words and add, on a line of its own, the file that
// failed and why; this takes that line out again.
QString WithoutFileLine(const QString& message, const QString& file) {
  QStringList pieces = message.split("\r\r");
  pieces.removeIf([&](const QString& p) { return p.contains(QFileInfo(file).fileName() + ": "); });
  return pieces.join("\r\r");
}

}  // namespace

TEST(DataStartup, DemoDataLoadsInOrder) {
  Started s;
  Start(s, [](const QString&) {});
  auto& env = *s.env;
  ASSERT_TRUE(s.ok) << qPrintable(env.dialogs.titles().join(", "));
  EXPECT_GE(env.state.commands.size(), 150u);
  EXPECT_GE(env.state.categories.size(), 8);
  EXPECT_TRUE(env.state.categories.contains("Radios"));
  EXPECT_GE(env.state.ilsList.size(), 30u);
  EXPECT_GE(env.state.navaidList.size(), 40u);
  EXPECT_GE(env.state.checklistNames.size(), 3);
  EXPECT_FALSE(env.state.assignments.empty());
  const QStringList expected = {"Loading Checklist Assignments, standby...", "Loading Checklist Files, standby...",
                                "Loading Command List, standby...", "Loading ILS Information, standby...",
                                "Loading Navaid Information, standby..."};
  QStringList seen;
  for (const QString& l : env.status.lines)
    if (expected.contains(l)) seen << l;
  EXPECT_EQ(seen, expected);
}

struct Damage {
  const char* name;
  const char* file;     // in the installation, relative
  const char* fixture;  // replacement from tests/fixtures/data, or nullptr to delete the file
  const char* title;
  const char* message;
  int icon;
};

class DataStartupFailure : public testing::TestWithParam<Damage> {};

TEST_P(DataStartupFailure, ShowsItsMessageAndEndsCleanly) {
  const Damage& d = GetParam();
  Started s;
  Start(s, [&d](const QString& dir) {
    const QString path = dir + "/" + d.file;
    QFile::remove(path);
    if (d.fixture) WriteBytes(path, ReadBytes(FixturesDir() + "/data/" + d.fixture));
  });
  auto& env = *s.env;
  EXPECT_FALSE(s.ok);
  EXPECT_TRUE(env.shutdown.HasShutDown());
  ASSERT_EQ(env.dialogs.messages.size(), 1u);
  EXPECT_EQ(env.dialogs.last().title, d.title);
  EXPECT_EQ(WithoutFileLine(env.dialogs.last().message, d.file), QString(d.message));
  if (!d.fixture) {
    EXPECT_TRUE(env.dialogs.last().message.contains(QFileInfo(d.file).fileName() + ": "));
  }
  EXPECT_EQ(env.dialogs.last().icon, d.icon);
  EXPECT_TRUE(env.dialogs.last().showOk);
  EXPECT_FALSE(env.dialogs.last().showCancel);
  EXPECT_FALSE(env.status.hidden);  // nothing after the failing step ran
}

const char* const kCommandError =
    "There was an error in loading the CommandList.dat file.\r\rPlease contact Veltrane Support\r\rPlease press "
    "OK to continue...";
const char* const kAssignError =
    "There was an error in your Checklist_Assignments.dat file.\r\rQuorvane will not be able to load.\r\rPress OK "
    "to Exit.";
const char* const kIlsError =
    "There was an error in your ILS_Info.txt file.\r\rQuorvane will not be able to load.\r\rPress OK to Exit.";
const char* const kNavError =
    "There was an error in your Nav_Info.txt file.\r\rQuorvane will not be able to load.\r\rPress OK to Exit.";

INSTANTIATE_TEST_SUITE_P(
    Files, DataStartupFailure,
    testing::Values(
        Damage{"CommandListMissing", "Data/CommandList.dat", nullptr, "Quorvane Error", kCommandError, 2},
        Damage{"CommandListTruncated", "Data/CommandList.dat", "TruncatedCommandList.dat", "Quorvane Error",
               kCommandError, 2},
        Damage{"CommandListHugeCount", "Data/CommandList.dat", "BrokenCommandListHugeCount.dat", "Quorvane Error",
               kCommandError, 2},
        Damage{"AssignmentsMissing", "Data/Checklist_Assignments.dat", nullptr, "Quorvane Fatal Error", kAssignError,
               2},
        Damage{"AssignmentsLong", "Data/Checklist_Assignments.dat", "LongChecklist_Assignments.dat",
               "Quorvane Fatal Error", kAssignError, 2},
        Damage{"IlsMissing", "Data/ILS_Info.txt", nullptr, "Quorvane Fatal Error", kIlsError, 2},
        Damage{"IlsBadNumber", "Data/ILS_Info.txt", "BrokenILS_Info.txt", "Quorvane Fatal Error", kIlsError, 2},
        Damage{"NavMissing", "Data/Nav_Info.txt", nullptr, "Quorvane Fatal Error", kNavError, 2},
        Damage{"NavBlankLine", "Data/Nav_Info.txt", "BrokenNav_Info.txt", "Quorvane Fatal Error", kNavError, 2}),
    [](const testing::TestParamInfo<Damage>& i) { return std::string(i.param.name); });

TEST(DataFiles, SavesKeepOneBackupAndChecklistsNone) {
  TestInstallation inst;
  TestEnv env(inst.installDir);
  InstallDemoData(inst.installDir);
  ASSERT_EQ(LoadCommandList(env.ctx), 0);
  const QByteArray first = ReadBytes(CommandListFilePath(inst.installDir));
  env.state.commands.resize(1);
  ASSERT_EQ(SaveCommandList(env.state, env.dialogs), 0);
  EXPECT_EQ(ReadBytes(inst.installDir + "/Data/CommandList.bak"), first);
  EXPECT_EQ(ReadBytes(CommandListFilePath(inst.installDir)).size(),
            2 + 550 + 256 * (env.state.commands[0].grammars.size() + env.state.commands[0].readbacks.size()));

  ASSERT_EQ(ListChecklistNames(env.ctx), 0);
  ASSERT_FALSE(env.state.checklistNames.isEmpty());
  const QString name = env.state.checklistNames[0];
  ASSERT_EQ(LoadChecklistFile(env.state, name + ".dat"), 0);
  EXPECT_EQ(env.state.openChecklist.name, name);
  const QByteArray before = ReadBytes(inst.installDir + "/Checklists/" + name + ".dat");
  ASSERT_EQ(SaveChecklistFile(env.state), 0);
  EXPECT_EQ(ReadBytes(inst.installDir + "/Checklists/" + name + ".dat"), before);
  EXPECT_EQ(QDir(inst.installDir + "/Checklists").entryList(QDir::Files).size(), env.state.checklistNames.size());

  // A damaged checklist leaves the open one as it was.
  WriteBytes(inst.installDir + "/Checklists/Bad.dat", ReadBytes(FixturesDir() + "/data/TruncatedChecklist.dat"));
  EXPECT_EQ(LoadChecklistFile(env.state, "Bad.dat"), 1);
  EXPECT_EQ(env.state.openChecklist.name, name);
}

TEST(DataFiles, ChecklistNamesDropEveryDatInAnyCase) {
  TestInstallation inst;
  TestEnv env(inst.installDir);
  for (const char* f : {"My.Data.dat", "Cessna.DAT", "notes.txt"}) WriteBytes(inst.installDir + "/Checklists/" + f, "");
  ListChecklistNames(env.ctx);
  EXPECT_EQ(env.state.checklistNames, (QStringList{"Cessna", "Mya"}));
}
