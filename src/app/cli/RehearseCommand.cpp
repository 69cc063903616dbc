#include <QElapsedTimer>
#include <QFileInfo>

#include "app/cli/CliSupport.h"
#include "app/cli/InstallationTables.h"
#include "core/grammar/Rehearsal.h"
#include "data/CommandList.h"
#include "speech/AudioSource.h"
#include "speech/Rehearser.h"

namespace qv::cli {
namespace {

int Run(const QStringList& argsIn) {
  QStringList args = argsIn;
  const bool stats = args.removeAll("--stats") > 0;
  const speech::RecognizerSettings settings = TakeRecognizerOptions(args);
  if (args.size() < 2) {
    PrintErr(QString("Usage: quorvane-cli rehearse INSTALL_DIR WAV_FILE... [--stats] %1\n").arg(kRecognizerOptionsUsage));
    return 2;
  }
  Session session(args[0]);
  if (LoadCommandTables(session) != 0) return 1;
  const shell::AppState& state = session.state;
  speech::Rehearser rehearser(state.installDir, settings);
  QString error;
  QElapsedTimer timer;
  timer.start();
  if (!rehearser.Load(grammar::RehearsalGrammars(data::BuildCommandCategories(state.commands)), error)) {
    PrintErr("The compiled grammars cannot be loaded: " + error +
             "\nCompile them first (quorvane-cli compile INSTALL_DIR).\n");
    return 3;
  }
  if (stats) PrintErr(QString("loaded in %1 s\n").arg(timer.nsecsElapsed() / 1e9, 0, 'f', 3));
  const bool many = args.size() > 2;
  int exitCode = 0;
  for (int i = 1; i < args.size(); ++i) {
    std::vector<int16_t> samples;
    grammar::RehearsalResult r;
    if (speech::ReadWav(args[i], samples, error)) {
      r = grammar::Resolve(state.commands, rehearser.Recognise(samples));
    } else {
      r.outcome = grammar::RehearsalResult::Outcome::Failed;
      r.error = error;
    }
    const QString line = grammar::ResultLine(r);
    PrintOut((many ? QFileInfo(args[i]).fileName() + "\t" : QString()) + line + "\n");
    if (r.outcome == grammar::RehearsalResult::Outcome::Failed) {
      PrintErr(args[i] + ": " + r.error + "\n");
      exitCode = 3;
    }
    if (stats)
      PrintErr(QString("%1\tcategory=%2\tconfidence=%3\taudio=%4\tdecode=%5\thyp=%6\n")
                   .arg(QFileInfo(args[i]).fileName(), r.category)
                   .arg(r.confidence, 0, 'f', 3)
                   .arg(r.audioSeconds, 0, 'f', 3)
                   .arg(r.decodeSeconds, 0, 'f', 4)
                   .arg(rehearser.recognizer().LastStats().hypothesis));
  }
  return exitCode;
}

const Registrar reg({"rehearse", "rehearse INSTALL_DIR WAV_FILE...",
                     "hear recordings against every compiled category: command, event, action, words", Run});

}  // namespace
}  // namespace qv::cli
