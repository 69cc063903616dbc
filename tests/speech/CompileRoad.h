#pragma once

// From a user's tables through the grammar writers to the compiler, for the
// property tests and the fuzz target: random tables every reader accepts, the
// writers' files of them, and a compile.

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <cstdint>
#include <random>
#include <vector>

#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "core/grammar/CheckExpandGrammar.h"
#include "core/grammar/GrammarWriter.h"
#include "core/grammar/NavaidGrammar.h"
#include "core/shell/AppState.h"
#include "core/shell/Dialogs.h"
#include "data/CommandList.h"
#include "speech/GrammarCompiler.h"
#include "speech/Pronouncer.h"
#include "speech/SpeechModel.h"

namespace qv::test::road {

// Where choices come from: a fuzzer's bytes (zeros once they run out) or a
// seeded generator.
class Entropy {
 public:
  Entropy(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
  explicit Entropy(uint32_t seed) : m_rng(seed), m_seeded(true) {}
  uint32_t Next() {
    if (m_seeded) return static_cast<uint32_t>(m_rng());
    uint32_t v = 0;
    for (int i = 0; i < 2; ++i) v = (v << 8) | (m_pos < m_size ? m_data[m_pos++] : 0);
    return v;
  }
  int Below(int n) { return n <= 1 ? 0 : static_cast<int>(Next() % static_cast<uint32_t>(n)); }
  bool Chance(int percent) { return Below(100) < percent; }

 private:
  const uint8_t* m_data = nullptr;
  size_t m_size = 0, m_pos = 0;
  std::mt19937 m_rng;
  bool m_seeded = false;
};

// Every character of the code page, for the fields that take any.
inline QChar AnyCharacter(Entropy& e) {
  const char byte = static_cast<char>(e.Below(256));
  return base::FromCp1252(&byte, 1).at(0);
}

// A refused character becomes a letter, so that the text is made from the
// entropy at hand even once a fuzzer's bytes have run out.
inline QString AnyText(Entropy& e, int longest, const QString& refused = QString()) {
  QString s;
  const int n = e.Below(longest + 1);
  while (s.size() < n) {
    const QChar c = AnyCharacter(e);
    s += refused.contains(c) ? QChar(u'a' + c.unicode() % 26) : c;
  }
  return s;
}

// Words of phrases, with the marks the phrase language allows inside words.
inline const QStringList& PhraseWords() {
  static const QStringList words{"set",    "heading", "on",    "ON", "lights",      "gear", "down", "x-ray",
                                 "o'hare", "st.",     "flaps", "10", "A320",        "k_s",  "-",    ".",
                                 "'",      "_",       "--",    ",",  "rock'n'roll", "Nav",  "one",  "tileless"};
  return words;
}

inline const QStringList& ListNames() {
  static const QStringList names{"HDG",        "hdg",   "ALT",     "Flap_Setting", "NAV_ID",     "nav_id", "NAV_NAME",
                                 "RWY_APT_ID", "NUM_5", "WORD_ON", "PHONETIC_Q",   "NOT_A_LIST", " HDG ",  "SIM_RATE"};
  return names;
}

// A phrase the phrase check accepts: words, marks, list references, stray
// angle brackets and bars, groups of both kinds nested in any way, empty
// ones included.
inline QString PhraseItems(Entropy& e, int depth) {
  QStringList items;
  const int n = 1 + e.Below(4);
  for (int i = 0; i < n; ++i) {
    const int kind = e.Below(100);
    if (kind < 45) {
      items << PhraseWords()[e.Below(static_cast<int>(PhraseWords().size()))];
    } else if (kind < 58) {
      items << "<" + ListNames()[e.Below(static_cast<int>(ListNames().size()))] + ">";
    } else if (kind < 63) {
      items << QStringList{"<", ">", "<>", "|", "< >", "a<b"}[e.Below(6)];
    } else if (kind < 80 && depth < 3) {
      QStringList alternatives;
      const int m = 1 + e.Below(3);
      for (int a = 0; a < m; ++a) alternatives << (e.Chance(20) ? QString() : PhraseItems(e, depth + 1));
      items << "[" + alternatives.join('|') + "]";
    } else if (depth < 3) {
      items << "(" + (e.Chance(15) ? QString() : PhraseItems(e, depth + 1)) + ")";
    } else {
      items << "now";
    }
  }
  return items.join(e.Chance(90) ? " " : "");
}

inline QString LegalPhrase(Entropy& e) {
  for (;;) {
    const QString p = PhraseItems(e, 0);
    if (p.size() <= data::kGrammarWidth && grammar::CheckGrammar(p)) return p;
  }
}

inline bool ReservedCategory(const QString& trimmed) {
  // These names are the writers' own files; a category so named would be
  // overwritten by them (or overwrite the shared list file).
  for (const char* name : {"Generic Lists", "Navaid_IDs", "Navaid_Names", "Navaid_ILSs", "ChecklistResponses", "Test"})
    if (trimmed.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return true;
  return false;
}

// Random tables every reader accepts.
inline void RandomTables(Entropy& e, shell::AppState& state) {
  state.commands.clear();
  QStringList categories{"Radios", "Lights"};
  for (int i = e.Below(3); i > 0; --i) {
    QString c = AnyText(e, 12, QString(QChar(u'/')) + QChar(u'\0'));
    if (!ReservedCategory(grammar::TrimSpaces(c))) categories << c;
  }
  static const char* const kNavaidEvents[] = {"RADIO_NAV1_SELECT_ILS", "RADIO_NAV1_SELECT_VOR",
                                              "RADIO_NAV2_SELECT_VOR"};
  const int commands = 1 + e.Below(14);
  for (int i = 0; i < commands; ++i) {
    data::CommandRecord c;
    c.category = base::Fixed(categories[e.Below(static_cast<int>(categories.size()))], data::kCategoryWidth);
    c.name = base::Fixed(AnyText(e, 20), data::kNameWidth);
    QString event;
    switch (e.Below(4)) {
      case 0: event = kNavaidEvents[e.Below(3)]; break;
      case 1: event = AnyText(e, 30); break;
      default: event = QString("EVENT_%1").arg(e.Below(12)); break;  // some shared by two commands
    }
    c.eventName = base::Fixed(event, data::kEventNameWidth);
    c.helpText = base::Fixed(AnyText(e, 20), data::kHelpTextWidth);
    c.functionNumber = static_cast<int16_t>(e.Next() & 0xFFFF);
    for (int p = e.Below(4); p > 0; --p) c.grammars << base::Fixed(LegalPhrase(e), data::kGrammarWidth);
    state.commands.push_back(std::move(c));
  }
  state.categories = data::BuildCommandCategories(state.commands);
  state.settings.compileNavaids = static_cast<int16_t>(QList<int>{1, 1, 0, 2, -1}[e.Below(5)]);
  state.settings.checklistResponses.clear();
  for (int i = e.Below(4); i > 0; --i)
    state.settings.checklistResponses.push_back({AnyText(e, 16, "\r\n"), static_cast<int>(e.Below(1000))});
  const QString notInNavaidFields = "\r\n|";
  state.navaidList.clear();
  for (int i = e.Below(40); i > 0; --i)
    state.navaidList.push_back(
        {AnyText(e, 6, notInNavaidFields), AnyText(e, 24, notInNavaidFields), AnyText(e, 10, notInNavaidFields)});
  state.ilsList.clear();
  for (int i = e.Below(40); i > 0; --i)
    state.ilsList.push_back({AnyText(e, 6, notInNavaidFields), AnyText(e, 5, notInNavaidFields),
                             AnyText(e, 10, notInNavaidFields), static_cast<int16_t>(e.Next() & 0xFFFF)});
}

// The shared list file as delivered (kept readable in the demo sources).
inline QByteArray DeliveredLists() {
  static const QByteArray bytes = [] {
    QFile f(QStringLiteral(QV_DEMO_SOURCE_DIR "/Installation/Data/Generic Lists.bnf"));
    f.open(QIODevice::ReadOnly);
    return f.readAll();
  }();
  return bytes;
}

// The files the writers make of the tables, as WriteAllGrammars writes them
// into the grammar folder (navaid files only while the switch is 1).
inline std::vector<speech::SourceText> WriterOutput(const shell::AppState& state) {
  std::vector<speech::SourceText> files;
  files.push_back({"Generic Lists.bnf", DeliveredLists()});
  for (const QString& category : state.categories)
    files.push_back({grammar::CategoryFileName(category),
                     grammar::GrammarFileBytes(grammar::BuildCategoryGrammar(state, category))});
  files.push_back(
      {"ChecklistResponses.bnf", grammar::GrammarFileBytes(grammar::BuildChecklistResponseGrammar(state.settings))});
  if (state.settings.compileNavaids == 1) {
    shell::SilentDialogs d;
    files.push_back(
        {"Navaid_IDs.bnf", grammar::GrammarFileBytes(grammar::BuildNavaidIdGrammar(state.navaidList, d, false))});
    files.push_back(
        {"Navaid_Names.bnf", grammar::GrammarFileBytes(grammar::BuildNavaidNameGrammar(state.navaidList, d, false))});
    files.push_back({"Navaid_ILSs.bnf", grammar::GrammarFileBytes(grammar::BuildIlsGrammar(state.ilsList, d, false))});
  }
  return files;
}

inline speech::Pronouncer& SystemPronouncer() {
  static speech::Pronouncer p(speech::FindSpeechModel(QString()).dictionary);
  return p;
}

inline speech::CompileResult Compile(const std::vector<speech::SourceText>& files, const QString& onlyFile = {}) {
  speech::CompileOptions options;
  options.onlyFile = onlyFile;
  return speech::CompileSources(files, options, SystemPronouncer());
}

}  // namespace qv::test::road
