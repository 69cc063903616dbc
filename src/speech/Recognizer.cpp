#include "speech/Recognizer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QThread>
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <span>
#include <thread>

#include "base/FileIo.h"
#include "core/grammar/TestGrammar.h"
#include "speech/CompilerEngine.h"
#include "speech/Pronouncer.h"
#include "speech/SpeechModel.h"
#include "speech/SphinxSupport.h"

#ifdef QV_HAVE_POCKETSPHINX
#include <pocketsphinx.h>
#include <sphinxbase/fsg_model.h>
#endif

#ifdef _WIN32
#include <windows.h>
#else
#include <ctime>
#endif

namespace qv::speech {

namespace {

constexpr const char* kCheckedSearch = "checked";
constexpr const char* kPhoneSearch = "phones";
// What runs while listening: the utterance's end searches the frames not yet
// searched, and only the voice detector is wanted then, so a graph of one
// silent word stands in for the grammar until the utterance is complete.
constexpr const char* kListenSearch = "listen";

// Processor time of the calling thread: what decoding costs, whatever else
// the machine is doing.
double ThreadSeconds() {
#ifdef _WIN32
  FILETIME created, exited, kernel, user;
  if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
  ULARGE_INTEGER k{}, u{};
  k.LowPart = kernel.dwLowDateTime, k.HighPart = kernel.dwHighDateTime;
  u.LowPart = user.dwLowDateTime, u.HighPart = user.dwHighDateTime;
  return static_cast<double>(k.QuadPart + u.QuadPart) / 1e7;
#else
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
#endif
}

// 0 at -60 dBFS and below, 1 at full scale.
double Level(const std::vector<int16_t>& chunk) {
  if (chunk.empty()) return 0;
  double sum = 0;
  for (int16_t s : chunk) sum += static_cast<double>(s) * s;
  const double rms = std::sqrt(sum / static_cast<double>(chunk.size())) / 32768.0;
  const double db = rms > 0 ? 20 * std::log10(rms) : -120;
  return std::clamp((db + 60) / 60, 0.0, 1.0);
}

}  // namespace

Recognizer::Recognizer(QString installDir, RecognizerSettings settings)
    : m_installDir(std::move(installDir)), m_settings(std::move(settings)) {}

grammar::ListeningProgress Recognizer::Progress() const {
  std::lock_guard lock(m_mutex);
  return m_progress;
}

void Recognizer::SetProgress(const grammar::ListeningProgress& p) {
  std::lock_guard lock(m_mutex);
  m_progress = p;
}

QString Recognizer::FailureCause() const { return m_cause; }

int16_t Recognizer::Fail(const QString& error, const QString& cause) {
  m_error = error;
  m_cause = cause;
  return -3;
}

int16_t Recognizer::Listen(QByteArray& buffer) {
  std::unique_ptr<AudioSource> source = m_sourceFactory ? m_sourceFactory() : std::make_unique<MicrophoneSource>();
  if (!source) return Fail("no sound source", "No sound source is available.");
  QCoreApplication* app = QCoreApplication::instance();
  if (!app || QThread::currentThread() != app->thread()) return ListenTo(*source, buffer);
  {
    std::lock_guard lock(m_mutex);
    if (m_busy) return kStopped;  // one listen at a time
  }
  m_stats = {};
  m_error.clear();
  m_cause.clear();
  QString error;
  if (!m_decoder) return Fail("no grammar is loaded", "No test grammar is loaded.");
  if (!source->Start(error)) return Fail(error, error);
  {
    std::lock_guard lock(m_mutex);
    m_busy = true;
    m_progress = {true};
  }
  m_stop = false;
  m_finish = false;
  // Capture and decoding on a worker; this thread goes on running its event
  // loop, so the window paints and a "cancel" can reach StopListening.
  QEventLoop loop;
  int16_t status = -3;
  QByteArray words = buffer;
  std::thread worker([&] {
    std::vector<int16_t> audio;
    status = Capture(*source, audio);
    if (status == 0) status = Decide(audio, words);
    {
      std::lock_guard lock(m_mutex);
      m_busy = false;
      m_progress.listening = false;
    }
    m_idle.notify_all();
    QMetaObject::invokeMethod(
        &loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
  });
  loop.exec();
  m_stop = true;  // the loop may also have ended because the application is quitting
  worker.join();
  source->Stop();
  buffer = words;
  return status;
}

int16_t Recognizer::ListenTo(AudioSource& source, QByteArray& buffer) {
  m_stats = {};
  m_error.clear();
  m_cause.clear();
  m_stop = false;
  m_finish = false;
  if (!m_decoder) return Fail("no grammar is loaded", "No test grammar is loaded.");
  QString error;
  if (!source.Start(error)) return Fail(error, error);
  {
    std::lock_guard lock(m_mutex);
    m_busy = true;
    m_progress = {true};
  }
  std::vector<int16_t> audio;
  int16_t status = Capture(source, audio);
  source.Stop();
  if (status == 0) status = Decide(audio, buffer);
  {
    std::lock_guard lock(m_mutex);
    m_busy = false;
    m_progress.listening = false;
  }
  m_idle.notify_all();
  return status;
}

int16_t Recognizer::StopListening() {
  m_stop = true;
  {
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return !m_busy; });
  }
  m_decoder.reset();
  return 0;
}

#ifdef QV_HAVE_POCKETSPHINX

struct Recognizer::Decoder {
  ps_decoder_t* ps = nullptr;
  bool phoneLoop = false;
  ~Decoder() {
    if (ps) ps_free(ps);
  }
};

Recognizer::~Recognizer() { StopListening(); }

namespace {

// The recogniser's own graph from ours: one final state (a new one reached
// over empty steps when the graph has several, or one that leads on), every
// arc unweighted as the library's own grammar reader makes them. A word with
// several pronunciations in `phones` gets an arc for each ("word(2)", ...)
// beside its own: the search would add them itself, but by walking every
// arc of the graph once for each such word.
//
// With a `lengthBonus`, each word a sentence has beyond the graph's shortest
// one is credited that much: an arc earns it for every word its way to the end
// is longer than the shortest way from where it leaves. The search charges an
// insertion penalty per word, so without it an optional word that was said
// softly ("toggle the g p s source") loses to the sentence without it.
fsg_model_t* ToFsg(const WordGraph& graph, const std::vector<QString>& words, const QHash<QString, QStringList>& phones,
                   logmath_t* lmath, float lw, int32 lengthBonus = 0) {
  const FsgShape shape = ShapeForFsg(graph);
  const std::vector<int> toEnd = lengthBonus ? graph.FewestWordsToEnd() : std::vector<int>();
  const auto bonus = [&](const WordGraph::Arc& a) -> int32 {
    if (!lengthBonus || toEnd[size_t(a.from)] < 0 || toEnd[size_t(a.to)] < 0) return 0;
    return lengthBonus * ((a.label >= 0 ? 1 : 0) + toEnd[size_t(a.to)] - toEnd[size_t(a.from)]);
  };
  fsg_model_t* fsg = fsg_model_init("grammar", lmath, lw, shape.states);
  fsg->start_state = graph.StateCount() > 0 ? graph.Start() : 0;
  fsg->final_state = shape.final;
  std::vector<std::vector<int>> wid(words.size());  // a word's own id, then its alternatives'
  bool empty = false;
  for (const auto& a : graph.Arcs()) {
    if (a.label >= 0) {
      std::vector<int>& ids = wid[a.label];
      if (ids.empty()) {
        const QString& word = words[a.label];
        ids.push_back(fsg_model_word_add(fsg, word.toUtf8().constData()));
        for (qsizetype i = 2; i <= phones.value(word).size(); ++i)
          ids.push_back(fsg_model_word_add(fsg, QString("%1(%2)").arg(word).arg(i).toUtf8().constData()));
      }
      for (int id : ids) fsg_model_trans_add(fsg, a.from, a.to, bonus(a), id);
    } else {
      fsg_model_null_trans_add(fsg, a.from, a.to, bonus(a));
      empty = true;
    }
  }
  if (!shape.ownFinal)
    for (int s = 0; s < graph.StateCount(); ++s)
      if (graph.IsFinal(s)) {
        fsg_model_null_trans_add(fsg, s, fsg->final_state, 0);
        empty = true;
      }
  // The search follows one empty step at a time; chains must be closed.
  if (empty) glist_free(fsg_model_null_trans_closure(fsg, nullptr));
  return fsg;
}

}  // namespace

namespace {

// Makes a search graph with the decoder's log table, language weight and
// word insertion penalty.
using GraphMaker = std::function<fsg_model_t*(logmath_t*, float lw, double wordPenalty)>;

// Starts a decoder with the model and a dictionary and sets up the one
// search listening decodes with: the graph `makeGraph` makes and, beside it, the competitors
// that take out-of-grammar speech (SentenceCheck.h). The phone loop that
// judges speech is set up only when something reads its scores. Returns an
// error text, empty when it runs.
QString StartDecoder(ps_decoder_t*& ps, bool& phoneLoop, const SpeechModel& model, const QString& dictPath,
                     const RecognizerSettings& settings, const QStringList& decoderArguments,
                     const QStringList& competitors, const GraphMaker& makeGraph, const GraphMaker& makeRival = nullptr,
                     bool graphsHaveAlternatives = false) {
  SphinxLogCapture log;
  std::vector<QByteArray> args = {"-hmm",
                                  model.acousticDir.toUtf8(),
                                  "-dict",
                                  dictPath.toUtf8(),
                                  "-samprate",
                                  "16000",
                                  "-allphone_ci",
                                  "yes",
#ifdef _WIN32
                                  "-logfn",
                                  "NUL"
#else
                                  "-logfn",
                                  "/dev/null"
#endif
  };
  if (graphsHaveAlternatives) {
    args.push_back("-fsgusealtpron");
    args.push_back("no");
  }
  for (const QString& a : decoderArguments) args.push_back(a.toUtf8());
  std::vector<char*> argv;
  for (QByteArray& a : args) argv.push_back(a.data());
  cmd_ln_t* config = cmd_ln_parse_r(nullptr, ps_args(), static_cast<int32>(argv.size()), argv.data(), TRUE);
  if (!config) return "the recogniser's settings were refused";
  ps = ps_init(config);
  const float lw = static_cast<float>(cmd_ln_float32_r(config, "-lw"));
  const double wip = cmd_ln_float32_r(config, "-wip");
  cmd_ln_free_r(config);
  if (!ps) return log.HasErrors() ? log.Errors().first() : QString("the recogniser did not start");
  // Before any search exists: a word added later rebuilds every search.
  if (!AddMarkWord(ps)) return "the competitor's mark was refused";
  fsg_model_t* grammar = makeGraph(ps_get_logmath(ps), lw, wip);
  if (!grammar) return log.HasErrors() ? log.Errors().first() : QString("the grammar's graph cannot be read");
  fsg_model_t* rival = makeRival ? makeRival(ps_get_logmath(ps), lw, wip) : nullptr;
  fsg_model_t* checked = CheckedGraph(ps, grammar, competitors, settings.rejection, rival);
  if (rival) fsg_model_free(rival);
  fsg_model_free(grammar);
  if (ps_set_fsg(ps, kCheckedSearch, checked) < 0 && !log.HasErrors()) log.Add("the grammar was refused");
  fsg_model_free(checked);  // the decoder keeps its own reference
  fsg_model_t* quiet = fsg_model_init(kListenSearch, ps_get_logmath(ps), lw, 2);
  quiet->start_state = 0;
  quiet->final_state = 1;
  fsg_model_trans_add(quiet, 0, 1, 0, fsg_model_word_add(quiet, kCompetitorMark));
  if (ps_set_fsg(ps, kListenSearch, quiet) < 0 && !log.HasErrors()) log.Add("the listening search was refused");
  fsg_model_free(quiet);
  if (!log.HasErrors() && !model.phoneLm.isEmpty() && settings.NeedsPhoneScores())
    phoneLoop = ps_set_allphone_file(ps, kPhoneSearch, model.phoneLm.toUtf8().constData()) == 0;
  ps_set_search(ps, kCheckedSearch);
  return log.HasErrors() ? log.Errors().first() : QString();
}

}  // namespace

void Recognizer::BeginLoad(QElapsedTimer& timer) {
  m_decoder.reset();
  m_error.clear();
  m_cause.clear();
  m_load = {};
  timer.start();
}

int16_t Recognizer::LoadTestGrammar() {
  QElapsedTimer timer;
  BeginLoad(timer);
  const QString testDir = m_installDir + "/Grammars/Test";
  // The other phrases first, so that the folder's log is the test's own.
  CompileResult rival;
  if (m_settings.rejection.rivalPrior > 0 && QFileInfo::exists(testDir + "/" + grammar::kOtherPhrasesFile))
    rival = CompileFolder(m_installDir, testDir, grammar::kOtherPhrasesFile);
  const bool haveRival = rival.Ok() && !rival.grammars.empty();
  const CompileResult compiled = CompileFolder(m_installDir, testDir, "Test.bnf");
  m_load.compileSeconds = timer.nsecsElapsed() / 1e9;
  m_load.listsFromCache = compiled.filesFromCache;
  if (!compiled.Ok() || compiled.grammars.empty()) {
    m_error = QString("Test.bnf has no start rule");
    for (const auto& d : compiled.diagnostics)
      if (d.IsError()) {
        m_error = d.ToString();
        break;
      }
    return -3;
  }
  const SpeechModel model = FindSpeechModel(m_installDir);
  if (!model.Complete()) {
    m_error = "the recogniser's model is not installed";
    return -3;
  }
  const WordGraph& graph = compiled.grammars.front().graph;
  m_load.states = graph.StateCount();
  m_load.arcs = static_cast<int>(graph.ArcCount());
  // The decoder gets a dictionary of the grammar's words and the
  // competitor's only: loading the whole dictionary would cost more time and
  // memory than the grammar.
  QHash<QString, QStringList> phones = compiled.phones;
  if (haveRival) phones.insert(rival.phones);
  const QStringList competitors =
      m_settings.rejection.competitorWord > 0 ? CompetitorVocabulary(m_installDir) : QStringList();
  {
    Pronouncer pronouncer(model.dictionary, PronunciationListPath(m_installDir));
    for (const QString& w : competitors)
      if (!phones.contains(w)) {
        const QStringList known = pronouncer.Known(w);
        if (!known.isEmpty()) phones.insert(w, known);
      }
    // Accents for the words of the command phrases and the shared lists;
    // navaid and ILS names (thousands of words) keep their own, as eSpeak
    // for each would cost seconds of loading.
    if (!m_settings.variantVoices.isEmpty()) {
      const QStringList vocabulary = competitors.isEmpty() ? CompetitorVocabulary(m_installDir) : competitors;
      QStringList accented;
      for (const QString& w : vocabulary)
        if (phones.contains(w) && pronouncer.Listed(w).isEmpty()) accented << w;
      pronouncer.PrepareVariants(accented, m_settings.variantVoices);
      // The decoder copies every arc of a word for each further
      // pronunciation, so the grammar of a large list (the letters of 20,000
      // identifiers) would load several times slower: words on few arcs get
      // their accents first, until the arcs added reach the budget.
      QHash<QString, qint64> arcsOf;
      const auto count = [&](const WordGraph& g, const std::vector<QString>& labels) {
        for (const auto& a : g.Arcs())
          if (a.label >= 0) ++arcsOf[labels[a.label]];
      };
      count(graph, compiled.words);
      if (haveRival) count(rival.grammars.front().graph, rival.words);
      std::stable_sort(accented.begin(), accented.end(),
                       [&](const QString& a, const QString& b) { return arcsOf.value(a) < arcsOf.value(b); });
      qint64 added = 0;
      for (const QString& w : accented) {
        QStringList& known = phones[w];
        QStringList extra;
        for (const QString& v : pronouncer.SpokenVariants(w, m_settings.variantVoices))
          if (!known.contains(v)) extra << v;
        added += arcsOf.value(w) * extra.size();
        if (added > m_settings.variantArcBudget) break;
        known += extra;
      }
    }
  }
  if (!phones.contains("a")) phones.insert("a", {"AH"});  // the library wants one word at least
  QStringList words = phones.keys();
  words.sort();
  const QString dictPath = CompiledDir(testDir) + "/Test.dict";
  QDir().mkpath(CompiledDir(testDir));
  if (const base::FileResult written = base::WriteFileAtomic(dictPath, DictionaryText(phones, words)); !written) {
    m_error = written.error();
    return -3;
  }
  auto decoder = std::make_unique<Decoder>();
  const double beforeDecoder = timer.nsecsElapsed() / 1e9;
  m_error = StartDecoder(
      decoder->ps, decoder->phoneLoop, model, dictPath, m_settings,
      m_settings.decoderArguments.value_or(TestGrammarDecoderArguments()), competitors,
      [&](logmath_t* lmath, float lw, double wip) {
        m_load.modelSeconds = timer.nsecsElapsed() / 1e9 - beforeDecoder;
        // What a word beyond the phrase's shortest sentence gets back of the
        // search's insertion penalty (the penalty as the search scales it).
        const auto lengthBonus = static_cast<int32>(-logmath_log(lmath, wip) * lw * m_settings.lengthBalance);
        return ToFsg(graph, compiled.words, phones, lmath, lw, lengthBonus);
      },
      [&](logmath_t* lmath, float lw, double) {
        return haveRival ? ToFsg(rival.grammars.front().graph, rival.words, phones, lmath, lw) : nullptr;
      },
      true);
  if (!m_error.isEmpty()) return -3;
  m_decoder = std::move(decoder);
  m_load.totalSeconds = timer.nsecsElapsed() / 1e9;
  return 0;
}

int16_t Recognizer::LoadCompiledGrammar(const QString& name) {
  QElapsedTimer timer;
  BeginLoad(timer);
  const QString dir = CompiledDir(m_installDir + "/Grammars");
  const QString fsgPath = dir + "/" + name + ".fsg";
  const SpeechModel model = FindSpeechModel(m_installDir);
  if (!model.Complete() || !QFileInfo::exists(fsgPath)) {
    m_error = model.Complete() ? "no compiled grammar " + fsgPath : QString("the recogniser's model is not installed");
    return -3;
  }
  auto decoder = std::make_unique<Decoder>();
  const QByteArray path = fsgPath.toUtf8();
  const QStringList competitors =
      m_settings.rejection.competitorWord > 0 ? CompetitorVocabulary(m_installDir) : QStringList();
  m_error = StartDecoder(decoder->ps, decoder->phoneLoop, model, dir + "/" + kAddedWordsFile, m_settings,
                         m_settings.decoderArguments.value_or(QStringList()), competitors,
                         [&](logmath_t* lmath, float lw, double) {
                           m_load.modelSeconds = timer.nsecsElapsed() / 1e9;
                           fsg_model_t* fsg = fsg_model_readfile(path.constData(), lmath, lw);
                           if (fsg) m_load.states = fsg_model_n_state(fsg);
                           return fsg;
                         });
  if (!m_error.isEmpty()) return -3;
  m_decoder = std::move(decoder);
  m_load.totalSeconds = timer.nsecsElapsed() / 1e9;
  return 0;
}

namespace {

// The compiled graphs of `paths` joined into one: a new start state steps
// into each graph's start, each graph's final state steps into a new final
// one. Reads the text the compiler writes ("TRANSITION from to 1 [word]").
fsg_model_t* JoinedFsg(const QStringList& paths, logmath_t* lmath, float lw, QString& error) {
  struct Part {
    int states = 0, start = 0, final = 0;
    std::vector<std::array<int, 3>> arcs;  // from, to, word (-1: an empty step)
  };
  std::vector<Part> parts;
  QHash<QByteArray, int> wordIds;
  std::vector<QByteArray> words;
  int total = 2;
  for (const QString& path : paths) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
      error = "the compiled grammar " + path + " cannot be read";
      return nullptr;
    }
    const QByteArray text = file.readAll();
    Part part;
    for (qsizetype pos = 0; pos < text.size();) {
      qsizetype end = text.indexOf('\n', pos);
      if (end < 0) end = text.size();
      const QList<QByteArray> f = text.mid(pos, end - pos).simplified().split(' ');
      pos = end + 1;
      if (f.size() >= 4 && f[0] == "TRANSITION") {
        int word = -1;
        if (f.size() >= 5) {
          auto it = wordIds.find(f[4]);
          if (it == wordIds.end()) {
            it = wordIds.insert(f[4], static_cast<int>(words.size()));
            words.push_back(f[4]);
          }
          word = *it;
        }
        part.arcs.push_back({f[1].toInt(), f[2].toInt(), word});
      } else if (f.size() >= 2 && f[0] == "NUM_STATES") {
        part.states = f[1].toInt();
      } else if (f.size() >= 2 && f[0] == "START_STATE") {
        part.start = f[1].toInt();
      } else if (f.size() >= 2 && f[0] == "FINAL_STATE") {
        part.final = f[1].toInt();
      }
    }
    if (part.states <= 0) {
      error = "the compiled grammar " + path + " has no states";
      return nullptr;
    }
    total += part.states;
    parts.push_back(std::move(part));
  }
  fsg_model_t* fsg = fsg_model_init("grammar", lmath, lw, total);
  fsg->start_state = 0;
  fsg->final_state = 1;
  std::vector<int> wid(words.size(), -1);
  int offset = 2;
  for (const Part& p : parts) {
    fsg_model_null_trans_add(fsg, 0, offset + p.start, 0);
    fsg_model_null_trans_add(fsg, offset + p.final, 1, 0);
    for (const auto& a : p.arcs) {
      if (a[0] < 0 || a[1] < 0 || a[0] >= p.states || a[1] >= p.states) continue;
      if (a[2] < 0) {
        fsg_model_null_trans_add(fsg, offset + a[0], offset + a[1], 0);
        continue;
      }
      if (wid[a[2]] < 0) wid[a[2]] = fsg_model_word_add(fsg, words[a[2]].constData());
      fsg_model_trans_add(fsg, offset + a[0], offset + a[1], 0, wid[a[2]]);
    }
    offset += p.states;
  }
  glist_free(fsg_model_null_trans_closure(fsg, nullptr));
  return fsg;
}

}  // namespace

int16_t Recognizer::LoadCompiledGrammars(const QStringList& names) {
  QElapsedTimer timer;
  BeginLoad(timer);
  const QString dir = CompiledDir(m_installDir + "/Grammars");
  const SpeechModel model = FindSpeechModel(m_installDir);
  if (!model.Complete()) {
    m_error = "the recogniser's model is not installed";
    return -3;
  }
  QStringList paths;
  for (const QString& name : names) {
    const QString path = dir + "/" + name + ".fsg";
    if (!QFileInfo::exists(path)) {
      m_error = "no compiled grammar " + path;
      return -3;
    }
    paths << path;
  }
  if (paths.isEmpty()) {
    m_error = "no grammar to load";
    return -3;
  }
  auto decoder = std::make_unique<Decoder>();
  QString readError;
  m_error = StartDecoder(decoder->ps, decoder->phoneLoop, model, dir + "/" + kAddedWordsFile, m_settings,
                         m_settings.decoderArguments.value_or(QStringList()), CompetitorVocabulary(m_installDir),
                         [&](logmath_t* lmath, float lw, double) {
                           m_load.modelSeconds = timer.nsecsElapsed() / 1e9;
                           fsg_model_t* fsg = JoinedFsg(paths, lmath, lw, readError);
                           if (fsg) m_load.states = fsg_model_n_state(fsg);
                           return fsg;
                         });
  if (m_error.isEmpty() && !readError.isEmpty()) m_error = readError;
  if (!m_error.isEmpty()) return -3;
  m_decoder = std::move(decoder);
  m_load.totalSeconds = timer.nsecsElapsed() / 1e9;
  return 0;
}

namespace {

DecodedPass Decode(ps_decoder_t* ps, const char* search, std::span<const int16_t> audio, QString* hypothesis) {
  DecodedPass pass;
  ps_set_search(ps, search);
  ps_start_utt(ps);
  // One block, the whole utterance: the features are normalised over all of
  // it rather than by a running estimate, and every search sees the same.
  ps_process_raw(ps, audio.data(), audio.size(), FALSE, TRUE);
  ps_end_utt(ps);
  if (hypothesis) {
    const char* hyp = ps_get_hyp(ps, nullptr);
    *hypothesis = QString::fromUtf8(hyp ? hyp : "").simplified();
  }
  pass.frames = ps_get_n_frames(ps);
  for (ps_seg_t* s = ps_seg_iter(ps); s; s = ps_seg_next(s)) {
    Segment seg;
    seg.word = QString::fromUtf8(ps_seg_word(s));
    ps_seg_frames(s, &seg.first, &seg.last);
    int32 ascr = 0, lscr = 0, lback = 0;
    ps_seg_prob(s, &ascr, &lscr, &lback);
    seg.acoustic = ascr;
    pass.segments.push_back(seg);
  }
  return pass;
}

}  // namespace

int16_t Recognizer::Capture(AudioSource& source, std::vector<int16_t>& audio) {
  ps_decoder_t* ps = m_decoder->ps;
  std::vector<int16_t> chunk;
  QString error;
  grammar::ListeningProgress progress{true};
  QElapsedTimer wall;
  wall.start();
  {
    SphinxLogCapture log;
    // Each listen is a stream of its own: the noise level and the voice
    // detector's state of the previous one would mislead this one.
    ps_set_search(ps, kListenSearch);
    ps_start_stream(ps);
    ps_start_utt(ps);
  }
  bool ok = true, stopped = false;
  for (;;) {
    if (m_stop) {
      stopped = true;
      break;
    }
    chunk.clear();
    if (!source.Read(chunk, error)) {
      ok = false;
      break;
    }
    if (!chunk.empty()) {
      bool inSpeech = false;
      {
        // Only the voice detector runs while listening; the searches run
        // once the utterance is complete.
        SphinxLogCapture log;
        ps_process_raw(ps, chunk.data(), chunk.size(), TRUE, FALSE);
        inSpeech = ps_get_in_speech(ps);
      }
      audio.insert(audio.end(), chunk.begin(), chunk.end());
      const double seconds = static_cast<double>(chunk.size()) / kSampleRate;
      progress.level = Level(chunk);
      progress.heardSeconds += seconds;
      if (inSpeech) {
        m_stats.speechHeard = true;
        progress.speechSeconds += seconds;
      }
      SetProgress(progress);
      if (!inSpeech && m_stats.speechHeard) break;  // the speaker stopped
    }
    const double heard = progress.heardSeconds;
    if (m_finish || source.AtEnd() || heard >= m_settings.maxSeconds) break;
    if (!m_stats.speechHeard && heard >= m_settings.noSpeechSeconds) break;
    if (wall.elapsed() > (m_settings.maxSeconds + 2.0) * 1000) break;  // a device that delivers nothing
  }
  {
    SphinxLogCapture log;
    ps_end_utt(ps);
  }
  progress.level = 0;
  SetProgress(progress);
  m_stats.audioSeconds = progress.heardSeconds;
  m_stats.speechSeconds = progress.speechSeconds;
  if (stopped) return kStopped;
  if (!ok) return Fail(error, error);
  return 0;
}

int16_t Recognizer::Decide(const std::vector<int16_t>& audio, QByteArray& buffer) {
  if (m_stop) return kStopped;
  if (!m_stats.speechHeard || audio.empty()) return -2;
  ps_decoder_t* ps = m_decoder->ps;
  const double cpu = ThreadSeconds();
  SphinxLogCapture log;
  const std::span<const int16_t> heard(audio.data(), SpeechEnd(audio, kSampleRate, m_settings.speechSpan));
  const DecodedPass checked = Decode(ps, kCheckedSearch, heard, &m_stats.hypothesis);
  m_stats.frames = checked.frames;
  // Audio that ends part-way through a sentence is logged as an error by the
  // grammar search; for the speaker it simply means nothing valid was heard.
  bool partial = false;
  QStringList errors;
  for (const QString& e : log.Errors()) {
    if (e.contains("does not match the grammar"))
      partial = true;
    else
      errors << e;
  }
  log.Clear();
  for (const QString& e : errors) log.Add(e);
  const QString sentence = SentenceOf(m_stats.hypothesis);
  int16_t status = 0;
  if (partial || sentence.isEmpty() || m_stats.frames <= 0) {
    status = -2;
  } else if (m_decoder->phoneLoop) {
    m_stats.scores = ScoreSentence(checked, Decode(ps, kPhoneSearch, heard, nullptr));
    if (Rejected(m_stats.scores, m_settings.rejection)) status = -2;
  }
  ps_set_search(ps, kCheckedSearch);
  m_stats.decodeSeconds = ThreadSeconds() - cpu;
  if (log.HasErrors()) return Fail(log.Errors().first(), "The recogniser reported an error: " + log.Errors().first());
  if (status == 0) {
    const QByteArray words = sentence.toLatin1().left(buffer.size() > 0 ? buffer.size() - 1 : 1023);
    if (buffer.size() < words.size()) buffer.resize(words.size());
    buffer.replace(0, words.size(), words);
  }
  return status;
}

#else

struct Recognizer::Decoder {};
Recognizer::~Recognizer() = default;
int16_t Recognizer::LoadTestGrammar() {
  m_error = "built without the recogniser";
  return -3;
}
int16_t Recognizer::LoadCompiledGrammar(const QString&) {
  m_error = "built without the recogniser";
  return -3;
}
int16_t Recognizer::LoadCompiledGrammars(const QStringList&) {
  m_error = "built without the recogniser";
  return -3;
}
int16_t Recognizer::Capture(AudioSource&, std::vector<int16_t>&) { return -3; }
int16_t Recognizer::Decide(const std::vector<int16_t>&, QByteArray&) { return -3; }

#endif

}  // namespace qv::speech
