// The package as a pilot meets it: installed into a prefix, set up in a copy
// of the demo's simulator (without its Quorvane folder), the program started
// there, kneeboard pages written, and everything taken out again. The
// simulator's tree must then be what it was, byte for byte and folder for
// folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>

#include "FaultSupport.h"
#include "FixtureTree.h"
#include "TestEnv.h"
#include "XSession.h"
#include "data/IniFile.h"
#include "platform/Platform.h"

namespace qv::test {
namespace {

// Every file with its bytes, and every folder (as "path/").
Snapshot TreeOf(const QString& root) {
  Snapshot s = TakeSnapshot(root);
  QDirIterator it(root, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
  while (it.hasNext()) s.insert(QDir(root).relativeFilePath(it.next()) + "/", {});
  return s;
}

// Runs a program to its end; its exit code (-1 when it crashed) and output.
std::pair<int, QString> Exec(const QString& program, const QStringList& args, const QProcessEnvironment& env) {
  QProcess p;
  p.setProcessEnvironment(env);
  p.start(program, args);
  if (!p.waitForFinished(120000)) p.kill();
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
          QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError())};
}

TEST(PackageSetupSlowTest, SetUpStartWriteKneeboardsAndUninstallLeaveTheSimulatorAsItWas) {
  QTemporaryDir root;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("DESTDIR", root.path() + "/pkg");
  const auto [installed, installLog] =
      Exec(QStringLiteral(QV_CMAKE_COMMAND), {"--install", QStringLiteral(QV_BUILD_DIR), "--prefix", "/usr"}, env);
  ASSERT_EQ(installed, 0) << installLog.toStdString();
  const QString cli = root.path() + "/pkg/usr/bin/quorvane-cli";

  // The demo's simulator with its configuration, without Quorvane.
  const QString world = root.path() + "/world", sim = world + "/FSX", install = sim + "/Veltrane Software/Quorvane";
  CopyTree(QStringLiteral(QV_BUILD_DIR "/demo"), world);
  ASSERT_TRUE(QDir(sim + "/Veltrane Software").removeRecursively());
  const Snapshot before = TreeOf(world), aircraft = TakeSnapshot(sim + "/SimObjects");
  // Outside a Wine prefix the configuration is looked for in the user's
  // configuration folder.
  env.insert("XDG_CONFIG_HOME", world + "/AppData");
  env.insert("XDG_CONFIG_DIRS", root.path() + "/none");

  ASSERT_EQ(Exec(cli, {"install", sim}, env).first, 0);
  EXPECT_EQ(data::CleanIniValue(data::IniFile::Load(install + "/QV_Information.cfg").value("Main", "PathFSXConfig")),
            world + "/AppData/Microsoft/FSX/fsx.cfg");
  EXPECT_FALSE(QFileInfo::exists(install + "/Speech")) << "the model comes from the system package";

  // The pilot edits the command list and assigns the demo's checklists; a
  // second setup keeps both and says so.
  QString json = Exec(cli, {"export", "commands", install + "/Data/CommandList.dat"}, env).second;
  ASSERT_TRUE(json.contains("Toggle Landing Lights"));
  WriteBytes(root.path() + "/commands.json", json.replace("Toggle Landing Lights", "Lights Please").toUtf8());
  ASSERT_EQ(
      Exec(cli, {"import", "commands", root.path() + "/commands.json", install + "/Data/CommandList.dat"}, env).first,
      0);
  WriteBytes(install + "/Data/Checklist_Assignments.dat",
             ReadBytes(QV_BUILD_DIR "/demo/FSX/Veltrane Software/Quorvane/Data/Checklist_Assignments.dat"));
  const Snapshot edited = TakeSnapshot(install);
  const auto [again, said] = Exec(cli, {"install", sim}, env);
  EXPECT_EQ(again, 0);
  EXPECT_TRUE(said.contains("Kept your data files: Data/CommandList.dat")) << said.toStdString();
  EXPECT_EQ(TakeSnapshot(install), edited);

  {
    // The program copied into the simulator starts there on its home screen.
    XSession x;
    ASSERT_TRUE(x.usable());
    platform::Platform probe = platform::CreatePlatform(QString());
    QProcess gui;
    QProcessEnvironment guiEnv = env;
    guiEnv.insert("DISPLAY", x.display());
    guiEnv.remove("QT_QPA_PLATFORM");
    // The X keyboard library hands the string interceptors unterminated
    // buffers (see the stand-ins); in a sanitizer build the strict check of
    // them would end the program before its first window.
    guiEnv.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":strict_string_checks=0");
    gui.setProcessEnvironment(guiEnv);
    gui.setWorkingDirectory(install);
    gui.start(install + "/quorvane", {});
    const bool shown = WaitUntil([&] { return probe.windowProbe->HasWindowTitled("Quorvane"); }, 90000);
    const bool running = gui.state() == QProcess::Running;
    KillProcess(gui.processId());
    gui.waitForFinished();
    EXPECT_TRUE(shown && running) << gui.readAllStandardError().toStdString();
  }

  ASSERT_EQ(Exec(install + "/quorvane-cli", {"kneeboards", "update", install}, env).first, 0);
  EXPECT_NE(TakeSnapshot(sim + "/SimObjects"), aircraft) << "no kneeboard page was written";
  const auto [removed, removeLog] = Exec(cli, {"uninstall", sim}, env);
  ASSERT_EQ(removed, 0) << removeLog.toStdString();
  EXPECT_EQ(TreeOf(world), before);
}

}  // namespace
}  // namespace qv::test
