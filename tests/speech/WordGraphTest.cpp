// The word graph operations against brute force: random expressions over a
// few words, their sentences enumerated, against what the graphs accept.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "speech/GraphCache.h"
#include "speech/WordGraph.h"

namespace qv::test {
namespace {

using speech::WordGraph;
using Sentence = std::vector<WordGraph::Label>;
using Language = std::set<Sentence>;

struct Expr {
  enum Kind { Word, Seq, Alt, Opt, Call } kind = Word;
  int label = 0;  // Word: the word; Call: the rule
  std::vector<Expr> parts;
};

Expr Random(std::mt19937& rng, int depth, int rules) {
  Expr e;
  const int k = depth > 3 ? 0 : static_cast<int>(rng() % (rules > 0 ? 6 : 5));
  if (k <= 1) {
    e.kind = Expr::Word;
    e.label = static_cast<int>(rng() % 4);
  } else if (k == 5) {
    e.kind = Expr::Call;
    e.label = static_cast<int>(rng() % rules);
  } else {
    e.kind = k == 2 ? Expr::Seq : k == 3 ? Expr::Alt : Expr::Opt;
    const int n = e.kind == Expr::Opt ? 1 : 1 + static_cast<int>(rng() % 3);
    for (int i = 0; i < n; ++i) e.parts.push_back(Random(rng, depth + 1, rules));
  }
  return e;
}

Language Concat(const Language& a, const Language& b) {
  Language out;
  for (const auto& x : a)
    for (const auto& y : b) {
      Sentence s = x;
      s.insert(s.end(), y.begin(), y.end());
      out.insert(s);
    }
  return out;
}

Language Enumerate(const Expr& e, const std::vector<Language>& rules) {
  switch (e.kind) {
    case Expr::Word: return {{e.label}};
    case Expr::Call: return rules[e.label];
    case Expr::Opt: {
      Language l = Enumerate(e.parts[0], rules);
      l.insert(Sentence{});
      return l;
    }
    case Expr::Alt: {
      Language l;
      for (const auto& p : e.parts) {
        const Language m = Enumerate(p, rules);
        l.insert(m.begin(), m.end());
      }
      return l;
    }
    case Expr::Seq: {
      Language l{Sentence{}};
      for (const auto& p : e.parts) l = Concat(l, Enumerate(p, rules));
      return l;
    }
  }
  return {};
}

// A graph of the expression, with empty arcs around every part (as loose as
// a builder could make it); calls stay calls.
int Build(const Expr& e, WordGraph& g, int from) {
  const int in = g.AddState();
  g.AddArc(from, WordGraph::kEmpty, in);
  int out = g.AddState();
  switch (e.kind) {
    case Expr::Word: g.AddArc(in, e.label, out); break;
    case Expr::Call: g.AddArc(in, WordGraph::Call(e.label), out); break;
    case Expr::Opt:
      g.AddArc(Build(e.parts[0], g, in), WordGraph::kEmpty, out);
      g.AddArc(in, WordGraph::kEmpty, out);
      break;
    case Expr::Alt:
      for (const auto& p : e.parts) g.AddArc(Build(p, g, in), WordGraph::kEmpty, out);
      break;
    case Expr::Seq: {
      int cur = in;
      for (const auto& p : e.parts) cur = Build(p, g, cur);
      g.AddArc(cur, WordGraph::kEmpty, out);
      break;
    }
  }
  return out;
}

WordGraph GraphOf(const Expr& e) {
  WordGraph g;
  const int start = g.AddState();
  g.SetStart(start);
  g.SetFinal(Build(e, g, start));
  return g;
}

Language Accepted(const WordGraph& g) {
  const auto s = g.Sentences(100000);
  return Language(s.begin(), s.end());
}

bool Deterministic(const WordGraph& g) {
  for (int s = 0; s < g.StateCount(); ++s) {
    WordGraph::Label last = WordGraph::kEmpty - 1000;
    for (const auto& a : g.Out(s)) {
      if (a.label == WordGraph::kEmpty || a.label == last) return false;
      last = a.label;
    }
  }
  return true;
}

// The states of the smallest deterministic graph: one per distinct set of
// endings that some beginning of a sentence leaves.
size_t DistinctEndings(const Language& l) {
  std::set<Language> endings;
  for (const auto& s : l)
    for (size_t cut = 0; cut <= s.size(); ++cut) {
      const Sentence head(s.begin(), s.begin() + static_cast<long>(cut));
      Language rest;
      for (const auto& t : l)
        if (t.size() >= cut && std::equal(head.begin(), head.end(), t.begin()))
          rest.insert(Sentence(t.begin() + static_cast<long>(cut), t.end()));
      endings.insert(rest);
    }
  return endings.size();
}

TEST(WordGraphTest, DeterminizeAndMinimizeKeepTheLanguageAndReachTheSmallestGraph) {
  std::mt19937 rng(3);
  for (int round = 0; round < 300; ++round) {
    const Expr e = Random(rng, 0, 0);
    const Language expected = Enumerate(e, {});
    const WordGraph nfa = GraphOf(e);
    ASSERT_EQ(Accepted(nfa), expected) << round;
    // The same arcs in any order, some twice: each state's arcs come out
    // ordered by label and target, once each.
    WordGraph shuffled;
    for (int s = 0; s < nfa.StateCount(); ++s) shuffled.SetFinal(shuffled.AddState(), nfa.IsFinal(s));
    shuffled.SetStart(nfa.Start());
    auto arcs = nfa.Arcs();
    arcs.insert(arcs.end(), arcs.begin(), arcs.begin() + static_cast<long>(arcs.size() / 3));
    std::shuffle(arcs.begin(), arcs.end(), rng);
    for (const auto& a : arcs) shuffled.AddArc(a.from, a.label, a.to);
    for (int s = 0; s < shuffled.StateCount(); ++s) {
      const auto out = shuffled.Out(s);
      for (const auto* a = out.begin(); a != out.end(); ++a) {
        EXPECT_EQ(a->from, s);
        if (a != out.begin()) {
          EXPECT_TRUE(a[-1].label < a->label || (a[-1].label == a->label && a[-1].to < a->to));
        }
      }
    }
    EXPECT_EQ(shuffled.ArcCount(), nfa.ArcCount()) << round;
    EXPECT_EQ(Accepted(shuffled), expected) << round;
    const WordGraph dfa = speech::Determinize(nfa);
    EXPECT_TRUE(Deterministic(dfa)) << round;
    EXPECT_EQ(Accepted(dfa), expected) << round;
    const WordGraph min = speech::Minimize(dfa);
    EXPECT_EQ(Accepted(min), expected) << round;
    EXPECT_EQ(static_cast<size_t>(min.StateCount()), DistinctEndings(expected)) << round;
    EXPECT_EQ(speech::Optimize(min).StateCount(), min.StateCount()) << round;
    WordGraph back;
    ASSERT_TRUE(speech::DeserializeGraph(speech::SerializeGraph(min), back));
    EXPECT_EQ(Accepted(back), expected) << round;
  }
}

TEST(WordGraphTest, SpliceReplacesCallsAndIntersectKeepsWhatBothSay) {
  std::mt19937 rng(5);
  for (int round = 0; round < 200; ++round) {
    const Expr r0 = Random(rng, 1, 0), r1 = Random(rng, 1, 0);
    const std::vector<Language> rules{Enumerate(r0, {}), Enumerate(r1, {})};
    const std::vector<WordGraph> graphs{speech::Optimize(GraphOf(r0)), speech::Optimize(GraphOf(r1))};
    const Expr top = Random(rng, 0, 2);
    const WordGraph withCalls = speech::Optimize(GraphOf(top));
    const WordGraph spliced = speech::Splice(withCalls, [&](int rule) { return &graphs[rule]; });
    EXPECT_FALSE(spliced.HasCalls());
    const Language expected = Enumerate(top, rules);
    EXPECT_EQ(Accepted(spliced), expected) << round;

    const Expr other = Random(rng, 0, 0);
    const Language both = [&] {
      Language l, b = Enumerate(other, {});
      std::set_intersection(expected.begin(), expected.end(), b.begin(), b.end(), std::inserter(l, l.begin()));
      return l;
    }();
    const WordGraph meet = speech::Intersect(speech::Optimize(spliced), speech::Optimize(GraphOf(other)));
    EXPECT_EQ(Accepted(meet), both) << round;
    EXPECT_EQ(meet.IsEmptyLanguage(), both.empty()) << round;
  }
}

TEST(WordGraphTest, FewestWordsToEndIsTheShortestSentenceFromEachState) {
  std::mt19937 rng(61206);
  for (int round = 0; round < 300; ++round) {
    const WordGraph loose = GraphOf(Random(rng, 0, 0));
    for (const WordGraph& g : {loose, speech::Optimize(loose)}) {
      const std::vector<int> fewest = g.FewestWordsToEnd();
      ASSERT_EQ(fewest.size(), size_t(g.StateCount()));
      for (int s = 0; s < g.StateCount(); ++s) {
        WordGraph from = g;
        from.SetStart(s);
        const auto sentences = from.Sentences(100000);
        int shortest = -1;
        for (const auto& sentence : sentences)
          if (shortest < 0 || int(sentence.size()) < shortest) shortest = int(sentence.size());
        ASSERT_EQ(fewest[size_t(s)], shortest) << "round " << round << ", state " << s;
      }
    }
  }
}

}  // namespace
}  // namespace qv::test
