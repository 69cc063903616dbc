// One program or writing command per installation at a time, whatever path
// names the folder: otherwise the program's next save silently undoes what a
// command changed.
#include <gtest/gtest.h>

#include <QFile>

#include "FaultSupport.h"
#include "platform/Platform.h"
#include "platform/SingleInstance.h"

using namespace qv;

TEST(InstallationLock, HeldByTheFolderWhateverItsSpelling) {
  test::SampleInstallation sample;
  const QString dir = sample.inst.installDir;
  const QString alias = sample.inst.root.path() + "/Alias";
  ASSERT_TRUE(QFile::link(dir, alias));
  auto program = platform::CreatePlatform(dir + "/../Quorvane/.");
  ASSERT_FALSE(program.singleInstance->AnotherInstanceRunning());

  // A second program through the other path stops at once.
  EXPECT_TRUE(platform::CreatePlatform(alias).singleInstance->AnotherInstanceRunning());

  // Every command that writes leaves the installation as it is, and says why.
  test::WriteBytes(sample.inst.root.path() + "/commands.json", "[]");
  const test::Snapshot before = test::TakeSnapshot(sample.inst.root.path());
  for (const QStringList& args :
       {QStringList{"grammars", alias}, QStringList{"compile", alias}, QStringList{"script", alias},
        QStringList{"test-grammar", alias, "0", "0"}, QStringList{"kneeboards", "update", alias},
        QStringList{"kneeboards", "restore", alias},
        QStringList{"import", "commands", sample.inst.root.path() + "/commands.json",
                    alias + "/Data/CommandList.dat"}}) {
    const test::CliResult r = test::RunCli(args);
    EXPECT_EQ(r.exitCode, 1) << qPrintable(args.join(' '));
    EXPECT_TRUE(r.err.contains("Quorvane is working on the installation")) << r.err.constData();
  }
  EXPECT_EQ(test::TakeSnapshot(sample.inst.root.path()), before);
  EXPECT_EQ(test::RunCli({"settings", alias}).exitCode, 0);  // reading needs no lock

  program = {};  // the program ends
  EXPECT_EQ(test::RunCli({"grammars", alias}).exitCode, 0);
}
