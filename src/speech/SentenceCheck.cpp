#include "speech/SentenceCheck.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>

#include "data/CommandList.h"
#include "speech/GrammarSource.h"

#ifdef QV_HAVE_POCKETSPHINX
#include <pocketsphinx.h>
#include <sphinxbase/ckd_alloc.h>
#include <sphinxbase/fsg_model.h>
#endif

namespace qv::speech {

QStringList CompetitorVocabulary(const QString& installDir) {
  QSet<QString> seen;
  QStringList words;
  auto add = [&](const QString& w) {
    const QString word = w.toLower();
    if (word.isEmpty() || !word[0].isLetter() || seen.contains(word)) return;
    seen.insert(word);
    words << word;
  };
  QFile commands(data::CommandListFilePath(installDir));
  std::vector<data::CommandRecord> list;
  if (commands.open(QIODevice::ReadOnly) && data::ParseCommandList(commands.readAll(), list)) {
    static const QRegularExpression refs("<[^>]*>"), marks("[\\[\\]()|,]");
    for (const auto& c : list)
      for (QString phrase : c.grammars)
        for (const QString& w : phrase.remove(refs).replace(marks, " ").split(' ', Qt::SkipEmptyParts)) add(w);
  }
  QString text;
  if (ReadGrammarText(installDir + "/Data/Generic Lists.bnf", text)) {
    std::vector<Diagnostic> ignored;
    const GrammarFile lists = ParseGrammar(text, "Generic Lists.bnf", ignored);
    for (const auto& rule : lists.rules) {
      std::vector<const GrammarNode*> leaves;
      CollectWords(rule.body, leaves);
      for (const GrammarNode* n : leaves) add(n->text);
    }
  }
  return words;
}

bool IsFiller(const QString& word) {
  return word.isEmpty() || word.startsWith(u'<') || word.startsWith(u'[') || word.startsWith(u'+') ||
         word.startsWith(u'(');
}

QString SentenceOf(const QString& hypothesis) {
  const QString h = hypothesis.simplified();
  return h.startsWith(QLatin1String(kCompetitorMark)) ? QString() : h;
}

SentenceScores ScoreSentence(const DecodedPass& grammar, const DecodedPass& phones) {
  SentenceScores s;
  const int frames = std::max(grammar.frames, phones.frames);
  if (frames <= 0) return s;
  // The loop's score spread evenly over the frames of each of its phones.
  std::vector<double> loop(static_cast<size_t>(frames), 0.0);
  for (const Segment& p : phones.segments) {
    const int n = p.last - p.first + 1;
    for (int f = std::max(0, p.first); n > 0 && f <= p.last && f < frames; ++f)
      loop[static_cast<size_t>(f)] = p.acoustic / n;
  }
  double loopAll = 0, gramAll = 0, loopSpeech = 0, gramSpeech = 0;
  bool anyWord = false;
  for (const Segment& w : grammar.segments) {
    const int n = w.last - w.first + 1;
    if (n <= 0) continue;
    double l = 0;
    for (int f = std::max(0, w.first); f <= w.last && f < frames; ++f) l += loop[static_cast<size_t>(f)];
    loopAll += l;
    gramAll += w.acoustic;
    if (IsFiller(w.word)) continue;
    ++s.words;
    s.speechFrames += n;
    loopSpeech += l;
    gramSpeech += w.acoustic;
    const double gap = (l - w.acoustic) / n;
    if (!anyWord || gap > s.worstWord) {
      s.worstWord = gap;
      s.worstWordText = w.word;
      anyWord = true;
    }
  }
  s.margin = (loopAll - gramAll) / frames;
  s.speechMargin = s.speechFrames > 0 ? (loopSpeech - gramSpeech) / s.speechFrames : 0;
  return s;
}

bool Rejected(const SentenceScores& scores, const RejectionSettings& settings) {
  if (settings.wordMargin > 0 && scores.worstWord > settings.wordMargin) return true;
  if (settings.speechMargin > 0 && scores.speechMargin > settings.speechMargin) return true;
  return false;
}

#ifdef QV_HAVE_POCKETSPHINX

namespace {
bool InDictionary(ps_decoder_t* ps, const char* word) {
  char* phones = ps_lookup_word(ps, word);
  ckd_free(phones);
  return phones != nullptr;
}
}  // namespace

bool AddMarkWord(ps_decoder_s* ps) {
  return InDictionary(ps, kCompetitorMark) || ps_add_word(ps, kCompetitorMark, "SIL", TRUE) >= 0;
}

fsg_model_s* CheckedGraph(ps_decoder_s* ps, fsg_model_s* grammar, const QStringList& competitorWords,
                          const RejectionSettings& settings, fsg_model_s* rival) {
  if (!rival && settings.competitorWord <= 0) return fsg_model_retain(grammar);
  logmath_t* lmath = ps_get_logmath(ps);
  const float lw = cmd_ln_float32_r(ps_get_config(ps), "-lw");
  const int states = fsg_model_n_state(grammar);
  const int loop = states;  // one more state: the competitor's word loop
  const int rivalStates = rival ? fsg_model_n_state(rival) : 0;
  const int rivalFirst = states + 1;  // the rival phrases' states follow
  fsg_model_t* checked = fsg_model_init(fsg_model_name(grammar), lmath, lw, states + 1 + rivalStates);
  checked->start_state = fsg_model_start_state(grammar);
  checked->final_state = fsg_model_final_state(grammar);
  // A graph's own arcs as they are, its states moved by `offset`. Neither
  // graph has been through a search yet, so it holds no silences or fillers:
  // the search adds them to the joined graph.
  auto copy = [&](fsg_model_t* from, int offset) {
    // Word ids looked up once a word: the library finds a word by comparing
    // it with each of the vocabulary's.
    std::vector<int> ids(fsg_model_n_word(from), -1);
    for (int i = 0; i < fsg_model_n_state(from); ++i) {
      for (fsg_arciter_t* it = fsg_model_arcs(from, i); it; it = fsg_arciter_next(it)) {
        fsg_link_t* link = fsg_arciter_get(it);
        const int wid = fsg_link_wid(link);
        const int a = fsg_link_from_state(link) + offset, b = fsg_link_to_state(link) + offset;
        if (wid < 0) {
          fsg_model_null_trans_add(checked, a, b, fsg_link_logs2prob(link));
        } else {
          if (ids[wid] < 0) ids[wid] = fsg_model_word_add(checked, fsg_model_word_str(from, wid));
          fsg_model_trans_add(checked, a, b, fsg_link_logs2prob(link), ids[wid]);
        }
      }
    }
  };
  copy(grammar, 0);
  auto logp = [&](double p) { return static_cast<int32>(logmath_log(lmath, p) * lw); };
  if (rival) {
    // The other phrases of the command set beside the tested one, entered
    // through the mark and paying their prior on the way in (paid on the way
    // out, it would fall outside the word beam at the last frame and leave
    // no path at all): a sentence both can say stays the tested phrase's.
    copy(rival, rivalFirst);
    fsg_model_trans_add(checked, checked->start_state, rivalFirst + fsg_model_start_state(rival),
                        logp(settings.rivalPrior), fsg_model_word_add(checked, kCompetitorMark));
    fsg_model_null_trans_add(checked, rivalFirst + fsg_model_final_state(rival), checked->final_state, 0);
  }
  if (settings.competitorWord > 0) {
    // The prior is paid on leaving the loop, not on entering it: a path that
    // starts far behind the grammar's would be pruned at once, and the
    // competitor would never be heard.
    fsg_model_trans_add(checked, checked->start_state, loop, 0, fsg_model_word_add(checked, kCompetitorMark));
    QStringList words = competitorWords;
    for (int w = 0; w < fsg_model_n_word(grammar); ++w) words << QString::fromUtf8(fsg_model_word_str(grammar, w));
    QSet<QString> seen;
    const int32 each = logp(settings.competitorWord);
    const int32 last = logp(settings.competitorWord * settings.competitorPrior);
    for (const QString& w : words) {
      const QByteArray word = w.toUtf8();
      if (seen.contains(w) || w.contains(u'(') || !InDictionary(ps, word.constData())) continue;
      seen.insert(w);
      const int wid = fsg_model_word_add(checked, word.constData());
      fsg_model_trans_add(checked, loop, loop, each, wid);
      fsg_model_trans_add(checked, loop, checked->final_state, last, wid);
    }
  }
  // The search follows one empty step at a time; chains must be closed.
  glist_free(fsg_model_null_trans_closure(checked, nullptr));
  return checked;
}

#else

bool AddMarkWord(ps_decoder_s*) { return false; }
fsg_model_s* CheckedGraph(ps_decoder_s*, fsg_model_s*, const QStringList&, const RejectionSettings&, fsg_model_s*) {
  return nullptr;
}

#endif

}  // namespace qv::speech
