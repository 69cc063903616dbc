#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include "speech/GrammarCompiler.h"

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

}  // namespace qv::test
