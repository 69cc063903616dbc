// Building the sentence script of the kneeboard pages: 500 commands of five
// phrases each, in ten categories, every phrase with optional parts and
// alternatives (16 sentences each, 40,000 rows in all).
#include <benchmark/benchmark.h>

#include "base/FixedText.h"
#include "core/checklists/KneeboardChecklist.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"
#include "core/shell/Shutdown.h"
#include "core/shell/StatusSink.h"
#include "data/CommandList.h"
#include "platform/Platform.h"

namespace {

using namespace qv;

class QuietDialogs final : public shell::Dialogs {
 public:
  void ShowMessage(const QString&, const QString&, int, bool, bool, const QString&) override {}
  void ShowInput(const QString&, const QString&, const QString&, bool, bool, const QString&, const QString&) override {}
  void ProgressOpen(const QString&, const QString&) override {}
  void ProgressUpdate(const QString&, double) override {}
  void ProgressHide() override {}
};

class NoShutdown final : public shell::ShutdownService {
 public:
  void Shutdown() override {}
  bool HasShutDown() const override { return false; }
};

std::vector<data::CommandRecord> Commands() {
  std::vector<data::CommandRecord> list;
  for (int c = 0; c < 500; ++c) {
    data::CommandRecord r;
    r.category = base::Fixed("Category " + QString::number(c % 10), data::kCategoryWidth);
    r.name = base::Fixed("Command " + QString::number(c), data::kNameWidth);
    for (int g = 0; g < 5; ++g)
      r.grammars << base::Fixed(QString("(please) [set|turn] device %1 phrase %2 [on|up] (now)").arg(c).arg(g),
                                data::kGrammarWidth);
    list.push_back(std::move(r));
  }
  return list;
}

void BM_BuildKneeboardScript(benchmark::State& bench) {
  shell::AppState state;
  state.commands = Commands();
  state.categories = data::BuildCommandCategories(state.commands);
  QuietDialogs dialogs;
  NoShutdown shutdown;
  shell::NullStatusSink status;
  platform::Platform platform;
  shell::Context ctx{state, dialogs, shutdown, status, platform};
  qint64 bytes = 0;
  for (auto _ : bench) {
    checklists::BuildKneeboardScript(ctx);
    bytes = state.kneeboardScript.join(QString()).size();
  }
  bench.counters["script_chars"] = static_cast<double>(bytes);
}
BENCHMARK(BM_BuildKneeboardScript)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
