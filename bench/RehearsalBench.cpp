// Rehearsal: every category's compiled grammar loaded as one search, and one
// utterance heard against it. Prints each figure beside its target:
//   loading the demo's whole set < 0.5 s;
//   loading 500 commands with 20,000 navaids and 20,000 ILS approaches < 2 s;
//   decoding <= 0.3 x real time.
// The grammars are compiled first (not timed here: see the compile bench);
// each load runs in a process of its own.
//   bench_RehearsalBench [--keep DIR]
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>

#include "BenchContext.h"
#include "LargeInstallation.h"
#include "core/data/CommandListStore.h"
#include "core/data/NavaidStore.h"
#include "core/data/SettingsStore.h"
#include "core/grammar/CheckExpandGrammar.h"
#include "core/grammar/GrammarWriter.h"
#include "core/grammar/Rehearsal.h"
#include "data/CommandList.h"
#include "speech/AudioSource.h"
#include "speech/CompilerEngine.h"
#include "speech/Espeak.h"
#include "speech/Rehearser.h"

namespace {

using namespace qv;

struct Installation : bench::BenchContext {
  using BenchContext::BenchContext;
  bool Load() {
    if (data::LoadSettings(ctx) != 0 || data::LoadCommandList(ctx) != 0 || data::LoadIlsList(ctx) != 0 ||
        data::LoadNavaidList(ctx) != 0)
      return false;
    state.categories = data::BuildCommandCategories(state.commands);
    return !shutdown.done;
  }
};

double Cpu() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

const char* const kAlphabet[] = {"alpha",  "bravo",   "charlie", "delta",  "echo",   "foxtrot", "golf",
                                 "hotel",  "india",   "juliet",  "kilo",   "lima",   "mike",    "november",
                                 "oscar",  "papa",    "quebec",  "romeo",  "sierra", "tango",   "uniform",
                                 "victor", "whiskey", "x-ray",   "yankee", "zulu"};

int Compile(const QString& dir) {
  Installation inst(dir);
  speech::CompilerEngine engine(dir);
  engine.Start();
  if (!inst.Load() || grammar::WriteAllGrammars(inst.ctx) != 0) return 1;
  const int16_t status = engine.Compile(0, 1);
  std::printf("  compiled %s: status %d\n", qPrintable(QDir(dir).dirName()), status);
  return status == 0 ? 0 : 1;
}

int Rehearse(const QString& dir, const QString& label, const char* target, const QStringList& sentences) {
  Installation inst(dir);
  if (!inst.Load()) return 1;
  speech::Rehearser rehearser(dir);
  QElapsedTimer wall;
  wall.start();
  const double cpu = Cpu();
  QString error;
  if (!rehearser.Load(grammar::RehearsalGrammars(inst.state.categories), error)) {
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return 1;
  }
  std::printf("%-60s %9.3f s   (processor %.3f s; %d states; target %s)\n",
              qPrintable(label + ": loading every category"), wall.nsecsElapsed() / 1e9, Cpu() - cpu,
              rehearser.LastLoad().states, target);
  for (const QString& sentence : sentences) {
    std::vector<int16_t> samples;
    int rate = 0;
    if (!speech::EspeakSynthesize(sentence, "en-us", 160, 100, samples, rate)) continue;
    std::vector<int16_t> audio(speech::kSampleRate / 2, 0);
    const auto s16 = speech::Resample(samples, rate, speech::kSampleRate);
    audio.insert(audio.end(), s16.begin(), s16.end());
    audio.insert(audio.end(), speech::kSampleRate / 2, 0);
    const grammar::RehearsalResult r = grammar::Resolve(inst.state.commands, rehearser.Recognise(audio));
    std::printf("  \"%s\": %s\n", qPrintable(sentence), qPrintable(grammar::ResultLine(r).replace('\t', " | ")));
    std::printf("%-60s %9.3f     (target <= 0.3)\n", qPrintable(label + ": decoding, x real time"),
                r.audioSeconds > 0 ? r.decodeSeconds / r.audioSeconds : 0);
  }
  std::fflush(stdout);
  return 0;
}

int Child(const QStringList& args) {
  const QString step = args.value(0), dir = args.value(1);
  if (step == "compile") return Compile(dir);
  if (step == "large") {
    Installation inst(dir);
    if (!inst.Load() || inst.state.navaidList.empty()) return 1;
    const auto& n = inst.state.navaidList[inst.state.navaidList.size() / 2];
    QString spelled;
    for (QChar c : grammar::TrimSpaces(n.ident).toUpper())
      if (c >= u'A' && c <= u'Z') spelled += QString(kAlphabet[c.unicode() - 'A']) + " ";
    return Rehearse(dir, "500 commands, 20,000 navaids", "< 2 s", {"tune nav one to " + spelled.trimmed()});
  }
  if (step == "demo")
    return Rehearse(dir, "demo", "< 0.5 s", {"set heading two seven zero", "tune nav one seattle"});
  return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  if (args.value(0) == "--step") return Child(args.mid(1));
  QTemporaryDir tmp;
  QString root = tmp.path();
  if (args.value(0) == "--keep" && args.size() > 1) root = args[1];
  int failures = 0;
  auto run = [&](const QString& step, const QString& dir) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(app.applicationFilePath(), {"--step", step, dir});
    child.waitForFinished(-1);
    if (child.exitCode() != 0) {
      std::printf("  step %s failed (exit %d)\n", qPrintable(step), child.exitCode());
      ++failures;
    }
  };
  const QString demo = root + "/Demo";
  QProcess::execute("cp", {"-r", QStringLiteral(QV_DEMO_INSTALL_DIR), demo});
  run("compile", demo);
  run("demo", demo);
  qv::bench::LargeInstallationSize size;
  size.aircraftFolders = 20;
  size.vehicleFolders = 0;
  std::printf("Laying out %d commands, %d navaids, %d ILS approaches in %s\n", size.commands, size.navaids,
              size.ilsApproaches, qPrintable(root));
  std::fflush(stdout);
  const auto inst = qv::bench::MakeLargeInstallation(root + "/Large", size);
  if (!inst.error.isEmpty()) {
    std::fprintf(stderr, "%s\n", qPrintable(inst.error));
    return 1;
  }
  run("compile", inst.installDir);
  run("large", inst.installDir);
  return failures == 0 ? 0 : 1;
}
