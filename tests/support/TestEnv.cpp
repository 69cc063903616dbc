#include "TestEnv.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include "data/IniFile.h"

namespace qv::test {

QString FixturesDir() { return QStringLiteral(QV_FIXTURES_DIR); }
QString DemoSourceDir() { return QStringLiteral(QV_DEMO_SOURCE_DIR); }

QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

CliResult RunCli(const QStringList& args) {
  QProcess p;
  p.start(QStringLiteral(QV_CLI_PATH), args);
  if (!p.waitForFinished(60000)) p.kill();
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
          p.readAllStandardError()};
}

TestInstallation::TestInstallation() {
  simDir = root.path() + "/FSX";
  installDir = simDir + "/Veltrane Software/Quorvane";
  appDataDir = root.path() + "/AppData";
  fsxCfg = appDataDir + "/Microsoft/FSX/fsx.cfg";
  QDir().mkpath(installDir);
  for (const char* sub : {"Data", "Checklists", "Grammars/Test", "Media", "Help"})
    QDir().mkpath(installDir + "/" + sub);
  WriteBytes(simDir + "/fsx.exe", "MZ stand-in");
  WriteBytes(fsxCfg, ReadBytes(DemoSourceDir() + "/AppData/fsx.cfg"));
  WriteBytes(settingsPath(), ReadBytes(DemoSourceDir() + "/Installation/QV_Information.cfg"));
  data::WriteIniString("Main", "PathFSXConfig", fsxCfg, settingsPath());
}

TestEnv::TestEnv(const QString& installDir) {
  state.installDir = installDir;
  auto a = std::make_unique<FakeAppDataFolders>();
  auto f = std::make_unique<FakeFileDialogs>();
  auto o = std::make_unique<FakeOsVersion>();
  auto s = std::make_unique<FakeSingleInstance>();
  appData = a.get();
  fileDialogs = f.get();
  osVersion = o.get();
  singleInstance = s.get();
  platform.appData = std::move(a);
  platform.fileDialogs = std::move(f);
  platform.osVersion = std::move(o);
  platform.singleInstance = std::move(s);
  auto probe = std::make_unique<FakeWindowProbe>(log);
  auto launcher = std::make_unique<FakeProcessLauncher>(log, *probe);
  windowProbe = probe.get();
  processLauncher = launcher.get();
  platform.windowProbe = std::move(probe);
  platform.processLauncher = std::move(launcher);
  shutdown.removeTrayIcon = [this] { log << "shutdown:tray"; };
  shutdown.releaseScreens = [this] { log << "shutdown:screens"; };
}

}  // namespace qv::test
