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

struct Outcome {
  int code = -1;
  QString out, err;
};

Outcome Start(const QString& program, const QStringList& args, const QProcessEnvironment& env) {
  QProcess p;
  p.setProcessEnvironment(env);
  p.start(program, args);
  if (!p.waitForFinished(120000)) p.kill();
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
          QString::fromUtf8(p.readAllStandardError())};
}

TEST(PackageSetupSlowTest, SetUpStartWriteKneeboardsAndUninstallLeaveTheSimulatorAsItWas) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();

  // The package's contents, as `cmake --install` puts them below DESTDIR.
  QProcessEnvironment installEnv = env;
  installEnv.insert("DESTDIR", root.path() + "/pkg");
  const Outcome installed = Start(QStringLiteral(QV_CMAKE_COMMAND),
                                  {"--install", QStringLiteral(QV_BUILD_DIR), "--prefix", "/usr"}, installEnv);
  ASSERT_EQ(installed.code, 0) << installed.err.toStdString();
  const QString bin = root.path() + "/pkg/usr/bin";
  ASSERT_TRUE(QFileInfo::exists(root.path() + "/pkg/usr/share/quorvane/Media/Icons/icon_Quorvane.bmp"));

  // The demo's simulator with its configuration, without Quorvane.
  const QString world = root.path() + "/world";
  CopyTree(QStringLiteral(QV_BUILD_DIR "/demo"), world);
  ASSERT_TRUE(QDir(world + "/FSX/Veltrane Software").removeRecursively());
  const QString sim = world + "/FSX", install = sim + "/Veltrane Software/Quorvane";
  const Snapshot before = TreeOf(world);
  // Outside a Wine prefix the simulator's configuration is looked for in the
  // user's configuration folder.
  env.insert("XDG_CONFIG_HOME", world + "/AppData");
  env.insert("XDG_CONFIG_DIRS", root.path() + "/none");

  const Outcome setUp = Start(bin + "/quorvane-cli", {"install", sim}, env);
  ASSERT_EQ(setUp.code, 0) << setUp.err.toStdString();
  EXPECT_EQ(data::CleanIniValue(data::IniFile::Load(install + "/QV_Information.cfg").value("Main", "PathFSXConfig")),
            world + "/AppData/Microsoft/FSX/fsx.cfg");
  EXPECT_FALSE(QFileInfo::exists(install + "/Speech")) << "the model comes from the system package";

  // The pilot edits the command list and assigns the demo's checklists; a
  // second setup keeps both and says so.
  const Outcome exported = Start(bin + "/quorvane-cli", {"export", "commands", install + "/Data/CommandList.dat"}, env);
  ASSERT_EQ(exported.code, 0) << exported.err.toStdString();
  QByteArray json = exported.out.toUtf8();
  ASSERT_TRUE(json.contains("Toggle Landing Lights"));
  json.replace("Toggle Landing Lights", "Toggle The Landing Lights");
  WriteBytes(root.path() + "/commands.json", json);
  for (const auto& [kind, from, to] :
       {std::tuple{"commands", root.path() + "/commands.json", install + "/Data/CommandList.dat"},
        std::tuple{"assignments", DemoSourceDir() + "/Data/Checklist_Assignments.json",
                   install + "/Data/Checklist_Assignments.dat"}}) {
    const Outcome imported = Start(bin + "/quorvane-cli", {"import", kind, from, to}, env);
    ASSERT_EQ(imported.code, 0) << imported.err.toStdString();
  }
  const Snapshot edited = TakeSnapshot(install);
  const Outcome again = Start(bin + "/quorvane-cli", {"install", sim}, env);
  ASSERT_EQ(again.code, 0) << again.err.toStdString();
  EXPECT_TRUE(again.out.contains("Kept your data files")) << again.out.toStdString();
  EXPECT_TRUE(again.out.contains("Kept your checklist assignments")) << again.out.toStdString();
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
    gui.setProcessEnvironment(guiEnv);
    gui.setWorkingDirectory(install);
    gui.start(install + "/quorvane", {});
    ASSERT_TRUE(gui.waitForStarted());
    const bool shown = WaitUntil([&] { return probe.windowProbe->HasWindowTitled("Quorvane"); }, 90000);
    const bool running = gui.state() == QProcess::Running;
    KillProcess(gui.processId());
    gui.waitForFinished();
    EXPECT_TRUE(shown && running) << gui.readAllStandardError().toStdString();
  }

  const Outcome written = Start(install + "/quorvane-cli", {"kneeboards", "update", install}, env);
  ASSERT_EQ(written.code, 0) << written.err.toStdString();
  int changed = 0;
  const Snapshot during = TreeOf(world);
  for (auto it = before.cbegin(); it != before.cend(); ++it) changed += during.value(it.key()) != it.value();
  EXPECT_GT(changed, 0) << "no kneeboard page was written";

  const Outcome removed = Start(bin + "/quorvane-cli", {"uninstall", sim}, env);
  ASSERT_EQ(removed.code, 0) << removed.err.toStdString();
  EXPECT_EQ(TreeOf(world), before);
}

}  // namespace
}  // namespace qv::test
