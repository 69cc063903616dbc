// Compiling grammar folders: a small installation like the demo and a large
// synthetic one (500 commands, 20,000 navaids with their ILS approaches).
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <random>

#include "speech/CompilerEngine.h"

namespace {

void WriteBnf(const QString& path, const QString& text) {
  QString crlf = text;
  crlf.replace("\n", "\r\n");
  QFile f(path);
  f.open(QIODevice::WriteOnly);
  f.write("\xFF\xFE", 2);
  f.write(reinterpret_cast<const char*>(crlf.utf16()), crlf.size() * 2);
}

QString Imports(bool navaids) {
  QStringList names{"SPD",     "ALT",      "CRS",       "HDG",          "MACH",       "DEGREES",
                    "N1REF",   "VS",       "VSNEG",     "TRANSPARENCY", "ALT_PRESS",  "DH_ALT",
                    "EGT_VAL", "ADF_FREQ", "COMM_FREQ", "NAV_FREQ",     "XPNDR_CODE", "SIM_RATE"};
  for (int i = 0; i < 10; ++i) names << QString("NUM_%1").arg(i);
  names << "WORD_ON";
  for (char c = 'A'; c <= 'Z'; ++c) names << QString("PHONETIC_%1").arg(c);
  names << "FLAP_SETTING";
  if (navaids)
    names << "NAV_ID"
          << "NAV_NAME"
          << "RWY_APT_ID";
  QString out;
  for (const auto& n : names) out += "!import<" + n + ">;\n";
  return out;
}

const char* kVerbs[] = {"set", "turn", "select", "arm", "check", "toggle", "engage", "release"};
const char* kThings[] = {"landing lights", "strobes",   "autopilot",   "heading",       "altitude",
                         "flaps",          "gear",      "speed brake", "parking brake", "transponder",
                         "beacon",         "fuel pump", "de ice",      "pitot heat"};

// Category files in the writers' layout: `commands` spread over 20 categories.
void WriteCategories(const QString& dir, int commands, bool navaids) {
  std::mt19937 rng(7);
  for (int c = 0; c < 20; ++c) {
    const bool radios = c == 0;
    QString starts, rules;
    for (int i = c; i < commands; i += 20) {
      const QString name = QString("COMMAND_%1").arg(i);
      const QString thing = kThings[rng() % std::size(kThings)];
      starts += "!start<" + name + ">;\n";
      QStringList phrases{QString(kVerbs[rng() % std::size(kVerbs)]) + " !optional(the) " + thing + " <WORD_ON>",
                          "(" + thing + "|the " + thing + ") " + kVerbs[rng() % std::size(kVerbs)],
                          "set " + thing + " to <HDG>"};
      if (radios && navaids)
        phrases << "tune nav one to <NAV_ID>"
                << "select <NAV_NAME> vor"
                << "tune ils <RWY_APT_ID>";
      rules += "<" + name + ">:\n\t!action(\"|" + QString::number(i) + ":\")\n\t!ignore(\n\t\t(\n\t\t" +
               phrases.join("\n\t\t| ") + "\n\t\t)\n\t)\n;\n\n";
    }
    WriteBnf(dir + QString("/Category%1.bnf").arg(c), QString("!grammar \"Category%1\";\n\n").arg(c) +
                                                          Imports(radios && navaids) + "\n" + starts + "\n" + rules);
  }
}

QString Name(std::mt19937& rng) {
  static const char* syl[] = {"ka",  "lo",  "mer", "ton", "vi",  "sa",   "dor",
                              "ben", "ril", "pa",  "gan", "ste", "wood", "ford"};
  QString n;
  const int k = 2 + static_cast<int>(rng() % 2);
  for (int i = 0; i < k; ++i) n += syl[rng() % std::size(syl)];
  return n;
}

void WriteNavaids(const QString& dir, int navaids) {
  std::mt19937 rng(11);
  QString ids = "!grammar \"NAVAID_IDS\";\n\n";
  for (char c = 'A'; c <= 'Z'; ++c) ids += QString("!import<PHONETIC_%1>;\n").arg(c);
  ids += "!export<NAV_ID>;\n\n\n<NAV_ID>:\n\t(\n";
  QString names = "!grammar \"NAVAID_NAMES\";\n\n!export<NAV_NAME>;\n\n\n<NAV_NAME>:\n\t(\n";
  QString ils = "!grammar \"NAVAID_ILS\";\n\n";
  for (int i = 0; i < 10; ++i) ils += QString("!import<NUM_%1>;\n").arg(i);
  ils += "!import<WORD_ON>;\n";
  for (char c = 'A'; c <= 'Z'; ++c) ils += QString("!import<PHONETIC_%1>;\n").arg(c);
  ils += "!export<RWY_APT_ID>;\n\n\n<RWY_APT_ID>:\n\t(\n";
  for (int i = 0; i < navaids; ++i) {
    QString ph, letters;
    for (int k = 0; k < 3; ++k) {
      const char c = static_cast<char>('A' + rng() % 26);
      ph += QString("<PHONETIC_%1> ").arg(c);
      letters += QString("%1 ").arg(c);
    }
    const QString lead = i == 0 ? "\t" : "\t| ";
    ids +=
        lead + "!ignore(" + ph.trimmed() + " | " + letters.trimmed() + ")!action(\"ID" + QString::number(i) + "\")\n";
    names += lead + "!ignore(" + Name(rng) + ")!action(\"NM" + QString::number(i) + "\")\n";
    if (i % 4 == 0)
      ils += lead +
             QString("!ignore(<NUM_%1> <NUM_%2> (left|lef)(I L S|i'll less|i elle-ess|tileless) !optional(at) (")
                 .arg(rng() % 4)
                 .arg(rng() % 10) +
             ph.trimmed() + " | " + letters.trimmed() + "))!action(\"ILS:" + QString::number(i) + "\")\n";
  }
  WriteBnf(dir + "/Navaid_IDs.bnf", ids + "\t)\n;\n");
  WriteBnf(dir + "/Navaid_Names.bnf", names + "\t)\n;\n");
  WriteBnf(dir + "/Navaid_ILSs.bnf", ils + "\t)\n;\n");
}

void Run(benchmark::State& state, int commands, int navaids) {
  QTemporaryDir root;
  const QString grammars = root.path() + "/Grammars";
  QDir().mkpath(grammars);
  QFile::copy(QStringLiteral(QV_FIXTURES_DIR "/speech/Generic Lists.bnf"), grammars + "/Generic Lists.bnf");
  WriteCategories(grammars, commands, navaids > 0);
  if (navaids > 0) WriteNavaids(grammars, navaids);
  for (auto _ : state) {
    const auto result = qv::speech::CompileFolder(grammars, QString());
    if (!result.Ok()) state.SkipWithError(result.diagnostics.front().ToString().toUtf8().constData());
    state.counters["grammars"] = static_cast<double>(result.grammars.size());
    state.counters["addedWords"] = static_cast<double>(result.addedWords.size());
  }
}

void BM_CompileDemoSized(benchmark::State& state) { Run(state, 120, 0); }
BENCHMARK(BM_CompileDemoSized)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_CompileSynthetic500Commands20000Navaids(benchmark::State& state) { Run(state, 500, 20000); }
BENCHMARK(BM_CompileSynthetic500Commands20000Navaids)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
