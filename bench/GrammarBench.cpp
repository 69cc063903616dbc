// Phrase expansion and grammar file writing: a phrase with ten optional and
// three alternatives groups, the demo data, and a large synthetic
// installation (500 commands, 20,000 navaids and 20,000 ILS approaches)
// built in memory. Files are written into a scratch folder.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "BenchContext.h"
#include "base/FixedText.h"
#include "core/grammar/CheckExpandGrammar.h"
#include "core/grammar/GrammarWriter.h"
#include "core/shell/AppState.h"
#include "core/shell/Context.h"
#include "core/shell/Dialogs.h"
#include "core/shell/Shutdown.h"
#include "core/shell/StatusSink.h"
#include "data/BinaryIo.h"
#include "data/CommandList.h"
#include "data/IniFile.h"
#include "data/JsonFormats.h"
#include "data/NavaidLists.h"
#include "platform/Platform.h"

namespace {

using namespace qv;

using bench::BenchContext;

void BM_ExpandTenOptionalsThreeAlternatives(benchmark::State& st) {
  const QString phrase = base::Fixed(
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
    c.category = base::Fixed(QString("Category %1").arg(i % 25), data::kCategoryWidth);
    c.name = base::Fixed(QString("Command %1").arg(i), data::kNameWidth);
    c.eventName = base::Fixed(QString("EVENT_%1").arg(i), data::kEventNameWidth);
    c.helpText = base::Fixed("", data::kHelpTextWidth);
    c.functionNumber = static_cast<int16_t>(i);
    for (int p = 0; p < 5; ++p) c.grammars << base::Fixed(phrases[(i + p) % phrases.size()], data::kGrammarWidth);
    s.commands.push_back(c);
  }
  for (int i = 0; i < 25; ++i) s.categories << QString("Category %1").arg(i);
  for (int i = 0; i < 20000; ++i) {
    const QString id =
        QString("%1%2%3").arg(QChar('A' + i % 26)).arg(QChar('A' + (i / 26) % 26)).arg(QChar('A' + (i / 676) % 26));
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

// The demo's command list, navaid lists and settings, read from the readable
// sources the demo build uses.
bool LoadDemo(shell::AppState& s, QString& error) {
  const QString src = QStringLiteral(QV_DEMO_SOURCE_DIR);
  QByteArray bytes;
  if (!data::ReadWholeFile(src + "/Data/CommandList.json", bytes, data::kMaxJsonFileSize) ||
      !data::CommandsFromJson(bytes, s.commands, error))
    return false;
  s.categories = data::BuildCommandCategories(s.commands);
  if (!data::ReadWholeFile(src + "/Data/ILS_Info.txt", bytes, data::kMaxNavaidFileSize) ||
      !data::ParseIlsList(bytes.replace("\n", "\r\n"), s.ilsList))
    return false;
  if (!data::ReadWholeFile(src + "/Data/Nav_Info.txt", bytes, data::kMaxNavaidFileSize) ||
      !data::ParseNavaidList(bytes.replace("\n", "\r\n"), s.navaidList))
    return false;
  const data::IniFile ini = data::IniFile::Load(src + "/Installation/QV_Information.cfg");
  s.settings.compileNavaids = static_cast<int16_t>(ini.intValue("Main", "compileNavaids"));
  const int last = ini.intValue("Main", "numChecklistResponse");
  for (int n = 0; n <= last; ++n) {
    const QString section = "checklistResponse." + QString::number(n);
    s.settings.checklistResponses.push_back({ini.value(section, "response"), ini.intValue(section, "functionNumber")});
  }
  return true;
}

void BM_WriteAllGrammarsDemo(benchmark::State& st) {
  QTemporaryDir dir;
  PrepareFolder(dir.path());
  BenchContext b(dir.path());
  QString error;
  if (!LoadDemo(b.state, error)) {
    st.SkipWithError(qPrintable("the demo data could not be read " + error));
    return;
  }
  for (auto _ : st)
    if (grammar::WriteAllGrammars(b.ctx) != 0) st.SkipWithError("WriteAllGrammars failed");
  st.counters["commands"] = static_cast<double>(b.state.commands.size());
  st.counters["navaids"] = static_cast<double>(b.state.navaidList.size() + b.state.ilsList.size());
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
