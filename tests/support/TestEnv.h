#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <ostream>

#include "Fakes.h"
#include "LaunchFakes.h"
#include "RecordingDialogs.h"
#include "app/Services.h"
#include "core/grammar/SpeechEngines.h"
#include "core/shell/AppState.h"

// Readable failure output for Qt strings.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os) {
  *os << '{';
  for (const QString& s : l) *os << '"' << s.toStdString() << "\", ";
  *os << '}';
}

namespace qv::test {

// A ctest name for a parameterised case: the letters and digits of `text`,
// anything else as '_', "Empty" for nothing.
inline std::string CaseName(const QString& text) {
  std::string out;
  for (QChar c : text) out += c.unicode() < 128 && c.isLetterOrNumber() ? char(c.unicode()) : '_';
  return out.empty() ? "Empty" : out;
}

QString FixturesDir();
QString DemoSourceDir();
QByteArray ReadBytes(const QString& path);

// Runs quorvane-cli with the arguments and waits for it (one minute at most).
struct CliResult {
  int exitCode = -1;
  QByteArray out, err;
};
CliResult RunCli(const QStringList& args);
void WriteBytes(const QString& path, const QByteArray& bytes);
// Speaks `text` with eSpeak NG's `voice` into a WAV file, with half a second
// of room before and after as a speaker leaves it. False when it failed.
bool WriteSpokenWav(const QString& text, const QString& voice, int wordsPerMinute, const QString& path);

// Speech engines that log every call into one list ("compile:start", ...).
class RecordingCompiler final : public grammar::GrammarCompilerEngine {
 public:
  explicit RecordingCompiler(QStringList& log) : m_log(log) {}
  int16_t compileStatus = 0;
  std::vector<grammar::CompileDiagnostic> diagnostics;  // what the compile reports
  int16_t Start() override { return m_log << "compile:start", 0; }
  int16_t Compile(int, int) override { return m_log << "compile:compile", compileStatus; }
  int16_t Stop() override { return m_log << "compile:stop", 0; }
  std::vector<grammar::CompileDiagnostic> Diagnostics() const override { return diagnostics; }
  std::vector<grammar::ReviewedWord> reviewed;  // what the pronunciation screen lists
  std::vector<grammar::ReviewedWord> WordsToReview(const QStringList&) override { return reviewed; }
  QString SpeakablePhonemes(const QString& phones) const override { return "[[" + phones + "]]"; }

 private:
  QStringList& m_log;
};

class RecordingRecognizer final : public grammar::RecognizerEngine {
 public:
  explicit RecordingRecognizer(QStringList& log) : m_log(log) {}
  int16_t loadStatus = 0, listenStatus = -2;
  QByteArray heard;
  int16_t LoadTestGrammar() override { return m_log << "rec:load", loadStatus; }
  int16_t Listen(QByteArray& buffer) override {
    m_log << "rec:listen";
    if (!heard.isEmpty()) buffer.replace(0, heard.size(), heard);
    return listenStatus;
  }
  int16_t StopListening() override { return m_log << "rec:stop", 0; }

 private:
  QStringList& m_log;
};

class RecordingSpeechOutput final : public grammar::SpeechOutputEngine {
 public:
  explicit RecordingSpeechOutput(QStringList& log) : m_log(log) {}
  QList<int> presentVoices{1, 2, 3, 4};
  int32_t Start() override { return m_log << "tts:start", 0; }
  int32_t VoicePresent(int voice) override { return presentVoices.contains(voice) ? 0 : 1; }
  int32_t Speak(int voice, int, int, const QByteArray& text) override {
    m_log << QString("tts:speak:%1:%2").arg(voice).arg(QString::fromLatin1(text));
    return 0;
  }

 private:
  QStringList& m_log;
};

// A temporary installation laid out like a real one: the simulator folder
// with fsx.exe, the installation folder two levels below it with a copy of
// the demo settings, and the simulator's configuration under AppData.
struct TestInstallation {
  // Below `parent` when given (a small disk), else in the temporary folder.
  explicit TestInstallation(const QString& parent = QString());
  QTemporaryDir root;
  QString simDir;      // .../FSX
  QString installDir;  // .../FSX/Veltrane Software/Quorvane
  QString appDataDir;  // .../AppData (holds Microsoft/FSX/fsx.cfg)
  QString fsxCfg;
  QString settingsPath() const { return installDir + "/QV_Information.cfg"; }
};

// The fakes and recorders a test hands in as backends, and its handles to them.
struct FakeHandles {
  FakeAppDataFolders* appData;
  FakeFileDialogs* fileDialogs;
  FakeOsVersion* osVersion;
  FakeSingleInstance* singleInstance;
  FakeWindowProbe* windowProbe;
  FakeProcessLauncher* processLauncher;
  FakeJoystick* joystick;
  RecordingCompiler* compiler;
  RecordingRecognizer* recognizer;
  RecordingSpeechOutput* output;
  RecordingExit* exit;
};
// Every service faked; the speech engines and the window probe log into `log`.
app::Backends FakeBackends(QStringList& log, FakeHandles& handles);

// Everything an operation needs, built as the programs build it (app::Services)
// over fake backends, with the recording dialogs and status line. The
// shutdown's interface steps log "shutdown:tray" and "shutdown:screens".
struct TestEnv {
  explicit TestEnv(const QString& installDir = QString());

  QStringList log;  // shared by the speech engines, the window probe and the shutdown
  shell::AppState state;
  RecordingDialogs dialogs;
  RecordingStatus status;
  FakeHandles fakes;
  app::Services services;

  platform::Platform& platform = services.backends.platform;
  shell::Context& ctx = services.ctx;
  grammar::SpeechFacade& speech = services.speech;
  shell::ShutdownSequence& shutdown = services.shutdown;
  shell::Launcher& launcher = services.launcher;
  FakeAppDataFolders* appData = fakes.appData;
  FakeFileDialogs* fileDialogs = fakes.fileDialogs;
  FakeOsVersion* osVersion = fakes.osVersion;
  FakeSingleInstance* singleInstance = fakes.singleInstance;
  FakeWindowProbe* windowProbe = fakes.windowProbe;
  FakeProcessLauncher* processLauncher = fakes.processLauncher;
  RecordingCompiler& compiler = *fakes.compiler;
  RecordingRecognizer& recognizer = *fakes.recognizer;
  RecordingSpeechOutput& output = *fakes.output;
  RecordingExit& exit = *fakes.exit;
};

}  // namespace qv::test
