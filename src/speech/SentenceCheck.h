#pragma once

#include <QString>
#include <QStringList>
#include <vector>

struct ps_decoder_s;

namespace qv::speech {

// Out-of-grammar rejection, usable with any grammar search: the test
// grammar of one phrase, or every category at once.
//
// Two checks, each measured on synthetic speech (see the slow speech tests):
//  - a competitor inside the search: beside the grammar's sentences the
//    decoder may take a free loop over other words (the installation's whole
//    command vocabulary). The loop is given a low prior and a cost for every
//    word; when it still explains the audio better than any sentence of the
//    grammar, what was said is not in the grammar. This is what turns away
//    another command's sentence that differs in one word ("generator one on"
//    against "generator on"), and off-topic speech.
//  - a free phone loop over the same frames, as a second opinion on the
//    words the grammar kept: a word that the loop explains far better than
//    the grammar's word was forced onto sounds that are not it.

struct RejectionSettings {
  double competitorPrior = 1e-12;  // prior of the competing word loop against the grammar
  double competitorWord = 0.01;    // probability of each word of the loop
  double wordMargin = 0;           // phone-loop gap per frame above which one word rejects; 0 = off
  double speechMargin = 0;         // phone-loop gap per speech frame above which the sentence is rejected; 0 = off
};

// The word that marks the competitor's path in a hypothesis.
inline constexpr const char* kCompetitorMark = "qv-other-speech";

// Words the competitor loop may use: every word of the installation's
// command phrases and of its shared lists, lower case, without duplicates.
QStringList CompetitorVocabulary(const QString& installDir);

// Adds `checkedSearch` to the decoder: the FSG of `grammarSearch` (which
// must be loaded) with the competitor loop beside it. Words the decoder's
// dictionary lacks are left out of the loop. Returns an error text, empty on
// success.
QString AddCheckedSearch(ps_decoder_s* ps, const char* grammarSearch, const char* checkedSearch,
                         const QStringList& competitorWords, const RejectionSettings& settings);

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
