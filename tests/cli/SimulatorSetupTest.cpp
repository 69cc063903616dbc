// Setting an installation up in a simulator folder from the package's files:
// which folders are taken, where the simulator's configuration is found, and
// that a second run, with or without --upgrade, loses nothing of the pilot's.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "FaultSupport.h"
#include "TestEnv.h"
#include "app/SimulatorSetup.h"
#include "data/IniFile.h"
#include "platform/Platform.h"

namespace qv::test {
namespace {

class SimulatorSetup : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root.isValid());
    package = {root.path() + "/pkg/bin", root.path() + "/pkg/share"};
    WritePackage("1");
    WriteBytes(package.defaultsDir + "/QV_Information.cfg",
               ReadBytes(DemoSourceDir() + "/Installation/QV_Information.cfg"));
    WriteBytes(package.defaultsDir + "/Data/CommandList.dat", "commands");
    WriteBytes(package.defaultsDir + "/Data/Nav_Info.txt", "navaids");
    WriteBytes(package.defaultsDir + "/Checklists/Jet.dat", "checklist");
  }
  // What an upgrade brings: programs, skin and help of release `n`.
  void WritePackage(const QByteArray& n) {
    WriteBytes(package.programsDir + "/quorvane", "program " + n);
    WriteBytes(package.programsDir + "/quorvane-cli", "cli " + n);
    WriteBytes(package.defaultsDir + "/Media/Forms/Main_BG.bmp", "skin " + n);
    WriteBytes(package.defaultsDir + "/Help/Welcome.htm", "help " + n);
  }
  QString Simulator(const QString& relative, const QString& exe = "fsx.exe") {
    const QString dir = root.path() + "/" + relative;
    WriteBytes(dir + "/" + exe, "MZ");
    return dir;
  }
  static QString ConfigIn(const QString& installDir) {
    return data::CleanIniValue(data::IniFile::Load(installDir + "/QV_Information.cfg").value("Main", "PathFSXConfig"));
  }

  QTemporaryDir root;
  app::SetupSources package;
};

TEST_F(SimulatorSetup, OnlyAFolderHoldingTheSimulatorIsTaken) {
  WriteBytes(root.path() + "/afile", "x");
  QDir().mkpath(root.path() + "/empty");
  QDir().mkpath(root.path() + "/exedir/fsx.exe");
  WriteBytes(root.path() + "/other/fsx.exe.bak", "MZ");
  for (const char* bad : {"missing", "afile", "empty", "exedir", "other"}) {
    const app::SetupReport r = app::SetUpSimulator(root.path() + "/" + bad, package, false);
    EXPECT_FALSE(r.ok) << bad;
    EXPECT_TRUE(r.error.contains("fsx.exe") || r.error.contains("not a folder")) << r.error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(root.path() + "/" + bad + "/Veltrane Software")) << bad;
  }
  const app::SetupReport r = app::SetUpSimulator(Simulator("Upper", "FSX.EXE"), package, false);
  ASSERT_TRUE(r.ok) << r.error.toStdString();
  EXPECT_EQ(ReadBytes(r.installDir + "/quorvane"), "program 1");
  EXPECT_TRUE(QFileInfo(r.installDir + "/quorvane-cli").isExecutable());
  for (const char* file : {"Data/CommandList.dat", "Data/Checklist_Assignments.dat", "Checklists/Jet.dat",
                           "Media/Forms/Main_BG.bmp", "Help/Welcome.htm"})
    EXPECT_TRUE(QFileInfo::exists(r.installDir + "/" + file)) << file;
  EXPECT_TRUE(QFileInfo(r.installDir + "/Grammars/Test").isDir());
}

TEST_F(SimulatorSetup, FindsTheConfigurationInsideTheWinePrefixWhateverItsCase) {
  const QString sim = Simulator("prefix/drive_c/Program Files/Microsoft Games/FSX");
  const QString cfg = root.path() + "/prefix/drive_c/users/pilot/AppData/Roaming/MICROSOFT/Fsx/FSX.CFG";
  WriteBytes(cfg, "[Main]\r\n");
  const app::SetupReport r = app::SetUpSimulator(sim, package, false);
  ASSERT_TRUE(r.ok) << r.error.toStdString();
  EXPECT_EQ(ConfigIn(r.installDir), cfg);
  EXPECT_EQ(r.simulatorConfig, cfg);
}

TEST_F(SimulatorSetup, RunningAgainKeepsThePilotsDataAndUpgradeReplacesOnlyProgramsSkinAndHelp) {
  const QString sim = Simulator("FSX");
  const app::SetupReport first = app::SetUpSimulator(sim, package, false);
  ASSERT_TRUE(first.ok) << first.error.toStdString();
  const QString inst = first.installDir;
  // The pilot's own: an edited command list, a checklist of theirs instead of
  // the sample, assignments, a setting; and a newer package.
  WriteBytes(inst + "/Data/CommandList.dat", "my commands");
  QFile::remove(inst + "/Checklists/Jet.dat");
  WriteBytes(inst + "/Checklists/Mine.dat", "my checklist");
  WriteBytes(inst + "/Data/Checklist_Assignments.dat", "my assignments");
  ASSERT_TRUE(data::WriteIniString("Main", "microphone", "ctrl+m", inst + "/QV_Information.cfg"));
  const Snapshot pilots = TakeSnapshot(inst);
  WritePackage("2");

  const app::SetupReport again = app::SetUpSimulator(sim, package, false);
  ASSERT_TRUE(again.ok) << again.error.toStdString();
  EXPECT_EQ(TakeSnapshot(inst), pilots);
  const QString said = app::DescribeSetup(again);
  for (const char* kept :
       {"CommandList.dat", "your checklists", "your checklist assignments", "your settings", "--upgrade replaces them"})
    EXPECT_TRUE(said.contains(kept)) << kept << "\n" << said.toStdString();

  const app::SetupReport upgraded = app::SetUpSimulator(sim, package, true);
  ASSERT_TRUE(upgraded.ok) << upgraded.error.toStdString();
  Snapshot expected = pilots;
  for (const char* file : {"quorvane", "quorvane-cli", "Media/Forms/Main_BG.bmp", "Help/Welcome.htm"})
    expected[file] =
        ReadBytes((QString(file).startsWith("quorvane") ? package.programsDir : package.defaultsDir) + "/" + file);
  EXPECT_EQ(TakeSnapshot(inst), expected);
}

TEST_F(SimulatorSetup, WaitsForTheProgramWorkingOnTheInstallation) {
  const QString sim = Simulator("FSX");
  const QString inst = app::InstallationFolderIn(sim);
  QDir().mkpath(inst);
  platform::Platform running = platform::CreatePlatform(inst);
  ASSERT_FALSE(running.singleInstance->AnotherInstanceRunning());
  const app::SetupReport r = app::SetUpSimulator(sim, package, false);
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.error.contains("close it and try again")) << r.error.toStdString();
  EXPECT_TRUE(QDir(inst).isEmpty());
}

}  // namespace
}  // namespace qv::test
