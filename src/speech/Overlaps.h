#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "speech/WordGraph.h"

namespace qv::speech {

// The graph a call leads into (it may call further graphs, never back), or
// nullptr when the call leads nowhere.
using CalleeGraphs = std::function<const WordGraph*(int rule)>;

// What two start rules of one grammar have in common, one sentence each:
// a sentence both accept, and a sentence of one that is a proper prefix of
// a sentence of the other (the recogniser may stop after the shorter).
// Graphs keep their calls: a call is followed only as far as the other
// graph's words lead into it, and two calls of the same rule at the same
// place are passed over together, so large lists are never walked whole.
struct SharedSentences {
  std::optional<std::vector<WordGraph::Label>> both;
  // `words` of the shorter (first `prefix` words) and the longer sentence.
  struct Prefix {
    std::vector<WordGraph::Label> words;
    size_t prefix = 0;
  };
  std::optional<Prefix> aBeforeB;  // a sentence of `a` begins a longer one of `b`
  std::optional<Prefix> bBeforeA;
};
SharedSentences FindSharedSentences(const WordGraph& a, const WordGraph& b, const CalleeGraphs& callee);

// True when the graph, its calls followed, accepts the words.
bool AcceptsThroughCalls(const WordGraph& graph, const std::vector<WordGraph::Label>& words,
                         const CalleeGraphs& callee);

}  // namespace qv::speech
