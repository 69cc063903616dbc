#include <QFileInfo>

#include "app/cli/CliSupport.h"
#include "core/grammar/SpeechFacade.h"
#include "speech/AudioSource.h"
#include "speech/Recognizer.h"

namespace qv::cli {
namespace {

// The statuses of the recogniser as exit codes: 0 recognised, 2 nothing in
// the grammar heard, 3 engine or audio error.
int ExitCode(int16_t status) { return status == 0 ? 0 : status == -2 ? 2 : 3; }

int Run(const QStringList& argsIn) {
  QStringList args = argsIn;
  const bool stats = args.removeAll("--stats") > 0;
  speech::RecognizerSettings settings = TakeRecognizerOptions(args);
  settings.phoneScores = stats;  // the margins are part of the figures
  if (args.size() < 2) {
    PrintErr(QString("Usage: quorvane-cli recognize INSTALL_DIR WAV_FILE... [--stats] %1\n").arg(kRecognizerOptionsUsage));
    return 2;
  }
  Session session(args[0]);
  session.state.speechReady = true;
  speech::Recognizer recognizer(session.state.installDir, settings);
  grammar::SpeechFacade facade(session.state.speechReady, *session.services.backends.compiler, recognizer,
                               *session.services.backends.output);
  QByteArray buffer = grammar::RecognizerBuffer();
  if (facade.fnSpeechRecDLL_Call(0, buffer) == -3) {
    PrintErr("Failed to Initialize: " + recognizer.LastError() + "\n");
    return 3;
  }
  if (stats) {
    const auto& l = recognizer.LastLoad();
    PrintErr(QString("load=%1\tcompile=%2\tdecoderstart=%3\tstates=%4\tarcs=%5\n")
                 .arg(l.totalSeconds, 0, 'f', 3)
                 .arg(l.compileSeconds, 0, 'f', 3)
                 .arg(l.modelSeconds, 0, 'f', 3)
                 .arg(l.states)
                 .arg(l.arcs));
  }
  const bool many = args.size() > 2;
  int exitCode = 0;
  for (int i = 1; i < args.size(); ++i) {
    std::vector<int16_t> samples;
    QString error;
    int16_t status = -3;
    buffer = grammar::RecognizerBuffer();
    if (speech::ReadWav(args[i], samples, error)) {
      speech::SampleSource source(std::move(samples));
      status = recognizer.ListenTo(source, buffer);
      if (status == -3) error = recognizer.LastError();
    }
    const QString words = status == 0 ? QString::fromLatin1(grammar::RecognizedPhrase(buffer)) : QString();
    if (many)
      PrintOut(QFileInfo(args[i]).fileName() + "\t" + QString::number(status) + "\t" + words + "\n");
    else if (status == 0)
      PrintOut(words + "\n");
    if (status == -3) PrintErr(args[i] + ": " + error + "\n");
    if (stats) {
      const auto& s = recognizer.LastStats();
      PrintErr(QString("%1\tstatus=%2\taudio=%3\tspeech=%4\tdecode=%5\tmargin=%6\tspeechmargin=%7\tworst=%8")
                   .arg(QFileInfo(args[i]).fileName())
                   .arg(status)
                   .arg(s.audioSeconds, 0, 'f', 3)
                   .arg(s.speechSeconds, 0, 'f', 3)
                   .arg(s.decodeSeconds, 0, 'f', 4)
                   .arg(s.scores.margin, 0, 'f', 1)
                   .arg(s.scores.speechMargin, 0, 'f', 1)
                   .arg(s.scores.worstWord, 0, 'f', 1) +
               QString("\tworstword=%1\thyp=%2\n").arg(s.scores.worstWordText, s.hypothesis));
    }
    if (!many)
      exitCode = ExitCode(status);
    else if (status == -3)
      exitCode = 3;
  }
  facade.fnSpeechRecDLL_Call(3, buffer);
  return exitCode;
}

const Registrar reg({"recognize", "recognize INSTALL_DIR WAV_FILE...",
                     "load the test grammar and recognise recorded speech (exit 0/2/3)", Run});

}  // namespace
}  // namespace qv::cli
