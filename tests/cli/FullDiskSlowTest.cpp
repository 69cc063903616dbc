// On a full disk every command that writes fails, says which file and why,
// exits with a failure, and leaves every file byte for byte as it was; so
// does a start of the program and its end.
#include <gtest/gtest.h>

#include <QFile>

#include "FaultSupport.h"
#include "core/checklists/KneeboardChecklist.h"
#include "core/shell/Startup.h"

using namespace qv;

namespace {

void ExpectRefused(const QStringList& args, const QString& root) {
  const test::CliResult r = test::RunCli(args);
  EXPECT_EQ(r.exitCode, 1) << qPrintable(args.join(' ')) << "\n" << r.err.constData();
  const QString err = QString::fromUtf8(r.err);
  EXPECT_TRUE(err.contains(root + "/") && err.contains("No space left on device")) << qPrintable(err);
}

}  // namespace

TEST(FullDisk, EveryWritingCommandAndAStartLeaveEveryFileAsItWas) {
  test::SmallDisk disk(8192);
  if (!disk.mounted()) GTEST_SKIP() << "mounting a small disk needs root";
  test::SampleInstallation sample(disk.path());
  const QString root = disk.path();
  const QString dir = sample.inst.installDir;
  // Sources for the imports, written while there is room.
  for (const char* kind : {"commands", "checklist", "assignments"}) {
    const QString file = kind == QString("checklist")  ? "/Checklists/Jet Checks.dat"
                         : kind == QString("commands") ? "/Data/CommandList.dat"
                                                       : "/Data/Checklist_Assignments.dat";
    const test::CliResult exported = test::RunCli({"export", kind, dir + file});
    ASSERT_EQ(exported.exitCode, 0);
    test::WriteBytes(root + "/" + kind + ".json", exported.out);
  }
  disk.Fill();
  const test::Snapshot before = test::TakeSnapshot(root);

  for (const QStringList& args :
       {QStringList{"grammars", dir}, QStringList{"compile", dir}, QStringList{"script", dir},
        QStringList{"test-grammar", dir, "0", "0"}, QStringList{"kneeboards", "update", dir},
        QStringList{"import", "commands", root + "/commands.json", dir + "/Data/CommandList.dat"},
        QStringList{"import", "checklist", root + "/checklist.json", dir + "/Checklists/Jet Checks.dat"},
        QStringList{"import", "assignments", root + "/assignments.json", dir + "/Data/Checklist_Assignments.dat"}})
    ExpectRefused(args, root);
  EXPECT_EQ(test::TakeSnapshot(root), before);

  // A start and its end: the simulator's path is found again but not
  // rewritten, the copilot voice is as it was; the first-use update fails whole.
  {
    test::TestEnv env(dir);
    env.appData->common = sample.inst.appDataDir;
    auto steps = shell::DefaultStartupSteps(env.ctx);
    steps.launchDecision = [] {};
    steps.loadAssignScreen = [] {};
    ASSERT_TRUE(shell::RunStartup(env.ctx, env.speech, "", steps)) << qPrintable(env.dialogs.titles().join(", "));
    EXPECT_EQ(env.dialogs.titles(), QStringList{"Update FSX Checklists"});
    checklists::RunChecklistBackup(env.ctx);  // its OK
    EXPECT_FALSE(env.dialogs.titles().contains("Checklists Updated"));
    env.shutdown.Shutdown();
  }
  EXPECT_EQ(test::TakeSnapshot(root), before);

  // With pages written while there was room, the restore fails whole too.
  QFile::remove(root + "/filler");
  ASSERT_EQ(test::RunCli({"kneeboards", "update", dir}).exitCode, 0);
  disk.Fill();
  const test::Snapshot written = test::TakeSnapshot(root);
  ExpectRefused({"kneeboards", "restore", dir}, root);
  EXPECT_EQ(test::TakeSnapshot(root), written);
}
