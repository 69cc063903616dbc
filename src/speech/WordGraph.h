#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace qv::speech {

// A finite-state word graph: the search graph of one grammar. Arcs carry a
// word (an index into a vocabulary kept by whoever builds the graph), nothing
// (an empty step) or a call of another rule's graph, spliced in later.
//
// Grammars never loop (a rule may not refer to itself), so every graph built
// from one is acyclic; the algorithms below rely on that where they say so.
class WordGraph {
 public:
  using Label = int32_t;
  static constexpr Label kEmpty = -1;
  static Label Call(int rule) { return -2 - rule; }
  static bool IsCall(Label l) { return l <= -2; }
  static int CalledRule(Label l) { return -2 - l; }

  struct Arc {
    int32_t from;
    Label label;
    int32_t to;
  };

  int AddState() {
    m_final.push_back(0);
    m_indexed = false;
    return static_cast<int>(m_final.size()) - 1;
  }
  void AddArc(int from, Label label, int to) {
    m_arcs.push_back({from, label, to});
    m_indexed = false;
  }
  void SetFinal(int state, bool final = true) { m_final[state] = final ? 1 : 0; }
  void SetStart(int state) { m_start = state; }

  int Start() const { return m_start; }
  int StateCount() const { return static_cast<int>(m_final.size()); }
  bool IsFinal(int state) const { return m_final[state] != 0; }
  const std::vector<Arc>& Arcs() const { return m_arcs; }
  size_t ArcCount() const { return m_arcs.size(); }
  bool HasEmptyArcs() const;
  bool HasCalls() const;

  // Arcs leaving `state`, ordered by label (an index is built on first use).
  struct Range {
    const Arc* b;
    const Arc* e;
    const Arc* begin() const { return b; }
    const Arc* end() const { return e; }
    size_t size() const { return static_cast<size_t>(e - b); }
  };
  Range Out(int state) const;

  // True when the word sequence leads from the start to a final state.
  bool Accepts(const std::vector<Label>& words) const;
  // True when no word sequence at all is accepted (not even the empty one).
  bool IsEmptyLanguage() const;
  bool AcceptsEmpty() const;
  // The words a sentence may begin with: used to tell what a reference
  // contributes. Calls are reported as they are.
  std::vector<Label> Labels() const;

  // For each state, the fewest words that lead from it to the end of a
  // sentence, or -1 when none does. Acyclic graphs only.
  std::vector<int> FewestWordsToEnd() const;

  // Every sentence (as word lists), at most `limit` of them; for tests and
  // diagnostics of small graphs.
  std::vector<std::vector<Label>> Sentences(size_t limit) const;

 private:
  void Index() const;

  std::vector<uint8_t> m_final;
  mutable std::vector<Arc> m_arcs;
  int m_start = 0;
  mutable std::vector<uint32_t> m_first;  // per state: index of its first arc
  mutable bool m_indexed = false;
};

// The same language without empty arcs and with at most one arc per label
// leaving a state. Only reachable states are kept; calls are labels like any
// other.
WordGraph Determinize(const WordGraph& graph);

// The smallest graph of the same language: equivalent states merged (shared
// suffixes), states that lead nowhere removed. Expects an acyclic graph from
// Determinize; a graph with a loop is returned trimmed but not merged.
WordGraph Minimize(const WordGraph& dfa);

// Determinize then Minimize.
WordGraph Optimize(const WordGraph& graph);

// Replaces every call by a copy of the called graph, joined with empty arcs.
// `callee(rule)` returns the graph to splice (itself without calls) or
// nullptr, in which case the call leads nowhere.
WordGraph Splice(const WordGraph& graph, const std::function<const WordGraph*(int rule)>& callee);

// The sentences both graphs accept (same vocabulary). Both must be
// deterministic.
WordGraph Intersect(const WordGraph& a, const WordGraph& b);

}  // namespace qv::speech
