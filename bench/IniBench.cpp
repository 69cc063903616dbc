// Reading the settings file: one parse serving every key, against the
// one-file-read-per-key pattern of the plain access routines.
#include <benchmark/benchmark.h>

#include <QString>

#include "data/IniFile.h"

namespace {

const QString kSettings = QStringLiteral(QV_DEMO_SOURCE_DIR "/Installation/QV_Information.cfg");

void BM_ParseOnceReadAll(benchmark::State& state) {
  for (auto _ : state) {
    const auto ini = qv::data::IniFile::Load(kSettings);
    int sum = 0;
    for (int n = 0; n < 14; ++n) sum += ini.intValue("checklistResponse." + QString::number(n), "functionNumber");
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_ParseOnceReadAll);

void BM_ReadPerKey(benchmark::State& state) {
  for (auto _ : state) {
    int sum = 0;
    for (int n = 0; n < 14; ++n)
      sum += qv::data::ReadIniInt("checklistResponse." + QString::number(n), "functionNumber", kSettings);
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_ReadPerKey);

}  // namespace

BENCHMARK_MAIN();
