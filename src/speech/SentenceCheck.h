#pragma once

#include <QString>
#include <QStringList>
#include <vector>

struct ps_decoder_s;
struct fsg_model_s;

namespace qv::speech {

// Out-of-grammar rejection, usable with any grammar search: the test
// grammar of one phrase, or every category at once.
//
// Competitors inside the search, each entered through a mark word so that a
// hypothesis tells who won (measured on synthetic speech, see the slow
// speech tests and tests/fixtures/speech/RecognitionSet.json):
//  - the rival phrases: every other phrase of the command set beside the
//    tested one, behind a small prior. Another command's sentence that
//    differs in one word ("set bearing one ..." against "set bearing two
//    ...") is then heard as what it is instead of being forced onto the
//    tested phrase; off-topic speech mostly ends there too. A sentence both
//    can say stays the tested phrase's.
//  - a free loop over the command vocabulary, with a cost for every word;
//    off by default (on the measured set it took more of the grammar's own
//    sentences than it turned away), kept for measuring.
// And beside the search, a free phone loop over the same frames as a second
// opinion on the words kept: a word that the loop explains far better than
// the grammar's word was forced onto sounds that are not it (off by default).

struct RejectionSettings {
  double rivalPrior = 1e-5;        // prior of the other phrases against the tested one; 0 = none
  double competitorWord = 0;       // probability of each word of the free loop; 0 = no loop
  double competitorPrior = 1e-12;  // prior of the free loop against the grammar
  double wordMargin = 0;           // phone-loop gap per frame above which one word rejects; 0 = off
  double speechMargin = 0;         // phone-loop gap per speech frame above which the sentence is rejected; 0 = off
};

// The word that marks the competitor's path in a hypothesis.
inline constexpr const char* kCompetitorMark = "qv-other-speech";

// Words the competitor loop may use: every word of the installation's
// command phrases and of its shared lists, lower case, without duplicates.
QStringList CompetitorVocabulary(const QString& installDir);

// Puts the competitor's mark into the decoder's dictionary. Call it before
// any search is set up: a word added later makes the decoder rebuild every
// search it has. False when the dictionary refuses it.
bool AddMarkWord(ps_decoder_s* ps);

// The graph listening decodes with: `grammar` (not yet handed to a search)
// with the competitor loop beside it and, when given, the graph of the rival
// phrases. Without either it is `grammar` itself, one more reference taken.
// Words the decoder's dictionary lacks are left out of the loop. The caller
// frees the result.
fsg_model_s* CheckedGraph(ps_decoder_s* ps, fsg_model_s* grammar, const QStringList& competitorWords,
                          const RejectionSettings& settings, fsg_model_s* rival = nullptr);

// One stretch of a decoded utterance: a word (or a silence or noise filler)
// of the grammar search, or a phone of the free phone loop.
struct Segment {
  QString word;
  int first = 0, last = 0;  // frames, both included
  double acoustic = 0;      // the recogniser's acoustic log score over the stretch
};

struct DecodedPass {
  std::vector<Segment> segments;
  int frames = 0;
};

// How the grammar's best sentence compares with the free phone loop.
struct SentenceScores {
  double margin = 0;        // gap per frame over the whole utterance
  double speechMargin = 0;  // gap per frame over the frames of words only
  double worstWord = 0;     // largest gap per frame of a single word
  QString worstWordText;
  int speechFrames = 0;
  int words = 0;
};

bool IsFiller(const QString& word);
SentenceScores ScoreSentence(const DecodedPass& grammar, const DecodedPass& phones);

// The sentence of a checked search's hypothesis, or empty when the
// competitor took the audio.
QString SentenceOf(const QString& hypothesis);

// The verdict on a sentence that the checked search kept.
bool Rejected(const SentenceScores& scores, const RejectionSettings& settings);

}  // namespace qv::speech
