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

namespace qv::test {
namespace {

class SimulatorSetup : public testing::Test {
 protected:
  void SetUp() override {
    WritePackage("1");
    WriteBytes(pkg.defaultsDir + "/QV_Information.cfg",
               ReadBytes(DemoSourceDir() + "/Installation/QV_Information.cfg"));
    WriteBytes(pkg.defaultsDir + "/Data/CommandList.dat", "commands");
    WriteBytes(pkg.defaultsDir + "/Checklists/Jet.dat", "checklist");
  }
  // What an upgrade brings: programs, skin and help of release `n`.
  void WritePackage(const QByteArray& n) {
    for (const char* f : {"bin/quorvane", "bin/quorvane-cli", "share/Media/Main_BG.bmp", "share/Help/Welcome.htm"})
      WriteBytes(root.path() + "/pkg/" + f, f + n);
  }
  QString Simulator(const QString& relative, const QString& exe = "fsx.exe") {
    WriteBytes(root.path() + "/" + relative + "/" + exe, "MZ");
    return root.path() + "/" + relative;
  }

  QTemporaryDir root;
  app::SetupSources pkg{root.path() + "/pkg/bin", root.path() + "/pkg/share"};
};

TEST_F(SimulatorSetup, OnlyAFolderHoldingTheSimulatorIsTaken) {
  WriteBytes(root.path() + "/afile", "x");
  QDir().mkpath(root.path() + "/exedir/fsx.exe");
  WriteBytes(root.path() + "/other/fsx.exe.bak", "MZ");
  for (const char* bad : {"missing", "afile", "exedir", "other"}) {
    const app::SetupReport r = app::SetUpSimulator(root.path() + "/" + bad, pkg, false);
    EXPECT_FALSE(r.ok || QFileInfo::exists(root.path() + "/" + bad + "/Veltrane Software")) << bad;
    EXPECT_TRUE(r.error.contains("fsx.exe") || r.error.contains("not a folder")) << r.error.toStdString();
  }
  const app::SetupReport r = app::SetUpSimulator(Simulator("Upper", "FSX.EXE"), pkg, false);
  ASSERT_TRUE(r.ok) << r.error.toStdString();
  EXPECT_TRUE(QFileInfo(r.installDir + "/quorvane-cli").isExecutable());
  for (const char* file :
       {"Data/Checklist_Assignments.dat", "Checklists/Jet.dat", "Media/Main_BG.bmp", "Grammars/Test"})
    EXPECT_TRUE(QFileInfo::exists(r.installDir + "/" + file)) << file;
}

TEST_F(SimulatorSetup, FindsTheConfigurationInsideTheWinePrefixWhateverItsCase) {
  const QString cfg = root.path() + "/prefix/drive_c/users/pilot/AppData/Roaming/MICROSOFT/Fsx/FSX.CFG";
  WriteBytes(cfg, "[Main]\r\n");
  const app::SetupReport r = app::SetUpSimulator(Simulator("prefix/drive_c/Program Files/FSX"), pkg, false);
  ASSERT_TRUE(r.ok) << r.error.toStdString();
  EXPECT_EQ(
      data::CleanIniValue(data::IniFile::Load(r.installDir + "/QV_Information.cfg").value("Main", "PathFSXConfig")),
      cfg);
}

TEST_F(SimulatorSetup, RunningAgainKeepsThePilotsDataAndUpgradeReplacesOnlyProgramsSkinAndHelp) {
  const QString sim = Simulator("FSX"), inst = app::InstallationFolderIn(sim);
  ASSERT_TRUE(app::SetUpSimulator(sim, pkg, false).ok);
  // The pilot's own: an edited command list, a checklist of theirs instead of
  // the sample, assignments, a setting; then a newer package.
  WriteBytes(inst + "/Data/CommandList.dat", "my commands");
  QFile::remove(inst + "/Checklists/Jet.dat");
  WriteBytes(inst + "/Checklists/Mine.dat", "my checklist");
  WriteBytes(inst + "/Data/Checklist_Assignments.dat", "my assignments");
  ASSERT_TRUE(data::WriteIniString("Main", "microphone", "ctrl+m", inst + "/QV_Information.cfg"));
  const Snapshot pilots = TakeSnapshot(inst);
  WritePackage("2");

  const app::SetupReport again = app::SetUpSimulator(sim, pkg, false);
  EXPECT_EQ(TakeSnapshot(inst), pilots);
  const QString said = app::DescribeSetup(again);
  for (const char* kept : {"CommandList.dat", "checklists", "assignments", "settings", "--upgrade replaces them"})
    EXPECT_TRUE(said.contains(kept)) << kept << "\n" << said.toStdString();

  ASSERT_TRUE(app::SetUpSimulator(sim, pkg, true).ok);
  Snapshot expected = pilots;
  for (const char* f : {"bin/quorvane", "bin/quorvane-cli", "share/Media/Main_BG.bmp", "share/Help/Welcome.htm"})
    expected[QString(f).section(u'/', 1)] = QByteArray(f) + "2";
  EXPECT_EQ(TakeSnapshot(inst), expected);
}

}  // namespace
}  // namespace qv::test
