// Commands heard alike: shared sentences and beginnings found against
// enumeration on random graphs, and the compiler's warnings at the phrases.
#include <gtest/gtest.h>

#include <random>

#include "CompileRoad.h"
#include "SpeechTestSupport.h"
#include "speech/Overlaps.h"

namespace qv::test {
namespace {

using speech::WordGraph;
using Sentence = std::vector<WordGraph::Label>;

// A random acyclic graph over `words` words: states in order, arcs forward
// only, every state reachable; calls of rule 0 where `calls` allows.
WordGraph RandomGraph(std::mt19937& rng, int words, bool calls) {
  WordGraph g;
  const int n = std::uniform_int_distribution<int>(2, 6)(rng);
  for (int i = 0; i < n; ++i) g.AddState();
  g.SetStart(0);
  std::uniform_int_distribution<int> word(0, words - 1), coin(0, 9);
  for (int i = 0; i + 1 < n; ++i) {
    const int arcs = 1 + coin(rng) % 2;
    for (int k = 0; k < arcs; ++k) {
      const int to = std::uniform_int_distribution<int>(i + 1, n - 1)(rng);
      const int c = coin(rng);
      g.AddArc(i, calls && c == 0 ? WordGraph::Call(0) : c == 1 ? WordGraph::kEmpty : word(rng), to);
    }
    if (coin(rng) < 3) g.SetFinal(i);
  }
  g.SetFinal(n - 1);
  return g;
}

bool ProperPrefixOf(const Sentence& a, const Sentence& b) {
  return a.size() < b.size() && std::equal(a.begin(), a.end(), b.begin());
}

// Sentences in common and beginnings agree with what enumerating both
// languages finds; every example given is one both graphs say.
TEST(Overlaps, AgreeWithEnumerationOnRandomGraphs) {
  std::mt19937 rng(20261206);
  int shared = 0, prefixes = 0;
  for (int round = 0; round < 400; ++round) {
    const bool calls = round % 2 == 1;
    const WordGraph callee = RandomGraph(rng, 3, false);
    const speech::CalleeGraphs lookup = [&](int rule) { return rule == 0 ? &callee : nullptr; };
    const WordGraph a = RandomGraph(rng, 3, calls), b = RandomGraph(rng, 3, calls);
    const auto found = speech::FindSharedSentences(a, b, lookup);
    const WordGraph pa = speech::Splice(a, lookup), pb = speech::Splice(b, lookup);
    const auto sa = pa.Sentences(5000), sb = pb.Sentences(5000);
    bool both = false, aFirst = false, bFirst = false;
    for (const Sentence& x : sa)
      for (const Sentence& y : sb) {
        both = both || x == y;
        aFirst = aFirst || ProperPrefixOf(x, y);
        bFirst = bFirst || ProperPrefixOf(y, x);
      }
    if (found.both) {
      EXPECT_TRUE(pa.Accepts(*found.both) && pb.Accepts(*found.both)) << round;
      EXPECT_TRUE(speech::AcceptsThroughCalls(a, *found.both, lookup)) << round;
    }
    for (const auto* p : {&found.aBeforeB, &found.bBeforeA}) {
      if (!*p) continue;
      const Sentence head((*p)->words.begin(), (*p)->words.begin() + static_cast<std::ptrdiff_t>((*p)->prefix));
      const bool aShort = p == &found.aBeforeB;
      EXPECT_TRUE((aShort ? pa : pb).Accepts(head)) << round;
      EXPECT_TRUE((aShort ? pb : pa).Accepts((*p)->words)) << round;
      EXPECT_LT((*p)->prefix, (*p)->words.size()) << round;
    }
    // Without calls the search is exact; a call met by both sides at once
    // is passed over whole, which may leave a rarer case unseen.
    if (!calls) {
      EXPECT_EQ(found.both.has_value(), both) << round;
      EXPECT_EQ(found.aBeforeB.has_value(), aFirst) << round;
      EXPECT_EQ(found.bBeforeA.has_value(), bFirst) << round;
    } else if (found.both) {
      EXPECT_TRUE(both) << round;
    }
    shared += both;
    prefixes += aFirst || bFirst;
  }
  // The generator makes both kinds often enough for the test to mean something.
  EXPECT_GT(shared, 40);
  EXPECT_GT(prefixes, 40);
}

// A list reached by both commands at the same place is not walked: the
// search stays small however long the list.
TEST(Overlaps, SharedCallIsPassedOverWhole) {
  WordGraph list;
  list.SetStart(list.AddState());
  const int end = list.AddState();
  list.SetFinal(end);
  for (int w = 10; w < 20010; ++w) list.AddArc(0, w, end);
  const speech::CalleeGraphs lookup = [&](int) { return &list; };
  auto command = [](std::vector<WordGraph::Label> labels) {
    WordGraph g;
    int s = g.AddState();
    g.SetStart(s);
    for (auto l : labels) {
      const int t = g.AddState();
      g.AddArc(s, l, t);
      s = t;
    }
    g.SetFinal(s);
    return g;
  };
  const auto found =
      speech::FindSharedSentences(command({1, WordGraph::Call(0)}), command({1, WordGraph::Call(0), 2}), lookup);
  EXPECT_FALSE(found.both);
  ASSERT_TRUE(found.aBeforeB);
  EXPECT_EQ(found.aBeforeB->prefix, 2u);
  EXPECT_EQ(found.aBeforeB->words.size(), 3u);
  EXPECT_EQ(found.aBeforeB->words.back(), 2);
  // A word of the list against the list: the search follows the one word.
  const auto word = speech::FindSharedSentences(command({1, 15000}), command({1, WordGraph::Call(0)}), lookup);
  ASSERT_TRUE(word.both);
  EXPECT_EQ(*word.both, (Sentence{1, 15000}));
}

// In a category file the warnings stand at the phrases that say the
// sentence and name the other phrase's line; phrases that only look alike
// are left alone.
TEST(Overlaps, CompilerWarnsAtBothPhrases) {
  const QString text =
      CategoryGrammar("Lights", ImportBlock(),
                      {{"LANDING_ON", "|1", {"turn on the landing lights", "landing lights on !optional(please)"}},
                       {"ANY_ON", "|2", {"(landing|taxi) (light|lights) (on|off)"}},
                       {"HDG_SET", "|3:", {"heading <HDG>"}},
                       {"HDG_HOLD", "|4:", {"hold heading", "heading <HDG> hold"}}});
  const auto r = road::Compile(
      {{"Lights.bnf", grammar::GrammarFileBytes(text)}, {"Generic Lists.bnf", ReadBytes(GenericListsFixture())}});
  const QStringList lines = text.split('\n');
  auto lineOf = [&](const QString& phrase) {
    for (int i = 0; i < lines.size(); ++i)
      if (lines[i].contains(phrase)) return i + 1;
    return 0;
  };
  std::vector<speech::Diagnostic> overlaps;
  for (const auto& d : r.diagnostics)
    if (d.relatedLine > 0) overlaps.push_back(d);
  ASSERT_EQ(overlaps.size(), 2u) << Problems(r).toStdString();
  EXPECT_EQ(overlaps[0].line, lineOf("| landing lights on"));
  EXPECT_EQ(overlaps[0].relatedLine, lineOf("(landing|taxi)"));
  EXPECT_TRUE(overlaps[0].message.contains("\"landing lights on\"")) << overlaps[0].message.toStdString();
  EXPECT_EQ(overlaps[1].line, lineOf("\t\theading <HDG>"));
  EXPECT_EQ(overlaps[1].relatedLine, lineOf("| heading <HDG> hold"));
  EXPECT_TRUE(overlaps[1].message.contains("is the beginning of \"heading ")) << overlaps[1].message.toStdString();
  EXPECT_EQ(overlaps[1].severity, speech::Severity::Warning);
}

}  // namespace
}  // namespace qv::test
