#include "speech/WordGraph.h"

#include <algorithm>
#include <deque>
#include <unordered_map>

namespace qv::speech {

void WordGraph::Index() const {
  if (m_indexed) return;
  // Arcs are bucketed by their state (a counting sort: the navaid lists'
  // graphs have hundreds of thousands), then each state's few arcs are
  // ordered by label and target and repeats dropped.
  const size_t n = m_final.size();
  m_first.assign(n + 1, 0);
  for (const Arc& a : m_arcs) ++m_first[static_cast<size_t>(a.from) + 1];
  for (size_t i = 0; i < n; ++i) m_first[i + 1] += m_first[i];
  std::vector<Arc> sorted(m_arcs.size());
  {
    std::vector<uint32_t> next(m_first.begin(), m_first.end() - 1);
    for (const Arc& a : m_arcs) sorted[next[static_cast<size_t>(a.from)]++] = a;
  }
  const auto byLabel = [](const Arc& x, const Arc& y) { return x.label != y.label ? x.label < y.label : x.to < y.to; };
  size_t kept = 0;
  for (size_t s = 0; s < n; ++s) {
    Arc* b = sorted.data() + m_first[s];
    Arc* e = sorted.data() + m_first[s + 1];
    if (e - b > 1) {
      bool ordered = true;
      for (const Arc* p = b + 1; p != e && ordered; ++p) ordered = byLabel(p[-1], *p);
      if (!ordered) {
        std::sort(b, e, byLabel);
        e = std::unique(b, e, [](const Arc& x, const Arc& y) { return x.label == y.label && x.to == y.to; });
      }
    }
    m_first[s] = static_cast<uint32_t>(kept);
    for (const Arc* p = b; p != e; ++p) sorted[kept++] = *p;
  }
  m_first[n] = static_cast<uint32_t>(kept);
  sorted.resize(kept);
  m_arcs.swap(sorted);
  m_indexed = true;
}

WordGraph::Range WordGraph::Out(int state) const {
  Index();
  const Arc* base = m_arcs.data();
  return {base + m_first[state], base + m_first[state + 1]};
}

bool WordGraph::HasEmptyArcs() const {
  return std::any_of(m_arcs.begin(), m_arcs.end(), [](const Arc& a) { return a.label == kEmpty; });
}

bool WordGraph::HasCalls() const {
  return std::any_of(m_arcs.begin(), m_arcs.end(), [](const Arc& a) { return IsCall(a.label); });
}

namespace {

// The states reachable from `set` over empty arcs, `set` included; sorted.
class Closure {
 public:
  explicit Closure(const WordGraph& g) : m_g(g), m_stamp(g.StateCount(), 0) {}
  void Close(std::vector<int32_t>& set) {
    ++m_round;
    m_stack.clear();
    for (int32_t s : set) {
      m_stamp[s] = m_round;
      m_stack.push_back(s);
    }
    while (!m_stack.empty()) {
      const int32_t s = m_stack.back();
      m_stack.pop_back();
      for (const auto& a : m_g.Out(s)) {
        // Arcs are ordered by label: calls, then empty arcs, then words.
        if (a.label < WordGraph::kEmpty) continue;
        if (a.label > WordGraph::kEmpty) break;
        if (m_stamp[a.to] == m_round) continue;
        m_stamp[a.to] = m_round;
        set.push_back(a.to);
        m_stack.push_back(a.to);
      }
    }
    std::sort(set.begin(), set.end());
  }

 private:
  const WordGraph& m_g;
  std::vector<uint32_t> m_stamp;
  std::vector<int32_t> m_stack;
  uint32_t m_round = 0;
};

}  // namespace

bool WordGraph::Accepts(const std::vector<Label>& words) const {
  if (StateCount() == 0) return false;
  Closure closure(*this);
  std::vector<int32_t> current{m_start};
  closure.Close(current);
  for (Label w : words) {
    std::vector<int32_t> next;
    for (int32_t s : current)
      for (const auto& a : Out(s))
        if (a.label == w) next.push_back(a.to);
    std::sort(next.begin(), next.end());
    next.erase(std::unique(next.begin(), next.end()), next.end());
    if (next.empty()) return false;
    closure.Close(next);
    current = std::move(next);
  }
  return std::any_of(current.begin(), current.end(), [&](int32_t s) { return IsFinal(s); });
}

bool WordGraph::AcceptsEmpty() const { return Accepts({}); }

std::vector<int> WordGraph::FewestWordsToEnd() const {
  // Backwards from the final states, nearest first: an empty step costs
  // nothing (front of the queue), a word one (back).
  const size_t n = m_final.size();
  std::vector<size_t> first(n + 1, 0), into(m_arcs.size());
  for (const Arc& a : m_arcs) ++first[size_t(a.to) + 1];
  for (size_t s = 0; s < n; ++s) first[s + 1] += first[s];
  std::vector<size_t> fill(first.begin(), first.end() - 1);
  for (size_t i = 0; i < m_arcs.size(); ++i) into[fill[size_t(m_arcs[i].to)]++] = i;
  std::vector<int> words(n, -1);
  std::vector<char> done(n, 0);
  std::deque<size_t> queue;
  for (size_t s = 0; s < n; ++s)
    if (m_final[s]) {
      words[s] = 0;
      queue.push_back(s);
    }
  while (!queue.empty()) {
    const size_t t = queue.front();
    queue.pop_front();
    if (done[t]) continue;
    done[t] = 1;
    for (size_t k = first[t]; k < first[t + 1]; ++k) {
      const Arc& a = m_arcs[into[k]];
      const int step = a.label == kEmpty ? 0 : 1;
      int& w = words[size_t(a.from)];
      if (w >= 0 && w <= words[t] + step) continue;
      w = words[t] + step;
      if (step)
        queue.push_back(size_t(a.from));
      else
        queue.push_front(size_t(a.from));
    }
  }
  return words;
}

bool WordGraph::IsEmptyLanguage() const {
  if (StateCount() == 0) return true;
  std::vector<uint8_t> seen(StateCount(), 0);
  std::vector<int32_t> stack{m_start};
  seen[m_start] = 1;
  while (!stack.empty()) {
    const int32_t s = stack.back();
    stack.pop_back();
    if (IsFinal(s)) return false;
    for (const auto& a : Out(s))
      if (!seen[a.to]) {
        seen[a.to] = 1;
        stack.push_back(a.to);
      }
  }
  return true;
}

std::vector<WordGraph::Label> WordGraph::Labels() const {
  std::vector<Label> out;
  for (const Arc& a : m_arcs)
    if (a.label != kEmpty) out.push_back(a.label);
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

std::vector<std::vector<WordGraph::Label>> WordGraph::Sentences(size_t limit) const {
  std::vector<std::vector<Label>> out;
  if (StateCount() == 0) return out;
  std::vector<Label> path;
  // Depth-first over the (acyclic) graph; the depth bound guards against a
  // graph with a loop.
  std::function<void(int, int)> walk = [&](int s, int depth) {
    if (out.size() >= limit || depth > 10000) return;
    if (IsFinal(s)) out.push_back(path);
    for (const auto& a : Out(s)) {
      if (a.label != kEmpty) path.push_back(a.label);
      walk(a.to, depth + 1);
      if (a.label != kEmpty) path.pop_back();
      if (out.size() >= limit) return;
    }
  };
  walk(m_start, 0);
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

namespace {

// Sets of numbers (the subsets of the subset construction, the signatures
// of minimisation) kept back to back in one array and found again through an
// open-addressing table of their hashes: far fewer allocations than a map of
// vectors, which matters for the navaid lists' hundreds of thousands of
// states.
template <typename T>
class FlatSets {
 public:
  FlatSets() : m_table(1024, -1) {}
  // The id of the set, adding it when new.
  std::pair<int, bool> Find(const std::vector<T>& set) {
    const uint64_t h = Hash(set);
    size_t mask = m_table.size() - 1;
    for (size_t i = h & mask;; i = (i + 1) & mask) {
      const int32_t id = m_table[i];
      if (id < 0) break;
      if (m_hash[id] == h && Equal(id, set)) return {id, false};
    }
    const int id = static_cast<int>(m_hash.size());
    m_hash.push_back(h);
    m_begin.push_back(static_cast<uint32_t>(m_members.size()));
    m_members.insert(m_members.end(), set.begin(), set.end());
    m_end.push_back(static_cast<uint32_t>(m_members.size()));
    if (m_hash.size() * 2 > m_table.size()) Grow();
    mask = m_table.size() - 1;
    size_t i = h & mask;
    while (m_table[i] >= 0) i = (i + 1) & mask;
    m_table[i] = id;
    return {id, true};
  }
  const T* Begin(int id) const { return m_members.data() + m_begin[id]; }
  const T* End(int id) const { return m_members.data() + m_end[id]; }

 private:
  static uint64_t Hash(const std::vector<T>& v) {
    uint64_t h = 1469598103934665603ull;
    for (T x : v) {
      h ^= static_cast<uint64_t>(x);
      h *= 1099511628211ull;
    }
    return h ^ (h >> 29);
  }
  bool Equal(int id, const std::vector<T>& set) const {
    return m_end[id] - m_begin[id] == set.size() && std::equal(set.begin(), set.end(), Begin(id));
  }
  void Grow() {
    std::vector<int32_t> table(m_table.size() * 2, -1);
    const size_t mask = table.size() - 1;
    for (size_t id = 0; id < m_hash.size(); ++id) {
      size_t i = m_hash[id] & mask;
      while (table[i] >= 0) i = (i + 1) & mask;
      table[i] = static_cast<int32_t>(id);
    }
    m_table.swap(table);
  }

  std::vector<int32_t> m_table;
  std::vector<uint64_t> m_hash;
  std::vector<uint32_t> m_begin, m_end;
  std::vector<T> m_members;
};
using Subsets = FlatSets<int32_t>;
using Signatures = FlatSets<int64_t>;

}  // namespace

WordGraph Determinize(const WordGraph& g) {
  WordGraph out;
  if (g.StateCount() == 0) {
    out.SetStart(out.AddState());
    return out;
  }
  Closure closure(g);
  Subsets subsets;
  std::vector<int32_t> set{g.Start()};
  closure.Close(set);
  subsets.Find(set);
  out.AddState();
  out.SetStart(0);
  std::vector<std::pair<WordGraph::Label, int32_t>> moves;
  for (int d = 0; d < out.StateCount(); ++d) {
    moves.clear();
    bool final = false;
    for (const int32_t* s = subsets.Begin(d); s != subsets.End(d); ++s) {
      final = final || g.IsFinal(*s);
      for (const auto& a : g.Out(*s))
        if (a.label != WordGraph::kEmpty) moves.emplace_back(a.label, a.to);
    }
    if (final) out.SetFinal(d);
    std::sort(moves.begin(), moves.end());
    for (size_t i = 0; i < moves.size();) {
      const WordGraph::Label label = moves[i].first;
      set.clear();
      for (; i < moves.size() && moves[i].first == label; ++i)
        if (set.empty() || set.back() != moves[i].second) set.push_back(moves[i].second);
      closure.Close(set);
      const auto [to, added] = subsets.Find(set);
      if (added) out.AddState();
      out.AddArc(d, label, to);
    }
  }
  return out;
}

WordGraph Minimize(const WordGraph& dfa) {
  const int n = dfa.StateCount();
  WordGraph out;
  // States that lead to a final state (backwards from the finals).
  // Arcs by target, as one array in the order of their targets.
  std::vector<uint32_t> backFirst(static_cast<size_t>(n) + 1, 0);
  for (const auto& a : dfa.Arcs()) ++backFirst[static_cast<size_t>(a.to) + 1];
  for (int s = 0; s < n; ++s) backFirst[s + 1] += backFirst[s];
  std::vector<int32_t> back(dfa.ArcCount());
  {
    std::vector<uint32_t> next(backFirst.begin(), backFirst.end() - 1);
    for (const auto& a : dfa.Arcs()) back[next[a.to]++] = a.from;
  }
  std::vector<uint8_t> live(n, 0);
  std::vector<int32_t> stack;
  for (int s = 0; s < n; ++s)
    if (dfa.IsFinal(s)) {
      live[s] = 1;
      stack.push_back(s);
    }
  while (!stack.empty()) {
    const int32_t s = stack.back();
    stack.pop_back();
    for (uint32_t i = backFirst[s]; i < backFirst[s + 1]; ++i)
      if (const int32_t p = back[i]; !live[p]) {
        live[p] = 1;
        stack.push_back(p);
      }
  }
  std::vector<int32_t>().swap(back);
  if (n == 0 || !live[dfa.Start()]) {
    out.SetStart(out.AddState());
    return out;
  }
  // Post-order from the start over live states: every state comes after the
  // states it leads to. A state met again while still open closes a loop.
  std::vector<int32_t> order;
  std::vector<uint8_t> mark(n, 0);  // 0 new, 1 open, 2 done
  bool loop = false;
  std::vector<std::pair<int32_t, size_t>> walk{{dfa.Start(), 0}};
  mark[dfa.Start()] = 1;
  while (!walk.empty()) {
    auto& [s, next] = walk.back();
    const auto out_arcs = dfa.Out(s);
    if (next < out_arcs.size()) {
      const int32_t t = out_arcs.b[next++].to;
      if (!live[t]) continue;
      if (mark[t] == 1) loop = true;
      if (mark[t] == 0) {
        mark[t] = 1;
        walk.emplace_back(t, 0);
      }
      continue;
    }
    mark[s] = 2;
    order.push_back(s);
    walk.pop_back();
  }
  std::vector<int32_t> cls(n, -1);
  if (loop) {
    // Keep the reachable live part as it is.
    for (int32_t s : order) cls[s] = out.AddState();
    for (int32_t s : order) {
      if (dfa.IsFinal(s)) out.SetFinal(cls[s]);
      for (const auto& a : dfa.Out(s))
        if (cls[a.to] >= 0) out.AddArc(cls[s], a.label, cls[a.to]);
    }
    out.SetStart(cls[dfa.Start()]);
    return out;
  }
  // Bottom-up: a state's class is known from whether it is final and the
  // classes its arcs lead to, all settled before it.
  Signatures classes;
  std::vector<int32_t> representative;
  std::vector<int64_t> sig;
  for (int32_t s : order) {
    sig.clear();
    sig.push_back(dfa.IsFinal(s) ? 1 : 0);
    for (const auto& a : dfa.Out(s)) {
      if (!live[a.to]) continue;
      sig.push_back((static_cast<int64_t>(a.label) << 32) | static_cast<uint32_t>(cls[a.to]));
    }
    const auto [id, added] = classes.Find(sig);
    if (added) representative.push_back(s);
    cls[s] = id;
  }
  for (size_t c = 0; c < representative.size(); ++c) out.AddState();
  for (size_t c = 0; c < representative.size(); ++c) {
    const int32_t s = representative[c];
    if (dfa.IsFinal(s)) out.SetFinal(static_cast<int>(c));
    for (const auto& a : dfa.Out(s))
      if (live[a.to]) out.AddArc(static_cast<int>(c), a.label, cls[a.to]);
  }
  out.SetStart(cls[dfa.Start()]);
  return out;
}

WordGraph Optimize(const WordGraph& graph) { return Minimize(Determinize(graph)); }

WordGraph Splice(const WordGraph& graph, const std::function<const WordGraph*(int rule)>& callee) {
  WordGraph out;
  for (int s = 0; s < graph.StateCount(); ++s) {
    out.AddState();
    if (graph.IsFinal(s)) out.SetFinal(s);
  }
  out.SetStart(graph.Start());
  // Calls of one rule that lead to the same state share one copy: "nav one
  // (to) <NAV_ID>" calls the list from two states, but both calls end alike.
  std::unordered_map<int64_t, int> copies;  // (rule, target) -> start of the copy
  for (const auto& a : graph.Arcs()) {
    if (!WordGraph::IsCall(a.label)) {
      out.AddArc(a.from, a.label, a.to);
      continue;
    }
    const int rule = WordGraph::CalledRule(a.label);
    const int64_t key = (static_cast<int64_t>(rule) << 32) | static_cast<uint32_t>(a.to);
    auto it = copies.find(key);
    if (it == copies.end()) {
      const WordGraph* sub = callee(rule);
      if (!sub || sub->StateCount() == 0) continue;
      const int offset = out.StateCount();
      for (int s = 0; s < sub->StateCount(); ++s) out.AddState();
      for (const auto& b : sub->Arcs())
        if (!WordGraph::IsCall(b.label)) out.AddArc(b.from + offset, b.label, b.to + offset);
      for (int s = 0; s < sub->StateCount(); ++s)
        if (sub->IsFinal(s)) out.AddArc(s + offset, WordGraph::kEmpty, a.to);
      it = copies.emplace(key, sub->Start() + offset).first;
    }
    out.AddArc(a.from, WordGraph::kEmpty, it->second);
  }
  return out;
}

WordGraph Intersect(const WordGraph& a, const WordGraph& b) {
  WordGraph out;
  std::unordered_map<int64_t, int> ids;
  std::vector<std::pair<int, int>> pairs;
  auto id = [&](int x, int y) {
    const int64_t key = (static_cast<int64_t>(x) << 32) | static_cast<uint32_t>(y);
    auto [it, added] = ids.emplace(key, static_cast<int>(pairs.size()));
    if (added) {
      pairs.emplace_back(x, y);
      out.AddState();
      if (a.IsFinal(x) && b.IsFinal(y)) out.SetFinal(it->second);
    }
    return it->second;
  };
  if (a.StateCount() == 0 || b.StateCount() == 0) {
    out.SetStart(out.AddState());
    return out;
  }
  out.SetStart(id(a.Start(), b.Start()));
  for (size_t i = 0; i < pairs.size(); ++i) {
    const auto [x, y] = pairs[i];
    const auto ra = a.Out(x), rb = b.Out(y);
    const auto* p = ra.begin();
    const auto* q = rb.begin();
    while (p != ra.end() && q != rb.end()) {
      if (p->label < q->label) {
        ++p;
      } else if (q->label < p->label) {
        ++q;
      } else {
        out.AddArc(static_cast<int>(i), p->label, id(p->to, q->to));
        ++p;
        ++q;
      }
    }
  }
  return out;
}

}  // namespace qv::speech
