#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include "TestEnv.h"
#include "speech/AudioSource.h"
#include "speech/Espeak.h"
#include "speech/GrammarCompiler.h"
#include "speech/Voices.h"

namespace qv::test {

// Every problem of a compile, one a line, for failure messages.
inline QString Problems(const speech::CompileResult& r) {
  QStringList lines;
  for (const auto& d : r.diagnostics) lines << d.ToString();
  return lines.join('\n');
}

// True when the compiled grammar of that name accepts the sentence.
inline bool Says(const speech::CompileResult& r, const QString& grammar, const QString& sentence) {
  for (const auto& g : r.grammars) {
    if (g.baseName != grammar) continue;
    std::vector<speech::WordGraph::Label> labels;
    for (const QString& w : sentence.split(' ', Qt::SkipEmptyParts)) {
      const auto it = std::find(r.words.begin(), r.words.end(), w);
      if (it == r.words.end()) return false;
      labels.push_back(static_cast<int>(it - r.words.begin()));
    }
    return g.graph.Accepts(labels);
  }
  return false;
}

// Writes a grammar file as the writers do: UTF-16LE after FF FE, CR LF.
inline void WriteBnf(const QString& path, const QString& text) {
  QDir().mkpath(QFileInfo(path).path());
  QString crlf = text;
  crlf.replace("\r\n", "\n").replace("\n", "\r\n");
  QFile f(path);
  f.open(QIODevice::WriteOnly);
  f.write("\xFF\xFE", 2);
  f.write(reinterpret_cast<const char*>(crlf.utf16()), crlf.size() * 2);
}

inline QString ImportBlock() {
  QStringList names{"SPD",     "ALT",      "CRS",       "HDG",          "MACH",       "DEGREES",
                    "N1REF",   "VS",       "VSNEG",     "TRANSPARENCY", "ALT_PRESS",  "DH_ALT",
                    "EGT_VAL", "ADF_FREQ", "COMM_FREQ", "NAV_FREQ",     "XPNDR_CODE", "SIM_RATE"};
  for (int i = 0; i < 10; ++i) names << QString("NUM_%1").arg(i);
  names << "WORD_ON";
  for (char c = 'A'; c <= 'Z'; ++c) names << QString("PHONETIC_%1").arg(c);
  names << "FLAP_SETTING";
  QString out;
  for (const auto& n : names) out += "!import<" + n + ">;\n";
  return out;
}

// A category grammar laid out as the category writer lays it out: a start
// rule per command, its action, then its phrases one a line.
struct CommandRule {
  QString rule, action;
  QStringList phrases;
};
inline QString CategoryGrammar(const QString& name, const QString& imports, const std::vector<CommandRule>& rules) {
  QString t = "!grammar \"" + name + "\";\n\n" + imports + "\n";
  for (const auto& r : rules) t += "!start<" + r.rule + ">;\n";
  for (const auto& r : rules)
    t += "\n<" + r.rule + ">:\n\t!action(\"" + r.action + "\")\n\t!ignore(\n\t\t(\n\t\t" + r.phrases.join("\n\t\t| ") +
         "\n\t\t)\n\t)\n;\n";
  return t;
}

// The shared list file used by the speech tests.
inline QString GenericListsFixture() { return QStringLiteral(QV_FIXTURES_DIR "/speech/Generic Lists.bnf"); }

// A one-command test grammar for `phrase` (already in the compiler notation).
inline QString TestGrammarText(const QString& phrase, bool navaids) {
  QString t = "!grammar \"Test\";\n\n" + ImportBlock();
  if (navaids) t += "!import<NAV_ID>;\n!import<NAV_NAME>;\n!import<RWY_APT_ID>;\n";
  t += "\n!start<TEST_COMMAND>;\n\n<TEST_COMMAND>:\n\t(\n\t\t" + phrase + "\n\t)\n;\n";
  return t;
}

// Small navaid grammars laid out as the navaid writers lay them out.
inline void WriteNavaidGrammars(const QString& dir) {
  QString ids = "!grammar \"NAVAID_IDS\";\n\n";
  for (char c = 'A'; c <= 'Z'; ++c) ids += QString("!import<PHONETIC_%1>;\n").arg(c);
  ids +=
      "!export<NAV_ID>;\n\n\n<NAV_ID>:\n\t(\n"
      "\t!ignore(<PHONETIC_S> <PHONETIC_E> <PHONETIC_A> | S E A)!action(\"SEA\")\n"
      "\t| !ignore(<PHONETIC_P> <PHONETIC_D> <PHONETIC_X> | P D X)!action(\"PDX\")\n"
      "\t| !ignore(<PHONETIC_O> <PHONETIC_L> <PHONETIC_M> | O L M)!action(\"OLM\")\n\t)\n;\n";
  WriteBnf(dir + "/Navaid_IDs.bnf", ids);
  WriteBnf(dir + "/Navaid_Names.bnf",
           "!grammar \"NAVAID_NAMES\";\n\n!export<NAV_NAME>;\n\n\n<NAV_NAME>:\n\t(\n"
           "\t!ignore(seattle)!action(\"SEA\")\n\t| !ignore(portland)!action(\"PDX\")\n"
           "\t| !ignore(olympia)!action(\"OLM\")\n\t)\n;\n");
  QString ils = "!grammar \"NAVAID_ILS\";\n\n";
  for (int i = 0; i < 10; ++i) ils += QString("!import<NUM_%1>;\n").arg(i);
  ils += "!import<WORD_ON>;\n";
  for (char c = 'A'; c <= 'Z'; ++c) ils += QString("!import<PHONETIC_%1>;\n").arg(c);
  ils +=
      "!export<RWY_APT_ID>;\n\n\n<RWY_APT_ID>:\n\t(\n"
      "\t!ignore(<NUM_1> <NUM_6> (left|lef)(I L S|i'll less|i elle-ess|tileless) !optional(at) "
      "(<PHONETIC_K> <PHONETIC_S> <PHONETIC_E> <PHONETIC_A> | K S E A))!action(\"KSEA16L:1\")\n"
      "\t| !ignore(<NUM_2> <NUM_8> (right|ry) (I L S|i'll less|i elle-ess|tileless) !optional(at) "
      "(<PHONETIC_K> <PHONETIC_P> <PHONETIC_D> <PHONETIC_X> | K P D X))!action(\"KPDX28R:2\")\n"
      "\t| !ignore(!optional(<NUM_0>) <NUM_9>(I L S|i'll less|i elle-ess|tileless) !optional(at) "
      "(<PHONETIC_K> <PHONETIC_B> <PHONETIC_F> <PHONETIC_I> | K B F I))!action(\"KBFI09:3\")\n\t)\n;\n";
  WriteBnf(dir + "/Navaid_ILSs.bnf", ils);
}

// An installation's test grammar for `phrase`, with the shared list file
// (and the small navaid grammars) beside it; returns the test folder.
inline QString MakeTestGrammar(const QString& install, const QString& phrase, bool navaids = false) {
  const QString test = install + "/Grammars/Test";
  QDir().mkpath(test);
  QFile::copy(GenericListsFixture(), test + "/Generic Lists.bnf");
  WriteBnf(test + "/Test.bnf", TestGrammarText(phrase, navaids));
  if (navaids) WriteNavaidGrammars(test);
  return test;
}

// A sentence in one of the four voices at the middle rate, as a WAV file.
inline void Speak(const QString& text, int voice, const QString& path) {
  ASSERT_TRUE(WriteSpokenWav(text, speech::EspeakVoiceFor(voice), speech::RateToWordsPerMinute(50), path));
}

// A sentence in a voice at 16 kHz, after half a second of silence and before
// `tail` seconds of it.
inline std::vector<int16_t> Said(const QString& text, const QString& voice, double tail = 0.5) {
  std::vector<int16_t> samples;
  int rate = 0;
  EXPECT_TRUE(speech::EspeakSynthesize(text, voice, 175, 100, samples, rate));
  std::vector<int16_t> out(speech::kSampleRate / 2, 0);
  const auto s16 = speech::Resample(samples, rate, speech::kSampleRate);
  out.insert(out.end(), s16.begin(), s16.end());
  out.insert(out.end(), size_t(tail * speech::kSampleRate), 0);
  return out;
}

// What quorvane-cli recognize made of each file, and its statistics summed.
struct Recognized {
  std::vector<QStringList> rows;  // one per file: name, code ("0": accepted), words
  QStringList stats;
  double audioSeconds = 0, decodeSeconds = 0;
  bool Accepted(size_t i) const { return rows[i].value(1) == "0"; }
  QString Heard(size_t i) const { return Accepted(i) ? rows[i].value(2) : QString(); }  // "" when turned away
};

inline Recognized Recognize(const QString& install, const QStringList& files, const QStringList& options = {}) {
  QProcess cli;
  cli.start(QStringLiteral(QV_CLI_PATH), QStringList{"recognize", install} + files + options);
  EXPECT_TRUE(cli.waitForFinished(600000));
  EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
  Recognized r;
  for (const QString& line : QString::fromUtf8(cli.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts))
    r.rows.push_back(line.split('\t'));
  r.stats = QString::fromUtf8(cli.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
  for (const QString& s : r.stats)
    for (const QString& kv : s.split('\t')) {
      if (kv.startsWith("audio=")) r.audioSeconds += kv.mid(6).toDouble();
      if (kv.startsWith("decode=")) r.decodeSeconds += kv.mid(7).toDouble();
    }
  EXPECT_EQ(r.rows.size(), size_t(files.size()));
  r.rows.resize(size_t(files.size()));
  return r;
}

// The demo installation built into `out`; returns its folder.
inline QString BuildDemo(const QString& out) {
  QProcess make;
  make.start(QStringLiteral(QV_TOOLS_DIR "/qv_make_demo"),
             {"--source", QStringLiteral(QV_DEMO_SOURCE_DIR), "--out", out});
  EXPECT_TRUE(make.waitForFinished(120000));
  EXPECT_EQ(make.exitCode(), 0) << make.readAllStandardError().toStdString();
  return out + "/FSX/Veltrane Software/Quorvane";
}

}  // namespace qv::test
