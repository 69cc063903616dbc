#include "speech/Overlaps.h"

#include <algorithm>
#include <deque>
#include <unordered_map>

namespace qv::speech {

namespace {

using Label = WordGraph::Label;
// Where a walk through a graph and the graphs it calls stands: pairs of
// (rule, state), the outermost first; rule -1 is the graph walked.
using Pos = std::vector<int32_t>;

struct KeyHash {
  size_t operator()(const std::vector<int32_t>& v) const noexcept {
    uint64_t h = 1469598103934665603ull;
    for (int32_t x : v) {
      h ^= static_cast<uint32_t>(x);
      h *= 1099511628211ull;
    }
    return static_cast<size_t>(h ^ (h >> 29));
  }
};

class Walker {
 public:
  Walker(const WordGraph& top, const CalleeGraphs& callee) : m_top(top), m_callee(callee) {}

  const WordGraph* Graph(int32_t rule) {
    if (rule < 0) return &m_top;
    auto it = m_graphs.find(rule);
    if (it == m_graphs.end()) it = m_graphs.emplace(rule, m_callee(rule)).first;
    return it->second;
  }
  const WordGraph& TopGraph(const Pos& p) { return *Graph(p[p.size() - 2]); }
  static int32_t State(const Pos& p) { return p.back(); }

  bool Final(const Pos& p) { return p.size() == 2 && Graph(p[0])->IsFinal(p[1]); }

  // Whether more words can follow here.
  bool Continues(const Pos& p) {
    for (const auto& a : TopGraph(p).Out(State(p)))
      if (a.label != WordGraph::kEmpty) return true;
    return false;
  }

  // The positions one silent step away: an empty arc, into a call, or out of
  // a called graph at its end. Calls `shared` also holds are left to be
  // passed over whole.
  void Silent(const Pos& p, std::vector<Pos>& out, const WordGraph::Range* shared = nullptr) {
    const WordGraph& g = TopGraph(p);
    for (const auto& a : g.Out(State(p))) {
      if (a.label == WordGraph::kEmpty) {
        Pos q = p;
        q.back() = a.to;
        out.push_back(std::move(q));
      } else if (WordGraph::IsCall(a.label)) {
        if (shared && std::any_of(shared->begin(), shared->end(),
                                  [&](const WordGraph::Arc& o) { return o.label == a.label; }))
          continue;
        const WordGraph* callee = Graph(WordGraph::CalledRule(a.label));
        if (!callee || callee->StateCount() == 0) continue;
        Pos q = p;
        q.back() = a.to;  // where the walk returns to
        q.push_back(WordGraph::CalledRule(a.label));
        q.push_back(callee->Start());
        out.push_back(std::move(q));
      }
    }
    if (p.size() > 2 && g.IsFinal(State(p))) out.emplace_back(p.begin(), p.end() - 2);
  }

  // The position after `label` (a word, or a call passed over whole).
  static Pos After(const Pos& p, int32_t to) {
    Pos q = p;
    q.back() = to;
    return q;
  }

  // The shortest way from `p` to the end (at least one word when
  // `needWord`), as words.
  std::vector<Label> Complete(const Pos& from, bool needWord) {
    struct Node {
      Pos pos;
      int parent;
      Label label;
      bool worded;
    };
    std::vector<Node> nodes{{from, -1, WordGraph::kEmpty, false}};
    std::unordered_map<std::vector<int32_t>, int, KeyHash> seen;
    auto key = [](const Pos& p, bool w) {
      std::vector<int32_t> k = p;
      k.push_back(w ? 1 : 0);
      return k;
    };
    seen.emplace(key(from, false), 0);
    std::deque<int> todo{0};
    auto add = [&](Pos p, int parent, Label label, bool worded) {
      auto k = key(p, worded);
      if (seen.count(k)) return;
      seen.emplace(std::move(k), static_cast<int>(nodes.size()));
      nodes.push_back({std::move(p), parent, label, worded});
      todo.push_back(static_cast<int>(nodes.size()) - 1);
    };
    std::vector<Pos> silent;
    while (!todo.empty()) {
      const int n = todo.front();
      todo.pop_front();
      const Pos pos = nodes[n].pos;
      const bool worded = nodes[n].worded;
      if (Final(pos) && (worded || !needWord)) {
        std::vector<Label> words;
        for (int i = n; i > 0; i = nodes[i].parent)
          if (nodes[i].label >= 0) words.push_back(nodes[i].label);
        std::reverse(words.begin(), words.end());
        return words;
      }
      silent.clear();
      Silent(pos, silent);
      for (Pos& q : silent) add(std::move(q), n, WordGraph::kEmpty, worded);
      for (const auto& a : TopGraph(pos).Out(State(pos)))
        if (a.label >= 0) add(After(pos, a.to), n, a.label, true);
    }
    return {};
  }

  // The words of a whole called graph's shortest sentence.
  std::vector<Label> ShortestOf(int32_t rule) {
    const WordGraph* g = Graph(rule);
    if (!g || g->StateCount() == 0) return {};
    return Complete(Pos{rule, g->Start()}, false);
  }

 private:
  const WordGraph& m_top;
  const CalleeGraphs& m_callee;
  std::unordered_map<int32_t, const WordGraph*> m_graphs;
};

}  // namespace

SharedSentences FindSharedSentences(const WordGraph& a, const WordGraph& b, const CalleeGraphs& callee) {
  SharedSentences found;
  if (a.StateCount() == 0 || b.StateCount() == 0) return found;
  Walker wa(a, callee), wb(b, callee);
  struct Node {
    Pos pa, pb;
    int parent;
    Label label;  // the word or call both took; kEmpty for a silent step of one
  };
  std::vector<Node> nodes;
  std::unordered_map<std::vector<int32_t>, int, KeyHash> seen;
  std::deque<int> todo;
  auto add = [&](Pos pa, Pos pb, int parent, Label label) {
    std::vector<int32_t> k = pa;
    k.push_back(INT32_MIN);
    k.insert(k.end(), pb.begin(), pb.end());
    if (seen.count(k)) return;
    seen.emplace(std::move(k), static_cast<int>(nodes.size()));
    nodes.push_back({std::move(pa), std::move(pb), parent, label});
    todo.push_back(static_cast<int>(nodes.size()) - 1);
  };
  auto wordsTo = [&](int n) {
    std::vector<Label> words;
    for (int i = n; i >= 0; i = nodes[i].parent) {
      const Label l = nodes[i].label;
      if (l >= 0) {
        words.push_back(l);
      } else if (WordGraph::IsCall(l)) {
        std::vector<Label> inner = wa.ShortestOf(WordGraph::CalledRule(l));
        words.insert(words.end(), inner.rbegin(), inner.rend());
      }
    }
    std::reverse(words.begin(), words.end());
    return words;
  };
  add(Pos{-1, a.Start()}, Pos{-1, b.Start()}, -1, WordGraph::kEmpty);
  std::vector<Pos> silent;
  while (!todo.empty() && !(found.both && found.aBeforeB && found.bBeforeA)) {
    const int n = todo.front();
    todo.pop_front();
    const Pos pa = nodes[n].pa, pb = nodes[n].pb;
    const bool finalA = wa.Final(pa), finalB = wb.Final(pb);
    if (finalA && finalB && !found.both) found.both = wordsTo(n);
    if (finalA && !found.aBeforeB && wb.Continues(pb)) {
      SharedSentences::Prefix p;
      p.words = wordsTo(n);
      p.prefix = p.words.size();
      const std::vector<Label> rest = wb.Complete(pb, true);
      p.words.insert(p.words.end(), rest.begin(), rest.end());
      found.aBeforeB = std::move(p);
    }
    if (finalB && !found.bBeforeA && wa.Continues(pa)) {
      SharedSentences::Prefix p;
      p.words = wordsTo(n);
      p.prefix = p.words.size();
      const std::vector<Label> rest = wa.Complete(pa, true);
      p.words.insert(p.words.end(), rest.begin(), rest.end());
      found.bBeforeA = std::move(p);
    }
    // Steps both can take: the same word, or a call of the same rule
    // (never entered from both sides, which would walk the list in
    // step). The shorter list of arcs is walked and the other searched
    // (arcs are ordered by label), so a call into a long list costs little.
    const auto outA = wa.TopGraph(pa).Out(Walker::State(pa));
    const auto outB = wb.TopGraph(pb).Out(Walker::State(pb));
    silent.clear();
    wa.Silent(pa, silent, &outB);
    for (Pos& q : silent) add(std::move(q), pb, n, WordGraph::kEmpty);
    silent.clear();
    wb.Silent(pb, silent, &outA);
    for (Pos& q : silent) add(pa, std::move(q), n, WordGraph::kEmpty);
    const bool aShorter = outA.size() <= outB.size();
    const auto& few = aShorter ? outA : outB;
    const auto& many = aShorter ? outB : outA;
    for (const auto& x : few) {
      if (x.label == WordGraph::kEmpty) continue;
      auto lo = std::lower_bound(many.begin(), many.end(), x.label,
                                 [](const WordGraph::Arc& arc, Label l) { return arc.label < l; });
      for (; lo != many.end() && lo->label == x.label; ++lo) {
        const int32_t toA = aShorter ? x.to : lo->to, toB = aShorter ? lo->to : x.to;
        add(Walker::After(pa, toA), Walker::After(pb, toB), n, x.label);
      }
    }
  }
  return found;
}

bool AcceptsThroughCalls(const WordGraph& graph, const std::vector<Label>& words, const CalleeGraphs& callee) {
  if (graph.StateCount() == 0) return false;
  Walker w(graph, callee);
  std::vector<Pos> current{Pos{-1, graph.Start()}};
  auto close = [&](std::vector<Pos>& set) {
    std::vector<Pos> more;
    for (size_t i = 0; i < set.size(); ++i) {
      more.clear();
      w.Silent(set[i], more);
      for (Pos& q : more)
        if (std::find(set.begin(), set.end(), q) == set.end()) set.push_back(std::move(q));
    }
  };
  close(current);
  for (Label word : words) {
    std::vector<Pos> next;
    for (const Pos& p : current)
      for (const auto& a : w.TopGraph(p).Out(Walker::State(p)))
        if (a.label == word) {
          Pos q = Walker::After(p, a.to);
          if (std::find(next.begin(), next.end(), q) == next.end()) next.push_back(std::move(q));
        }
    if (next.empty()) return false;
    close(next);
    current = std::move(next);
  }
  return std::any_of(current.begin(), current.end(), [&](const Pos& p) { return w.Final(p); });
}

}  // namespace qv::speech
