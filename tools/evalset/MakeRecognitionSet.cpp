// Builds the recognition evaluation set from the demo's command list: for a
// spread of commands, one phrase each, the sentences to speak against that
// phrase's test grammar, and what must not be accepted by it (other commands'
// sentences, nearest first, and off-topic chatter). The result is a readable
// manifest; the slow speech test renders it into audio and scores the
// recogniser on it.
//
//   qv_make_recognition_set --commands demo/Data/CommandList.json
//       --lists "demo/Installation/Data/Generic Lists.bnf" --out SET.json
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <algorithm>
#include <cstdio>
#include <random>
#include <set>

#include "core/grammar/CheckExpandGrammar.h"
#include "data/JsonFormats.h"
#include "speech/GrammarSource.h"

namespace {

using namespace qv;

using Words = QStringList;

[[noreturn]] void Fail(const QString& message) {
  std::fprintf(stderr, "qv_make_recognition_set: %s\n", qPrintable(message));
  std::exit(1);
}

// Off-topic things a pilot might say with the microphone open. The first half
// goes with the tuning part of the set, the second with the held-out part.
const QStringList kChatter = {
    "please call my sister tomorrow",
    "what time is it in london",
    "I think we should order pizza tonight",
    "the coffee in this place is terrible",
    "did you remember to feed the cat",
    "how far is it to the hotel",
    "my phone battery is almost empty",
    "let me check the weather forecast",
    "we are going to be late again",
    "can you pass me the water bottle",
    "that cloud looks like a rabbit",
    "I need a new pair of headphones",
    "the kids have football practice on monday",
    "turn around and wave at the camera",
    "where did I put my sunglasses",
    "this seat is really uncomfortable",
    "the meeting was moved to thursday afternoon",
    "nice view of the mountains today",
    "remind me to buy some milk",
    "how much did the tickets cost",
    "my brother lives near the coast",
    "we should paint the kitchen green",
    "the dog barked all night long",
    "is there any chocolate left",
    "I forgot my wallet at home",
    "the traffic on the bridge was awful",
    "send the report before lunch",
    "have you seen the new movie yet",
    "let us go for a walk after dinner",
    "the garden needs some rain",
    "could you open the window a little",
    "I want to learn to play the piano",
    "the train leaves at half past seven",
    "my computer keeps crashing",
    "what a beautiful sunset over the lake",
    "put the groceries in the fridge",
    "her birthday party is on saturday",
    "this sandwich tastes funny",
    "we ran out of printer paper",
    "the neighbours are very noisy",
    "I will call you back in five minutes",
    "the baby finally fell asleep",
    "is the shop still open",
    "I left the lights on in the car",
    "how do you spell your last name",
    "the museum is closed on tuesdays",
    "we need more chairs for the guests",
    "my tea has gone cold",
    "tell me a joke about penguins",
    "the library books are overdue",
    "do you want to watch the game tonight",
    "there is a spider in the bathroom",
    "the bus was full this morning",
    "can we stop for fuel and snacks",
    "I lost the key to the shed",
    "the soup needs more salt",
    "our holiday starts next week",
    "who left the door open",
    "the printer is out of ink again",
    "let me know when you are ready",
};

QString Normalised(const QString& s) { return grammar::TrimSpaces(s).toLower().simplified(); }
bool IsRef(const QString& token) { return token.startsWith(u'<') && token.endsWith(u'>'); }

// The list rules of the shared list file, by upper-cased name.
class Lists {
 public:
  explicit Lists(const QString& path) {
    QString text;
    if (!speech::ReadGrammarText(path, text)) Fail("cannot read " + path);
    std::vector<speech::Diagnostic> diagnostics;
    m_file = speech::ParseGrammar(text, "lists", diagnostics);
    if (!diagnostics.empty()) Fail(diagnostics.front().ToString());
    for (const auto& r : m_file.rules) m_rules.insert(r.name.toUpper(), &r.body);
  }
  bool Has(const QString& name) const { return m_rules.contains(name.toUpper()); }

  // One random sentence of a rule.
  void Sample(const QString& name, std::mt19937& rng, Words& out) const {
    const auto* body = m_rules.value(name.toUpper());
    if (!body) Fail("no list rule " + name);
    Walk(*body, rng, out);
  }

  // The positions where a match of `name` starting at `from` can end.
  std::set<int> Match(const QString& name, const Words& words, int from) const {
    const auto* body = m_rules.value(name.toUpper());
    return body ? MatchNode(*body, words, {from}) : std::set<int>{};
  }

 private:
  void Walk(const speech::GrammarNode& n, std::mt19937& rng, Words& out) const {
    using K = speech::GrammarNode::Kind;
    switch (n.kind) {
      case K::Word: out << n.text.toLower(); break;
      case K::Ref: Sample(n.text, rng, out); break;
      case K::Sequence:
        for (const auto& c : n.children) Walk(c, rng, out);
        break;
      case K::Alternatives:
        if (!n.children.empty()) Walk(n.children[rng() % n.children.size()], rng, out);
        break;
      case K::Optional:
        if (rng() % 2)
          for (const auto& c : n.children) Walk(c, rng, out);
        break;
    }
  }

  std::set<int> MatchNode(const speech::GrammarNode& n, const Words& words, const std::set<int>& starts) const {
    using K = speech::GrammarNode::Kind;
    std::set<int> ends;
    switch (n.kind) {
      case K::Word:
        for (int s : starts)
          if (s < words.size() && words[s] == n.text.toLower()) ends.insert(s + 1);
        return ends;
      case K::Ref: {
        const auto* body = m_rules.value(n.text.toUpper());
        return body ? MatchNode(*body, words, starts) : ends;
      }
      case K::Sequence: {
        std::set<int> at = starts;
        for (const auto& c : n.children) at = MatchNode(c, words, at);
        return at;
      }
      case K::Alternatives:
        for (const auto& c : n.children) {
          const auto e = MatchNode(c, words, starts);
          ends.insert(e.begin(), e.end());
        }
        return ends;
      case K::Optional: {
        std::set<int> at = starts;
        for (const auto& c : n.children) at = MatchNode(c, words, at);
        at.insert(starts.begin(), starts.end());
        return at;
      }
    }
    return ends;
  }

  speech::GrammarFile m_file;
  QHash<QString, const speech::GrammarNode*> m_rules;
};

// One phrase of one command, expanded; list references stay as tokens.
struct Phrase {
  int command = 0;
  int grammar = 0;
  QString text;
  std::vector<Words> patterns;
};

bool Matches(const Lists& lists, const Words& pattern, const Words& words, int p, int w) {
  if (p == pattern.size()) return w == words.size();
  if (!IsRef(pattern[p]))
    return w < words.size() && words[w] == pattern[p] && Matches(lists, pattern, words, p + 1, w + 1);
  for (int end : lists.Match(pattern[p].mid(1, pattern[p].size() - 2), words, w))
    if (Matches(lists, pattern, words, p + 1, end)) return true;
  return false;
}

bool InLanguage(const Lists& lists, const Phrase& phrase, const Words& words) {
  return std::any_of(phrase.patterns.begin(), phrase.patterns.end(),
                     [&](const Words& p) { return Matches(lists, p, words, 0, 0); });
}

Words Instantiate(const Lists& lists, const Words& pattern, std::mt19937& rng) {
  Words out;
  for (const QString& t : pattern) {
    if (IsRef(t))
      lists.Sample(t.mid(1, t.size() - 2), rng, out);
    else
      out << t;
  }
  return out;
}

int Distance(const Words& a, const Words& b) {
  std::vector<int> row(b.size() + 1);
  for (int j = 0; j <= b.size(); ++j) row[j] = j;
  for (int i = 1; i <= a.size(); ++i) {
    int diag = row[0];
    row[0] = i;
    for (int j = 1; j <= b.size(); ++j) {
      const int up = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diag + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diag = up;
    }
  }
  return row[b.size()];
}

template <typename T>
void Shuffle(std::vector<T>& v, std::mt19937& rng) {
  for (size_t i = v.size(); i > 1; --i) std::swap(v[i - 1], v[rng() % i]);
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QCommandLineParser p;
  p.addOption({"commands", "the demo's command list (JSON)", "file"});
  p.addOption({"lists", "the shared list grammar", "file"});
  p.addOption({"out", "the manifest to write", "file"});
  p.addOption({"items", "number of commands", "n", "48"});
  p.addOption({"seed", "random seed", "n", "2024"});
  p.addOption({"list-share", "share of phrases with a list reference", "x", "0.2"});
  p.process(app);
  const int itemCount = p.value("items").toInt();
  const unsigned seed = p.value("seed").toUInt();
  std::mt19937 rng(seed);

  QFile cf(p.value("commands"));
  if (!cf.open(QIODevice::ReadOnly)) Fail("cannot read " + p.value("commands"));
  std::vector<data::CommandRecord> commands;
  QString error;
  if (!data::CommandsFromJson(cf.readAll(), commands, error)) Fail(error);
  const Lists lists(p.value("lists"));

  // Every phrase that a test grammar can hold without the navaid grammars.
  std::vector<Phrase> phrases;
  QMap<int, std::vector<int>> byCommand;  // command -> its phrases' indices
  for (int c = 0; c < static_cast<int>(commands.size()); ++c) {
    for (int g = 0; g < commands[c].grammars.size(); ++g) {
      const QString text = grammar::TrimSpaces(commands[c].grammars[g]);
      QStringList sentences;
      if (grammar::ExpandToSentences(text, sentences) != grammar::Expansion::Ok) continue;
      Phrase ph{c, g, text, {}};
      bool usable = true;
      for (const QString& s : sentences) {
        const Words w = Normalised(s).split(u' ', Qt::SkipEmptyParts);
        for (const QString& t : w)
          if (IsRef(t) && !lists.Has(t.mid(1, t.size() - 2))) usable = false;
        if (!w.isEmpty()) ph.patterns.push_back(w);
      }
      if (!usable || ph.patterns.empty()) continue;
      byCommand[c].push_back(static_cast<int>(phrases.size()));
      phrases.push_back(std::move(ph));
    }
  }

  // Commands spread over the categories: shuffled, then taken in turns. A
  // share of them is tested on a phrase with a list reference, whose test
  // grammars are far larger.
  auto hasList = [&](int phraseIndex) {
    for (const Words& w : phrases[phraseIndex].patterns)
      if (std::any_of(w.begin(), w.end(), IsRef)) return true;
    return false;
  };
  QMap<int, std::vector<int>> listPhrases, plainPhrases;
  for (auto it = byCommand.begin(); it != byCommand.end(); ++it)
    for (int i : *it) (hasList(i) ? listPhrases : plainPhrases)[it.key()].push_back(i);
  const int listItems = static_cast<int>(itemCount * p.value("list-share").toDouble() + 0.5);
  std::vector<std::pair<int, int>> chosen;  // command, phrase
  auto choose = [&](QMap<int, std::vector<int>>& pool, int count) {
    QMap<QString, std::vector<int>> byCategory;
    const QList<int> keys = pool.keys();
    std::vector<int> order(keys.begin(), keys.end());
    Shuffle(order, rng);
    for (int c : order) byCategory[grammar::TrimSpaces(commands[c].category)].push_back(c);
    const size_t target = chosen.size() + count;
    for (size_t round = 0; chosen.size() < target; ++round) {
      bool any = false;
      for (auto it = byCategory.begin(); it != byCategory.end() && chosen.size() < target; ++it) {
        if (round >= it->size()) continue;
        const int c = (*it)[round];
        if (std::any_of(chosen.begin(), chosen.end(), [c](auto& e) { return e.first == c; })) continue;
        chosen.emplace_back(c, pool[c][rng() % pool[c].size()]);
        any = true;
      }
      if (!any) break;
    }
  };
  choose(listPhrases, listItems);
  choose(plainPhrases, itemCount - static_cast<int>(chosen.size()));
  Shuffle(chosen, rng);

  QJsonArray items;
  int itemNo = 0;
  for (const auto& [c, phraseIndex] : chosen) {
    const Phrase& ph = phrases[phraseIndex];
    const bool heldOut = itemNo % 2 == 1;

    // Two different sentences of the phrase (one when it has only one).
    std::vector<Words> pats = ph.patterns;
    Shuffle(pats, rng);
    QJsonArray sentences;
    QStringList taken;
    for (size_t k = 0; k < pats.size() * 3 && sentences.size() < 2; ++k) {
      const QString s = Instantiate(lists, pats[k % pats.size()], rng).join(u' ');
      if (taken.contains(s)) continue;
      sentences.append(s);
      taken << s;
    }

    // Other commands' sentences, nearest to this phrase first.
    struct Candidate {
      int distance;
      unsigned tie;
      const Phrase* phrase;
      const Words* pattern;
    };
    std::vector<Candidate> pool;
    for (const Phrase& other : phrases) {
      if (grammar::TrimSpaces(commands[other.command].eventName) == grammar::TrimSpaces(commands[c].eventName))
        continue;
      for (const Words& op : other.patterns) {
        int d = 1 << 20;
        for (const Words& tp : ph.patterns) d = std::min(d, Distance(op, tp));
        if (d > 0) pool.push_back({d, static_cast<unsigned>(rng()), &other, &op});
      }
    }
    std::sort(pool.begin(), pool.end(), [](const Candidate& a, const Candidate& b) {
      return a.distance != b.distance ? a.distance < b.distance : a.tie < b.tie;
    });
    QJsonArray outside;
    QStringList used = taken;
    for (const Candidate& k : pool) {
      if (outside.size() >= 4) break;
      Words w;
      for (int attempt = 0; attempt < 5; ++attempt) {
        w = Instantiate(lists, *k.pattern, rng);
        if (!InLanguage(lists, ph, w)) break;
        w.clear();
      }
      const QString s = w.join(u' ');
      if (w.isEmpty() || used.contains(s)) continue;
      used << s;
      outside.append(QJsonObject{{"kind", k.distance == 1 ? "near miss" : "other command"},
                                 {"text", s},
                                 {"from", grammar::TrimSpaces(commands[k.phrase->command].eventName)}});
    }
    const int half = kChatter.size() / 2;
    for (int k = 0; k < 2; ++k) {
      const int pick = (itemNo / 2 * 2 + k) % half + (heldOut ? half : 0);
      outside.append(QJsonObject{{"kind", "chatter"}, {"text", kChatter[pick]}});
    }
    items.append(QJsonObject{{"part", heldOut ? "held-out" : "tuning"},
                             {"eventName", grammar::TrimSpaces(commands[c].eventName)},
                             {"phrase", ph.text},
                             {"sentences", sentences},
                             {"outOfGrammar", outside}});
    ++itemNo;
  }

  const QJsonObject manifest{{"about",
                              "Recognition evaluation set built from the demo command list by qv_make_recognition_set; "
                              "the slow speech test renders each entry with the settings below."},
                             {"seed", static_cast<int>(seed)},
                             {"voices", QJsonArray{1, 2, 3, 4}},
                             {"ratesWpm", QJsonArray{130, 160, 190, 225}},
                             {"padSeconds", QJsonArray{0.4, 0.8}},
                             {"floorLevelDb", -62},
                             {"noisySnrDb", 15},
                             {"noiseClipSeconds", QJsonArray{1.0, 2.5}},
                             {"items", items}};
  QFile out(p.value("out"));
  if (!out.open(QIODevice::WriteOnly) || out.write(QJsonDocument(manifest).toJson()) < 0)
    Fail("cannot write the manifest");
  std::printf("%d entries written to %s\n", static_cast<int>(items.size()), qPrintable(p.value("out")));
  return 0;
}
