#include "speech/Recognizer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSaveFile>
#include <functional>

#include "speech/CompilerEngine.h"
#include "speech/SpeechModel.h"
#include "speech/SphinxSupport.h"

#ifdef QV_HAVE_POCKETSPHINX
#include <pocketsphinx.h>
#include <sphinxbase/fsg_model.h>
#endif

namespace qv::speech {

namespace {
constexpr const char* kGrammarSearch = "grammar";
constexpr const char* kPhoneSearch = "phones";
// Chosen on held-out synthetic speech (several voices, commands, navaid and
// ILS phrases against out-of-grammar sentences); see the slow speech tests.
constexpr double kDefaultRejectMargin = 32.0;
}  // namespace

double Recognizer::DefaultRejectMargin() { return kDefaultRejectMargin; }

#ifdef QV_HAVE_POCKETSPHINX

struct Recognizer::Decoder {
  ps_decoder_t* ps = nullptr;
  ~Decoder() {
    if (ps) ps_free(ps);
  }
};

Recognizer::Recognizer(QString installDir, RecognizerSettings settings)
    : m_installDir(std::move(installDir)), m_settings(settings) {
  if (m_settings.rejectMargin <= 0) m_settings.rejectMargin = kDefaultRejectMargin;
}

Recognizer::~Recognizer() = default;

namespace {

// The recogniser's own graph from ours: one final state (a new one reached
// over empty steps when the graph has several, or one that leads on), every
// arc unweighted as the library's own grammar reader makes them.
fsg_model_t* ToFsg(const WordGraph& graph, const std::vector<QString>& words, logmath_t* lmath, float lw) {
  const FsgShape shape = ShapeForFsg(graph);
  fsg_model_t* fsg = fsg_model_init("grammar", lmath, lw, shape.states);
  fsg->start_state = graph.StateCount() > 0 ? graph.Start() : 0;
  fsg->final_state = shape.final;
  std::vector<int> wid(words.size(), -1);
  bool empty = false;
  for (const auto& a : graph.Arcs()) {
    if (a.label >= 0) {
      if (wid[a.label] < 0) wid[a.label] = fsg_model_word_add(fsg, words[a.label].toUtf8().constData());
      fsg_model_trans_add(fsg, a.from, a.to, 0, wid[a.label]);
    } else {
      fsg_model_null_trans_add(fsg, a.from, a.to, 0);
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

// Starts a decoder with the model and a dictionary and hands it the graph
// `makeGraph` makes (with the decoder's log table and language weight);
// sets up the phone loop for judging speech. Returns an error text, empty
// when it runs.
QString StartDecoder(ps_decoder_t*& ps, const SpeechModel& model, const QString& dictPath,
                     const std::function<fsg_model_t*(logmath_t*, float)>& makeGraph) {
  SphinxLogCapture log;
  const QByteArray hmmPath = model.acousticDir.toUtf8(), dictBytes = dictPath.toUtf8();
  cmd_ln_t* config = cmd_ln_init(nullptr, ps_args(), TRUE, "-hmm", hmmPath.constData(), "-dict", dictBytes.constData(),
                                 "-samprate", "16000", "-allphone_ci", "yes",
#ifdef _WIN32
                                 "-logfn", "NUL",
#else
                                 "-logfn", "/dev/null",
#endif
                                 nullptr);
  if (!config) return "the recogniser's settings were refused";
  ps = ps_init(config);
  const float lw = static_cast<float>(cmd_ln_float32_r(config, "-lw"));
  cmd_ln_free_r(config);
  if (!ps) return log.HasErrors() ? log.Errors().first() : QString("the recogniser did not start");
  fsg_model_t* fsg = makeGraph(ps_get_logmath(ps), lw);
  if (!fsg) return log.HasErrors() ? log.Errors().first() : QString("the grammar's graph cannot be read");
  if (ps_set_fsg(ps, kGrammarSearch, fsg) < 0 && !log.HasErrors()) log.Add("the grammar was refused");
  fsg_model_free(fsg);  // the decoder keeps its own reference
  if (!model.phoneLm.isEmpty()) ps_set_allphone_file(ps, kPhoneSearch, model.phoneLm.toUtf8().constData());
  ps_set_search(ps, kGrammarSearch);
  return log.HasErrors() ? log.Errors().first() : QString();
}

}  // namespace

int16_t Recognizer::LoadTestGrammar() {
  m_decoder.reset();
  m_error.clear();
  m_load = {};
  QElapsedTimer timer;
  timer.start();
  const QString testDir = m_installDir + "/Grammars/Test";
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
  // The decoder gets a dictionary of the grammar's words only: loading the
  // whole dictionary would cost more time and memory than the grammar.
  QStringList words = compiled.phones.keys();
  words.sort();
  if (words.isEmpty()) words << "a";  // the library wants one word at least
  QHash<QString, QStringList> phones = compiled.phones;
  if (!phones.contains("a")) phones.insert("a", {"AH"});
  const QString dictPath = CompiledDir(testDir) + "/Test.dict";
  QDir().mkpath(CompiledDir(testDir));
  {
    QSaveFile dict(dictPath);
    if (!dict.open(QIODevice::WriteOnly) || dict.write(DictionaryText(phones, words)) < 0 || !dict.commit()) {
      m_error = "cannot write " + dictPath;
      return -3;
    }
  }
  auto decoder = std::make_unique<Decoder>();
  const double beforeDecoder = timer.nsecsElapsed() / 1e9;
  m_error = StartDecoder(decoder->ps, model, dictPath, [&](logmath_t* lmath, float lw) {
    m_load.modelSeconds = timer.nsecsElapsed() / 1e9 - beforeDecoder;
    return ToFsg(graph, compiled.words, lmath, lw);
  });
  if (!m_error.isEmpty()) return -3;
  m_decoder = std::move(decoder);
  m_load.totalSeconds = timer.nsecsElapsed() / 1e9;
  return 0;
}

int16_t Recognizer::LoadCompiledGrammar(const QString& name) {
  m_decoder.reset();
  m_error.clear();
  m_load = {};
  QElapsedTimer timer;
  timer.start();
  const QString dir = CompiledDir(m_installDir + "/Grammars");
  const QString fsgPath = dir + "/" + name + ".fsg";
  const SpeechModel model = FindSpeechModel(m_installDir);
  if (!model.Complete() || !QFileInfo::exists(fsgPath)) {
    m_error = model.Complete() ? "no compiled grammar " + fsgPath : QString("the recogniser's model is not installed");
    return -3;
  }
  auto decoder = std::make_unique<Decoder>();
  const QByteArray path = fsgPath.toUtf8();
  m_error = StartDecoder(decoder->ps, model, dir + "/" + kAddedWordsFile, [&](logmath_t* lmath, float lw) {
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

int32 AcousticScore(ps_decoder_t* ps) {
  int32 total = 0;
  for (ps_seg_t* s = ps_seg_iter(ps); s; s = ps_seg_next(s)) {
    int32 ascr = 0, lscr = 0, lback = 0;
    ps_seg_prob(s, &ascr, &lscr, &lback);
    total += ascr;
  }
  return total;
}

}  // namespace

int16_t Recognizer::ListenTo(AudioSource& source, QByteArray& buffer) {
  m_stats = {};
  m_error.clear();
  if (!m_decoder) {
    m_error = "no grammar is loaded";
    return -3;
  }
  ps_decoder_t* ps = m_decoder->ps;
  SphinxLogCapture log;
  QString error;
  if (!source.Start(error)) {
    m_error = error;
    return -3;
  }
  std::vector<int16_t> all, chunk;
  ps_set_search(ps, kGrammarSearch);
  ps_start_utt(ps);
  QElapsedTimer wall, decode;
  wall.start();
  qint64 decodeNs = 0;
  bool ok = true;
  for (;;) {
    chunk.clear();
    if (!source.Read(chunk, error)) {
      ok = false;
      break;
    }
    if (!chunk.empty()) {
      decode.start();
      ps_process_raw(ps, chunk.data(), chunk.size(), FALSE, FALSE);
      decodeNs += decode.nsecsElapsed();
      all.insert(all.end(), chunk.begin(), chunk.end());
      if (ps_get_in_speech(ps)) {
        m_stats.speechHeard = true;
      } else if (m_stats.speechHeard) {
        break;  // the speaker stopped
      }
    }
    const double heard = static_cast<double>(all.size()) / kSampleRate;
    if (source.AtEnd() || heard >= m_settings.maxSeconds) break;
    if (!m_stats.speechHeard && heard >= m_settings.noSpeechSeconds) break;
    if (wall.elapsed() > (m_settings.maxSeconds + 2.0) * 1000) break;  // a device that delivers nothing
  }
  source.Stop();
  decode.start();
  ps_end_utt(ps);
  m_stats.audioSeconds = static_cast<double>(all.size()) / kSampleRate;
  if (!ok) {
    decodeNs += decode.nsecsElapsed();
    m_stats.decodeSeconds = decodeNs / 1e9;
    m_error = error;
    return -3;
  }
  int32 score = 0;
  const char* hyp = ps_get_hyp(ps, &score);
  m_stats.hypothesis = QString::fromUtf8(hyp ? hyp : "").simplified();
  m_stats.frames = ps_get_n_frames(ps);
  const int32 grammarScore = AcousticScore(ps);
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
  int16_t status = 0;
  if (partial || !m_stats.speechHeard || m_stats.hypothesis.isEmpty() || m_stats.frames <= 0) {
    status = -2;
  } else if (ps_set_search(ps, kPhoneSearch) == 0) {
    // Second pass: the same audio against a free phone loop. Speech that
    // the grammar explains nearly as well as the loop was in the grammar.
    ps_start_utt(ps);
    ps_process_raw(ps, all.data(), all.size(), FALSE, TRUE);
    ps_end_utt(ps);
    const int32 phoneScore = AcousticScore(ps);
    ps_set_search(ps, kGrammarSearch);
    m_stats.margin = static_cast<double>(phoneScore - grammarScore) / m_stats.frames;
    if (m_stats.margin > m_settings.rejectMargin) status = -2;
  }
  decodeNs += decode.nsecsElapsed();
  m_stats.decodeSeconds = decodeNs / 1e9;
  if (log.HasErrors()) {
    m_error = log.Errors().first();
    return -3;
  }
  if (status == 0) {
    QByteArray words = m_stats.hypothesis.toLatin1().left(buffer.size() > 0 ? buffer.size() - 1 : 1023);
    if (buffer.size() < words.size()) buffer.resize(words.size());
    buffer.replace(0, words.size(), words);
  }
  return status;
}

int16_t Recognizer::Listen(QByteArray& buffer) {
  MicrophoneSource mic;
  return ListenTo(mic, buffer);
}

int16_t Recognizer::StopListening() {
  m_decoder.reset();
  return 0;
}

#else

struct Recognizer::Decoder {};
Recognizer::Recognizer(QString installDir, RecognizerSettings settings)
    : m_installDir(std::move(installDir)), m_settings(settings) {}
Recognizer::~Recognizer() = default;
int16_t Recognizer::LoadTestGrammar() {
  m_error = "built without the recogniser";
  return -3;
}
int16_t Recognizer::LoadCompiledGrammar(const QString&) {
  m_error = "built without the recogniser";
  return -3;
}
int16_t Recognizer::ListenTo(AudioSource&, QByteArray&) { return -3; }
int16_t Recognizer::Listen(QByteArray&) { return -3; }
int16_t Recognizer::StopListening() { return 0; }

#endif

}  // namespace qv::speech
