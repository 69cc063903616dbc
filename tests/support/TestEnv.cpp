#include "TestEnv.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

#include "data/IniFile.h"
#include "speech/AudioSource.h"
#include "speech/Espeak.h"

namespace qv::test {

QString FixturesDir() { return QStringLiteral(QV_FIXTURES_DIR); }
QString DemoSourceDir() { return QStringLiteral(QV_DEMO_SOURCE_DIR); }

bool WriteSpokenWav(const QString& text, const QString& voice, int wordsPerMinute, const QString& path) {
  std::vector<int16_t> samples;
  int rate = 0;
  if (!speech::EspeakSynthesize(text, voice, wordsPerMinute, 100, samples, rate)) return false;
  std::vector<int16_t> padded(static_cast<size_t>(rate / 2), 0);
  padded.insert(padded.end(), samples.begin(), samples.end());
  padded.insert(padded.end(), static_cast<size_t>(rate / 2), 0);
  return speech::WriteWav(path, padded, rate);
}

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

TestInstallation::TestInstallation(const QString& parent)
    : root((parent.isEmpty() ? QDir::tempPath() : parent) + "/" + QCoreApplication::applicationName() + "-XXXXXX") {
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
  static_cast<void>(data::WriteIniString("Main", "PathFSXConfig", fsxCfg, settingsPath()));
}

app::Backends FakeBackends(QStringList& log, FakeHandles& h) {
  app::Backends b;
  auto keep = [](auto*& handle, auto owned) {
    handle = owned.get();
    return owned;
  };
  b.platform.appData = keep(h.appData, std::make_unique<FakeAppDataFolders>());
  b.platform.fileDialogs = keep(h.fileDialogs, std::make_unique<FakeFileDialogs>());
  b.platform.osVersion = keep(h.osVersion, std::make_unique<FakeOsVersion>());
  b.platform.singleInstance = keep(h.singleInstance, std::make_unique<FakeSingleInstance>());
  b.platform.windowProbe = keep(h.windowProbe, std::make_unique<FakeWindowProbe>(log));
  b.platform.processLauncher = keep(h.processLauncher, std::make_unique<FakeProcessLauncher>(log, *h.windowProbe));
  b.joystick = keep(h.joystick, std::make_unique<FakeJoystick>());
  b.compiler = keep(h.compiler, std::make_unique<RecordingCompiler>(log));
  b.recognizer = keep(h.recognizer, std::make_unique<RecordingRecognizer>(log));
  b.output = keep(h.output, std::make_unique<RecordingSpeechOutput>(log));
  b.exit = keep(h.exit, std::make_unique<RecordingExit>());
  return b;
}

TestEnv::TestEnv(const QString& installDir) : services(state, FakeBackends(log, fakes), dialogs, status) {
  state.installDir = installDir;
  QObject::connect(&shutdown, &shell::ShutdownSequence::removingTrayIcon, [this] { log << "shutdown:tray"; });
  QObject::connect(&shutdown, &shell::ShutdownSequence::releasingScreens, [this] { log << "shutdown:screens"; });
}

}  // namespace qv::test
