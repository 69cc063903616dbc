// The aircraft scan of a 2,000-folder installation (6,000 entries), next to
// the time it takes just to read every configuration file it opens. The
// per-key figure shows what reading each key from its file would cost.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "LargeInstallation.h"
#include "core/checklists/AircraftScan.h"
#include "data/IniFile.h"
#include "platform/SimInstallation.h"

namespace {

QTemporaryDir* g_root = nullptr;
qv::bench::LargeInstallation g_install;

void BM_ScanAircraft(benchmark::State& state) {
  size_t variations = 0;
  for (auto _ : state) {
    std::vector<qv::data::ChecklistAssignment> assignments;
    auto catalogue =
        qv::checklists::BuildCatalogue(qv::checklists::CollectAircraftRecords(g_install.simDir, g_install.objectPaths));
    qv::checklists::LinkAssignments(catalogue, assignments);
    variations = assignments.size();
  }
  state.counters["aircraft"] = static_cast<double>(variations);
  state.counters["files"] = g_install.configFiles.size();
}
BENCHMARK(BM_ScanAircraft)->Unit(benchmark::kMillisecond);

void BM_ReadConfigFiles(benchmark::State& state) {
  qint64 bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    for (const QString& path : g_install.configFiles) {
      QFile f(path);
      if (f.open(QIODevice::ReadOnly)) bytes += f.readAll().size();
    }
  }
  state.counters["files"] = g_install.configFiles.size();
  state.counters["MB"] = bytes / 1e6;
}
BENCHMARK(BM_ReadConfigFiles)->Unit(benchmark::kMillisecond);

void BM_ReadAndParseConfigFiles(benchmark::State& state) {
  for (auto _ : state)
    for (const QString& path : g_install.configFiles) benchmark::DoNotOptimize(qv::data::IniFile::Load(path).exists());
}
BENCHMARK(BM_ReadAndParseConfigFiles)->Unit(benchmark::kMillisecond);

// What the scan would cost reading the file again for every key (8 keys per
// entry plus the title that ends each file).
void BM_ReadPerKeyInstead(benchmark::State& state) {
  const char* keys[] = {"title", "ui_manufacturer", "ui_type", "ui_variation", "texture", "kb_checklists", "sim"};
  for (auto _ : state)
    for (const QString& path : g_install.configFiles)
      for (int n = 0;; ++n) {
        const QString section = "fltsim." + QString::number(n);
        if (qv::data::ReadIniString(section, "title", path).isEmpty()) break;
        for (const char* key : keys) benchmark::DoNotOptimize(qv::data::ReadIniString(section, key, path));
      }
}
BENCHMARK(BM_ReadPerKeyInstead)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  QTemporaryDir root;
  g_root = &root;
  std::printf("Laying out 2,000 aircraft folders in %s ...\n", qPrintable(root.path()));
  g_install = qv::bench::MakeLargeInstallation(root.path());
  if (!g_install.error.isEmpty()) {
    std::fprintf(stderr, "%s\n", qPrintable(g_install.error));
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
