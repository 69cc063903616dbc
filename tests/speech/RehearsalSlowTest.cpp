// Rehearsal on the demo: one random sentence of every phrase, spoken in two
// voices, heard by quorvane-cli rehearse against every category at once, must
// name its command. One utterance in twelve by default; QV_REHEARSAL_SAMPLE=N
// hears one in N, QV_REHEARSAL_VERBOSE=1 prints every miss.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <map>
#include <random>

#include "SpeechTestSupport.h"
#include "core/grammar/GrammarWriter.h"
#include "data/CommandList.h"
#include "speech/GrammarCompiler.h"
#include "speech/Pronouncer.h"
#include "speech/SpeechModel.h"

namespace qv::test {
namespace {

// A random sentence of an acyclic graph: at each state any arc, or the end
// when the state is final.
QString RandomSentence(const speech::CompileResult& r, const speech::WordGraph& g, std::mt19937& rng) {
  QStringList words;
  int s = g.Start();
  for (;;) {
    const auto out = g.Out(s);
    const size_t choices = out.size() + (g.IsFinal(s) ? 1 : 0);
    if (choices == 0) break;
    const size_t pick = std::uniform_int_distribution<size_t>(0, choices - 1)(rng);
    if (pick == out.size()) break;
    const auto& arc = out.begin()[pick];
    if (arc.label >= 0) words << r.words[static_cast<size_t>(arc.label)];
    s = arc.to;
  }
  return words.join(' ');
}

// Under the 77% measured on one utterance in three (a different draw from
// the default sample's), with room for the smaller sample's spread.
constexpr double kFloor = 0.65;

struct Said {
  QString file, sentence, event;
  int voice = 0;
};

TEST(RehearsalSlowTest, EveryPhraseOfTheDemoIsHeardAsItsCommand) {
  QTemporaryDir root;
  const QString install = BuildDemo(root.path() + "/built");
  const CliResult compiled = RunCli({"compile", install});
  ASSERT_EQ(compiled.exitCode, 0) << compiled.err.toStdString();

  std::vector<data::CommandRecord> commands;
  ASSERT_TRUE(data::ParseCommandList(ReadBytes(data::CommandListFilePath(install)), commands));

  // One grammar per phrase, compiled together with the installation's lists.
  const QString grammars = install + "/Grammars";
  std::vector<speech::SourceText> sources;
  for (const QString& f : QDir(grammars).entryList({"Generic Lists.bnf", "Navaid_*.bnf"}, QDir::Files))
    sources.push_back({f, ReadBytes(grammars + "/" + f)});
  std::map<QString, QString> eventOf;  // phrase grammar -> event name
  for (size_t c = 0; c < commands.size(); ++c)
    for (int p = 0; p < commands[c].grammars.size(); ++p) {
      const QString name = QString("P%1_%2").arg(c).arg(p);
      QString text = TestGrammarText(grammar::TranslatePhrase(commands[c].grammars[p].leftJustified(256)), true);
      text.replace("\n", "\r\n");
      sources.push_back({name + ".bnf", grammar::GrammarFileBytes(text)});
      eventOf[name] = commands[c].eventName.trimmed().toUpper();
    }
  speech::Pronouncer pronouncer(speech::FindSpeechModel(install).dictionary);
  const speech::CompileResult phrases = speech::CompileSources(sources, {}, pronouncer);
  ASSERT_EQ(phrases.ErrorCount(), 0) << Problems(phrases).toStdString();

  const int sample = std::max(
      1, qEnvironmentVariableIsSet("QV_REHEARSAL_SAMPLE") ? qEnvironmentVariableIntValue("QV_REHEARSAL_SAMPLE") : 12);
  std::mt19937 rng(20261206);
  std::vector<Said> said;
  for (const auto& g : phrases.grammars) {
    if (!eventOf.count(g.baseName)) continue;
    const QString sentence = RandomSentence(phrases, g.graph, rng);
    // Voice 1 and voice 3: two of the four, two speakers of different build.
    for (int voice : {1, 3}) {
      if (std::uniform_int_distribution<int>(0, sample - 1)(rng) != 0) continue;
      const QString file = root.path() + QString("/%1_v%2.wav").arg(g.baseName).arg(voice);
      Speak(sentence, voice, file);
      said.push_back({file, sentence, eventOf[g.baseName], voice});
    }
  }
  ASSERT_GE(said.size(), 2 * phrases.grammars.size() / (2 * static_cast<size_t>(sample)));

  QStringList args{"rehearse", install};
  for (const Said& s : said) args << s.file;
  QProcess cli;
  cli.start(QStringLiteral(QV_CLI_PATH), args);
  ASSERT_TRUE(cli.waitForFinished(3600000));
  ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
  const QStringList lines = QString::fromUtf8(cli.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), static_cast<qsizetype>(said.size()));

  std::map<int, std::pair<int, int>> perVoice;  // voice -> right, heard
  std::map<QString, int> confusions;            // "said -> heard as"
  for (size_t i = 0; i < said.size(); ++i) {
    const QStringList cols = lines[static_cast<qsizetype>(i)].split('\t');
    const QString heard = cols.size() >= 5 ? cols[2] : QString("(not a command)");
    auto& v = perVoice[said[i].voice];
    ++v.second;
    if (heard == said[i].event) {
      ++v.first;
      continue;
    }
    ++confusions[said[i].event + " -> " + heard];
    if (qEnvironmentVariableIsSet("QV_REHEARSAL_VERBOSE"))
      std::printf("miss: \"%s\" (%s) heard as %s\n", qPrintable(said[i].sentence), qPrintable(said[i].event),
                  qPrintable(lines[static_cast<qsizetype>(i)]));
  }
  int right = 0, heard = 0;
  for (const auto& [voice, v] : perVoice) {
    std::printf("voice %d: %d of %d heard as their command (%.1f%%)\n", voice, v.first, v.second,
                100.0 * v.first / v.second);
    right += v.first;
    heard += v.second;
  }
  std::printf("command-level accuracy %d/%d (%.1f%%); confusions:\n", right, heard, 100.0 * right / heard);
  for (const auto& [pair, n] : confusions) std::printf("  %dx %s\n", n, qPrintable(pair));
  EXPECT_GE(static_cast<double>(right) / heard, kFloor);
}

}  // namespace
}  // namespace qv::test
