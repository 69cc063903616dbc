// Grammars at the scale of a real installation: 500 commands, 20,000 navaids
// and 20,000 ILS approaches (bench/support), and the demo. Prints each figure
// beside its target:
//   full compile (writing the grammar files, then compiling them, with the
//   list cache empty and filled) < 1 s;
//   loading the test grammar of a navaid phrase < 1 s and < 150 MB;
//   decoding a navaid phrase <= 0.2 x real time;
//   loading a test grammar on the demo < 0.2 s.
// Each measurement runs in a process of its own so that its memory figure is
// its own.
//   bench_GrammarCompileBench [--keep DIR]
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
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
#include "core/grammar/SpeechFacade.h"
#include "core/grammar/TestGrammar.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"
#include "core/shell/Shutdown.h"
#include "core/shell/StatusSink.h"
#include "data/CommandList.h"
#include "platform/Platform.h"
#include "speech/AudioSource.h"
#include "speech/CompilerEngine.h"
#include "speech/Espeak.h"
#include "speech/Recognizer.h"

namespace {

using namespace qv;

// The tables start-up loads, and the compiler started as start-up starts it
// (it reads the pronunciation dictionary then).
struct Installation : bench::BenchContext {
  using BenchContext::BenchContext;
  bool Load() {
    speech::CompilerEngine(state.installDir).Start();
    if (data::LoadSettings(ctx) != 0 || data::LoadCommandList(ctx) != 0 || data::LoadIlsList(ctx) != 0 ||
        data::LoadNavaidList(ctx) != 0)
      return false;
    state.categories = data::BuildCommandCategories(state.commands);
    return !shutdown.done;
  }
};

long ProcStatusKb(const char* key) {
  QFile f("/proc/self/status");
  if (!f.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : f.readAll().split('\n'))
    if (line.startsWith(key)) return line.mid(static_cast<int>(strlen(key))).trimmed().split(' ').value(0).toLong();
  return -1;
}

// Wall time and processor time: the machine is shared, so the processor
// time is the steadier figure.
struct Clock {
  Clock() { Restart(); }
  void Restart() {
    wall.start();
    cpu = Cpu();
  }
  static double Cpu() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
  }
  double Wall() const { return wall.nsecsElapsed() / 1e9; }
  double Processor() const { return Cpu() - cpu; }
  QElapsedTimer wall;
  double cpu = 0;
};

void Figure(const char* what, double value, const char* unit, const char* target) {
  std::printf("%-60s %9.3f %-3s  (target %s)\n", what, value, unit, target);
  std::fflush(stdout);
}

void Timing(const char* what, const Clock& c, const char* target) {
  std::printf("%-60s %9.3f s   (processor %.3f s; target %s)\n", what, c.Wall(), c.Processor(), target);
  std::fflush(stdout);
}

// --- the steps, each run in a child process --------------------------------------

int Compile(const QString& dir, bool cold) {
  Installation inst(dir);
  if (!inst.Load()) return 1;
  if (cold) QDir(speech::ListCacheDir(dir)).removeRecursively();
  Clock all, t;
  if (grammar::WriteAllGrammars(inst.ctx) != 0) return 1;
  const Clock write = t;
  t.Restart();
  speech::CompilerEngine engine(dir);
  const int16_t status = engine.Compile(0, 1);
  const auto& r = engine.LastResult();
  size_t arcs = 0, states = 0;
  for (const auto& g : r.grammars) {
    arcs += g.graph.ArcCount();
    states += static_cast<size_t>(g.graph.StateCount());
  }
  std::printf(
      "  %s compile: status %d, %d errors, %d warnings, %zu grammars (%zu states, %zu arcs), "
      "%d lists from the cache, %d words\n",
      cold ? "cold" : "warm", status, r.ErrorCount(), r.WarningCount(), r.grammars.size(), states, arcs,
      r.filesFromCache, static_cast<int>(r.phones.size()));
  for (int i = 0; i < std::min<int>(3, static_cast<int>(r.diagnostics.size())); ++i)
    std::printf("    %s\n", qPrintable(r.diagnostics[i].ToString()));
  std::printf("%-60s %9.3f s   (processor %.3f s)\n", "writing the grammar files", write.Wall() - t.Wall(),
              write.Processor() - t.Processor());
  Timing(cold ? "compiling, list cache empty" : "compiling, lists from the cache", t, "< 1 s");
  Timing(cold ? "full compile (write + compile), cache empty" : "full compile (write + compile), cache filled", all,
         "< 1 s");
  return status == 0 ? 0 : 1;
}

const char* const kAlphabet[] = {"alpha",  "bravo",   "charlie", "delta",  "echo",   "foxtrot", "golf",
                                 "hotel",  "india",   "juliet",  "kilo",   "lima",   "mike",    "november",
                                 "oscar",  "papa",    "quebec",  "romeo",  "sierra", "tango",   "uniform",
                                 "victor", "whiskey", "x-ray",   "yankee", "zulu"};

// Loads the test grammar of phrase `phrase` of the command `event`, then
// decodes a spoken sentence of it.
int Load(const QString& dir, const QString& event, int phrase, const QString& label, const char* loadTarget,
         bool cold = false) {
  Installation inst(dir);
  if (!inst.Load()) return 1;
  if (cold) QDir(speech::ListCacheDir(dir)).removeRecursively();
  int command = -1;
  for (int i = 0; i < static_cast<int>(inst.state.commands.size()); ++i)
    if (grammar::TrimSpaces(inst.state.commands[i].eventName) == event) command = i;
  if (command < 0) {
    std::fprintf(stderr, "no command %s\n", qPrintable(event));
    return 1;
  }
  const long before = ProcStatusKb("VmHWM:");
  Clock all, t;
  if (grammar::WriteTestGrammar(inst.ctx, command, phrase) != 0) return 1;
  std::printf("  writing the test grammar files: %.3f s (processor %.3f s)\n", t.Wall(), t.Processor());
  speech::Recognizer rec(dir);
  if (rec.LoadTestGrammar() != 0) {
    std::fprintf(stderr, "Failed to Initialize: %s\n", qPrintable(rec.LastError()));
    return 1;
  }
  const auto& ls = rec.LastLoad();
  std::printf(
      "  %s: \"%s\"; graph %d states, %d arcs; %d lists from the cache; compile %.3f s, decoder start "
      "%.3f s, graph into the decoder %.3f s\n",
      qPrintable(label), qPrintable(grammar::TrimSpaces(inst.state.commands[command].grammars[phrase])), ls.states,
      ls.arcs, ls.listsFromCache, ls.compileSeconds, ls.modelSeconds,
      ls.totalSeconds - ls.compileSeconds - ls.modelSeconds);
  Timing(qPrintable("test grammar, " + label + ": writing + loading"), all, loadTarget);
  Figure(qPrintable("test grammar, " + label + ": peak memory of the process"), ProcStatusKb("VmHWM:") / 1024.0, "MB",
         "< 150 MB");
  std::printf("  (peak before writing the test grammar: %.1f MB)\n", before / 1024.0);

  // A sentence of the grammar, spoken by the synthetic voice.
  QString sentence;
  if (event == "RADIO_NAV1_SELECT_ILS" && !inst.state.ilsList.empty()) {
    const auto& ils = inst.state.ilsList[inst.state.ilsList.size() / 2];
    QString runway;
    for (QChar c : grammar::TrimSpaces(ils.runway)) {
      static const char* const kDigits[] = {"zero", "one", "two",   "three", "four",
                                            "five", "six", "seven", "eight", "nine"};
      if (c.isDigit()) runway += QString(kDigits[c.digitValue()]) + " ";
      if (c == u'L') runway += "left ";
      if (c == u'R') runway += "right ";
      if (c == u'C') runway += "center ";
    }
    QString airport;
    for (QChar c : grammar::TrimSpaces(ils.airportIdent)) airport += QString(kAlphabet[c.unicode() - 'A']) + " ";
    sentence = "tune the ILS " + runway + "I L S " + airport.trimmed();
  } else if (phrase == 0 && !inst.state.navaidList.empty()) {
    const auto& n = inst.state.navaidList[inst.state.navaidList.size() / 2];
    QString spelled;
    for (QChar c : grammar::TrimSpaces(n.ident).toUpper()) spelled += QString(kAlphabet[c.unicode() - 'A']) + " ";
    sentence = "tune nav one to " + spelled.trimmed();
  } else if (!inst.state.navaidList.empty()) {
    sentence = "select nav one " + grammar::TrimSpaces(inst.state.navaidList[inst.state.navaidList.size() / 2].name);
  }
  std::vector<int16_t> samples;
  int rate = 0;
  if (!sentence.isEmpty() && speech::EspeakSynthesize(sentence, "en-us", 160, 100, samples, rate)) {
    std::vector<int16_t> audio(speech::kSampleRate / 2, 0);
    const auto s16 = speech::Resample(samples, rate, speech::kSampleRate);
    audio.insert(audio.end(), s16.begin(), s16.end());
    audio.insert(audio.end(), speech::kSampleRate / 2, 0);
    speech::SampleSource source(std::move(audio));
    QByteArray buffer = grammar::RecognizerBuffer();
    const Clock decode;
    const int16_t status = rec.ListenTo(source, buffer);
    const double cpu = decode.Processor();
    const auto& st = rec.LastStats();
    std::printf("  spoken \"%s\": status %d, heard \"%s\"\n", qPrintable(sentence.toLower()), status,
                qPrintable(st.hypothesis));
    std::printf("%-60s %9.3f     (processor %.3f; target <= 0.2)\n",
                qPrintable("decoding, " + label + ", x real time"),
                st.audioSeconds > 0 ? st.decodeSeconds / st.audioSeconds : 0,
                st.audioSeconds > 0 ? cpu / st.audioSeconds : 0);
  }
  return 0;
}

// What the in-flight runtime faces: the full compile's Radios grammar (every
// navaid list spliced in) loaded from its written graph.
int LoadRadios(const QString& dir) {
  const long before = ProcStatusKb("VmHWM:");
  speech::Recognizer rec(dir);
  Clock t;
  if (rec.LoadCompiledGrammar("Radios") != 0) {
    std::fprintf(stderr, "%s\n", qPrintable(rec.LastError()));
    return 1;
  }
  std::printf("  the compiled Radios grammar: %d states\n", rec.LastLoad().states);
  Timing("runtime: loading the compiled Radios grammar", t, "-");
  Figure("runtime: peak memory of the process", ProcStatusKb("VmHWM:") / 1024.0, "MB", "-");
  std::printf("  (peak before: %.1f MB)\n", before / 1024.0);
  return 0;
}

int Demo(const QString& demoInstall) {
  QTemporaryDir tmp;
  const QString dir = tmp.path() + "/Quorvane";
  QProcess::execute("cp", {"-r", demoInstall, dir});
  Installation inst(dir);
  if (!inst.Load()) return 1;
  speech::CompilerEngine engine(dir);
  Clock t;
  grammar::WriteAllGrammars(inst.ctx);
  engine.Compile(0, 1);
  Timing("demo: full compile (write + compile)", t, "-");
  for (const QString& event : {QString("HEADING_BUG_SET"), QString("RADIO_NAV1_SELECT_VOR")}) {
    int command = -1;
    for (int i = 0; i < static_cast<int>(inst.state.commands.size()); ++i)
      if (grammar::TrimSpaces(inst.state.commands[i].eventName).compare(event, Qt::CaseInsensitive) == 0) command = i;
    if (command < 0) command = 0;
    speech::Recognizer rec(dir);
    t.Restart();
    grammar::WriteTestGrammar(inst.ctx, command, 0);
    const int16_t status = rec.LoadTestGrammar();
    Timing(qPrintable("demo: test grammar of " + grammar::TrimSpaces(inst.state.commands[command].name) + " (status " +
                      QString::number(status) + ")"),
           t, "< 0.2 s");
  }
  return 0;
}

int Child(const QStringList& args) {
  const QString step = args.value(0), dir = args.value(1);
  if (step == "compile-cold") return Compile(dir, true);
  if (step == "compile-warm") return Compile(dir, false);
  if (step == "load-id") return Load(dir, "RADIO_NAV1_SELECT_VOR", 0, "nav one by identifier", "< 1 s");
  if (step == "load-name") return Load(dir, "RADIO_NAV1_SELECT_VOR", 1, "nav one by name", "< 1 s");
  if (step == "load-ils") return Load(dir, "RADIO_NAV1_SELECT_ILS", 0, "ILS by runway and airport", "< 1 s");
  if (step == "load-id-cold")
    return Load(dir, "RADIO_NAV1_SELECT_VOR", 0, "identifier, first test after a list change", "< 1 s", true);
  if (step == "demo") return Demo(dir);
  if (step == "load-radios") return LoadRadios(dir);
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
  qv::bench::LargeInstallationSize size;
  size.aircraftFolders = 20;  // the aircraft do not matter here
  size.vehicleFolders = 0;
  std::printf("Laying out %d commands, %d navaids, %d ILS approaches in %s\n", size.commands, size.navaids,
              size.ilsApproaches, qPrintable(root));
  std::fflush(stdout);
  const auto inst = qv::bench::MakeLargeInstallation(root, size);
  if (!inst.error.isEmpty()) {
    std::fprintf(stderr, "%s\n", qPrintable(inst.error));
    return 1;
  }
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
  for (const char* step : {"compile-cold", "compile-warm", "load-id", "load-name", "load-ils"})
    run(step, inst.installDir);
  run("demo", QStringLiteral(QV_DEMO_INSTALL_DIR));
  return failures == 0 ? 0 : 1;
}
