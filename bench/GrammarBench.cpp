// Phrase expansion and grammar file writing: a phrase with ten optional and
// three alternatives groups, the demo installation, and a large synthetic one
// (500 commands, 20,000 navaids and 20,000 ILS approaches) built in memory.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "data/FixedText.h"
#include "grammar/CheckExpandGrammar.h"
#include "grammar/GrammarWriter.h"
#include "platform/Platform.h"
#include "shell/AppState.h"
#include "shell/Context.h"
#include "shell/Dialogs.h"
#include "shell/Shutdown.h"
#include "shell/Startup.h"
#include "shell/StatusSink.h"

namespace {

using namespace qv;

class QuietDialogs final : public shell::Dialogs {
 public:
  void ShowMessage(const QString& title, const QString& message, int, bool, bool, const QString&) override {
    fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(QString(message).replace('\r', '\n')));
  }
  void ShowInput(const QString&, const QString&, const QString&, bool, bool, const QString&,
                 const QString&) override {}
  void ProgressOpen(const QString&, const QString&) override {}
  void ProgressUpdate(const QString&, double) override { ++updates; }
  void ProgressHide() override {}
  int updates = 0;
};

class NoShutdown final : public shell::ShutdownService {
 public:
  void Shutdown() override { done = true; }
  bool HasShutDown() const override { return done; }
  bool done = false;
};

struct BenchContext {
  explicit BenchContext(const QString& installDir) : platform(platform::CreatePlatform(installDir)) {
    state.installDir = installDir;
  }
  shell::AppState state;
  QuietDialogs dialogs;
  NoShutdown shutdown;
  shell::NullStatusSink status;
  platform::Platform platform;
  shell::Context ctx{state, dialogs, shutdown, status, platform};
};

void BM_ExpandTenOptionalsThreeAlternatives(benchmark::State& st) {
  const QString phrase = data::Fixed(
      "(please) (now) set (the) [left|right|centre] (number) (one) [flaps|slats|spoilers] (to) (ten) (degrees) "
      "[down|up|out] (thanks) (captain)",
      data::kGrammarWidth);
  QStringList sentences;
  for (auto _ : st) {
    grammar::ExpandToSentences(phrase, sentences);
    benchmark::DoNotOptimize(sentences);
  }
  st.counters["sentences"] = static_cast<double>(sentences.size());
}
BENCHMARK(BM_ExpandTenOptionalsThreeAlternatives)->Unit(benchmark::kMillisecond);

void FillSynthetic(shell::AppState& s) {
  const QStringList phrases{"(please) set [heading|the heading] (to) <HDG>", "turn [on|off] (the) landing lights",
                            "[gear|wheels] [up|down] (please)", "tune nav one to <NAV_ID>",
                            "set flaps (to) <FLAP_SETTING>"};
  for (int i = 0; i < 500; ++i) {
    data::CommandRecord c;
    c.category = data::Fixed(QString("Category %1").arg(i % 25), data::kCategoryWidth);
    c.name = data::Fixed(QString("Command %1").arg(i), data::kNameWidth);
    c.eventName = data::Fixed(QString("EVENT_%1").arg(i), data::kEventNameWidth);
    c.helpText = data::Fixed("", data::kHelpTextWidth);
    c.functionNumber = static_cast<int16_t>(i);
    for (int p = 0; p < 5; ++p) c.grammars << data::Fixed(phrases[(i + p) % phrases.size()], data::kGrammarWidth);
    s.commands.push_back(c);
  }
  for (int i = 0; i < 25; ++i) s.categories << QString("Category %1").arg(i);
  for (int i = 0; i < 20000; ++i) {
    const QString id = QString("%1%2%3").arg(QChar('A' + i % 26)).arg(QChar('A' + (i / 26) % 26)).arg(QChar('A' + (i / 676) % 26));
    s.navaidList.push_back({id, "Navaid Name " + id, "VOR:" + id});
    s.ilsList.push_back({"K" + id, QString("%1%2").arg(1 + i % 36, 2, 10, QChar('0')).arg(QString("LRC")[i % 3]),
                         "ILS:K" + id, static_cast<int16_t>(i % 30000)});
  }
  s.settings.compileNavaids = 1;
  s.settings.checklistResponses = {{"Checked", 1}, {"On", 2}, {"Off", 3}, {"Set", 4}};
}

bool PrepareFolder(const QString& installDir) {
  QDir().mkpath(installDir + "/Data");
  QFile f(installDir + "/Data/Generic Lists.bnf");
  return f.open(QIODevice::WriteOnly) && f.write("\xFF\xFE") == 2;
}

void BM_WriteAllGrammarsSynthetic(benchmark::State& st) {
  QTemporaryDir dir;
  PrepareFolder(dir.path());
  BenchContext b(dir.path());
  FillSynthetic(b.state);
  for (auto _ : st)
    if (grammar::WriteAllGrammars(b.ctx) != 0) st.SkipWithError("WriteAllGrammars failed");
  st.counters["files"] = static_cast<double>(QDir(dir.path() + "/Grammars").entryList(QDir::Files).size());
}
BENCHMARK(BM_WriteAllGrammarsSynthetic)->Unit(benchmark::kMillisecond);

// The demo installation laid out by the build, loaded as start-up loads it;
// the files are written into a scratch folder, not into the demo.
void BM_WriteAllGrammarsDemo(benchmark::State& st) {
  BenchContext b(QStringLiteral(QV_DEMO_INSTALL_DIR));
  shell::StartupSteps steps = shell::DefaultStartupSteps(b.ctx);
  for (const auto* loader : {&steps.loadSettings, &steps.loadCommandList, &steps.loadIls, &steps.loadNavaids,
                             &steps.buildCategories}) {
    if (!*loader || (*loader)() != 0) {
      st.SkipWithError("the demo installation could not be loaded (build the demo target first)");
      return;
    }
  }
  QTemporaryDir dir;
  PrepareFolder(dir.path());
  b.state.installDir = dir.path();
  for (auto _ : st)
    if (grammar::WriteAllGrammars(b.ctx) != 0) st.SkipWithError("WriteAllGrammars failed");
  st.counters["commands"] = static_cast<double>(b.state.commands.size());
  st.counters["navaids"] = static_cast<double>(b.state.navaidList.size());
}
BENCHMARK(BM_WriteAllGrammarsDemo)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
