// The overlap check at the scale of a real installation: 500 commands and
// 20,000 navaids and ILS approaches (bench/support). The grammar files are
// written once, then compiled with the list cache filled, with and without
// the check; the check's figure is the difference, beside its target
// (< 1 s). The check alone is also timed on the compiled rules.
//   bench_OverlapBench [--keep DIR]
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>

#include "BenchContext.h"
#include "LargeInstallation.h"
#include "core/data/CommandListStore.h"
#include "core/data/NavaidStore.h"
#include "core/data/SettingsStore.h"
#include "core/grammar/GrammarWriter.h"
#include "data/CommandList.h"
#include "speech/CompilerEngine.h"
#include "speech/GrammarCompiler.h"
#include "speech/Pronouncer.h"
#include "speech/SpeechModel.h"

namespace {

using namespace qv;

double Cpu() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

struct Run {
  double wall = 0, cpu = 0;
  int overlaps = 0;
  bool ok = false;
};

Run CompileOnce(const QString& installDir, bool check) {
  speech::Pronouncer pronouncer(speech::FindSpeechModel(installDir).dictionary,
                                speech::PronunciationListPath(installDir));
  speech::CompileOptions options;
  options.grammarsDir = installDir + "/Grammars";
  options.fallbackListsFile = installDir + "/Data/Generic Lists.bnf";
  options.cacheDir = speech::ListCacheDir(installDir);
  options.checkOverlaps = check;
  QElapsedTimer t;
  t.start();
  const double c0 = Cpu();
  const speech::CompileResult r = speech::CompileGrammars(options, pronouncer);
  Run run;
  run.cpu = Cpu() - c0;
  run.wall = t.nsecsElapsed() / 1e9;
  run.ok = r.Ok();
  for (const auto& d : r.diagnostics) run.overlaps += d.relatedLine > 0 ? 1 : 0;
  return run;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  QTemporaryDir temp;
  const int keep = static_cast<int>(args.indexOf("--keep"));
  const QString root = keep > 0 && keep + 1 < args.size() ? args[keep + 1] : temp.path();
  bench::LargeInstallationSize size;
  size.aircraftFolders = 4;  // the aircraft play no part here
  const bench::LargeInstallation made = bench::MakeLargeInstallation(root, size);
  if (!made.error.isEmpty()) {
    std::fprintf(stderr, "%s\n", qPrintable(made.error));
    return 1;
  }
  {
    bench::BenchContext inst(made.installDir);
    if (data::LoadSettings(inst.ctx) != 0 || data::LoadCommandList(inst.ctx) != 0 || data::LoadIlsList(inst.ctx) != 0 ||
        data::LoadNavaidList(inst.ctx) != 0)
      return 1;
    inst.state.categories = data::BuildCommandCategories(inst.state.commands);
    if (grammar::WriteAllGrammars(inst.ctx) != 0) return 1;
    std::printf("  %zu commands in %lld categories, %zu navaids, %zu ILS approaches\n", inst.state.commands.size(),
                static_cast<long long>(inst.state.categories.size()), inst.state.navaidList.size(),
                inst.state.ilsList.size());
  }
  CompileOnce(made.installDir, false);  // fills the list cache and the dictionary
  // Alternating runs; the best of each, as the machine is shared.
  Run with, without;
  with.wall = without.wall = with.cpu = without.cpu = 1e9;
  for (int i = 0; i < 3; ++i) {
    const Run a = CompileOnce(made.installDir, false), b = CompileOnce(made.installDir, true);
    if (!a.ok || !b.ok) {
      std::fprintf(stderr, "the compile failed\n");
      return 1;
    }
    without.wall = std::min(without.wall, a.wall);
    without.cpu = std::min(without.cpu, a.cpu);
    with.wall = std::min(with.wall, b.wall);
    with.cpu = std::min(with.cpu, b.cpu);
    with.overlaps = b.overlaps;
  }
  std::printf("  pairs of commands heard alike: %d\n", with.overlaps);
  std::printf("%-55s %8.3f s   (processor %.3f s)\n", "compile without the overlap check", without.wall, without.cpu);
  std::printf("%-55s %8.3f s   (processor %.3f s)\n", "compile with the overlap check", with.wall, with.cpu);
  std::printf("%-55s %8.3f s   (processor %.3f s; target < 1 s)\n", "overlap check (the difference)",
              with.wall - without.wall, with.cpu - without.cpu);
  return 0;
}
