#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "core/grammar/SpeechEngines.h"
#include "speech/AudioSource.h"
#include "speech/SentenceCheck.h"
#include "speech/SpeechSpan.h"

class QElapsedTimer;

namespace qv::speech {

// What one listen measured; quorvane-cli recognize --stats prints it, and the
// rejection settings were chosen from it.
struct ListenStats {
  double audioSeconds = 0;   // audio taken in
  double speechSeconds = 0;  // of which the voice detector took for speech
  double decodeSeconds = 0;  // processor time spent decoding
  int frames = 0;            // frames decoded
  QString hypothesis;        // the checked search's best path, the competitor's mark included
  SentenceScores scores;     // the kept sentence against a free phone loop
  bool speechHeard = false;
};

// What loading the test grammar took.
struct LoadStats {
  double compileSeconds = 0;  // compiling the test folder (lists from the cache)
  double modelSeconds = 0;    // starting the decoder with the model
  double totalSeconds = 0;
  int listsFromCache = 0;
  int states = 0, arcs = 0;  // the search graph handed to the decoder
};

// The recogniser's options for the test grammar of one phrase, measured on
// the tuning part of tests/fixtures/speech/RecognitionSet.json: more
// Gaussians per frame (the model keeps 4 by default), beams wide enough that
// the sentence's last words are still alive at the end of the utterance, and
// a word insertion penalty against short words heard in between ("eight two
// knots").
inline QStringList TestGrammarDecoderArguments() {
  return {"-topn", "16", "-beam", "1e-80", "-wbeam", "1e-60", "-pbeam", "1e-80", "-lpbeam", "1e-60", "-wip", "1e-3"};
}

struct RecognizerSettings {
  double maxSeconds = 10.0;      // listening ends after this much audio
  double noSpeechSeconds = 6.0;  // ... or after this much without speech
  double trailingSeconds = 0.5;  // ... or this long after the speaker stopped
  RejectionSettings rejection;
  // eSpeak NG voices whose way of saying each word of the command phrases
  // and shared lists is added to the test dictionary's pronunciations (words
  // of the pilot's list excepted):
  // American and British English, the accents of the copilot's voices.
  QStringList variantVoices = {"en-us", "en-gb-x-rp"};
  qint64 variantArcBudget = 20000;  // grammar arcs those accents may add at most
  // The recogniser's options beyond the model's own ("-topn", "8", ...);
  // unset: the ones measured for what is loaded, TestGrammarDecoderArguments()
  // for the grammar test and the model's own for the whole command set
  // (rehearsal), whose search is far larger.
  std::optional<QStringList> decoderArguments;
  bool phoneScores = false;       // score every sentence against the phone loop (margins, confidence)
  // how much of the recording after the speech is decoded
  SpeechSpanSettings speechSpan;
  // Share of the test grammar's word insertion penalty given back for each
  // word a sentence has beyond the phrase's shortest, so that an optional
  // word said is not scored against (0: none; 1: every length scores alike).
  double lengthBalance = 0.5;

  bool NeedsPhoneScores() const {
    return phoneScores || rejection.wordMargin > 0 || rejection.speechMargin > 0;
  }
};

// The recogniser behind fnSpeechRecDLL_Call, for the grammar test: loads the
// test grammar of Grammars/Test and listens once per call.
class Recognizer final : public grammar::RecognizerEngine {
 public:
  using SourceFactory = std::function<std::unique_ptr<AudioSource>()>;

  explicit Recognizer(QString installDir, RecognizerSettings settings = {});
  ~Recognizer() override;

  int16_t LoadTestGrammar() override;
  // Loads a grammar of the full compile (Grammars/Compiled/<name>.fsg and the
  // words' dictionary) as the in-flight runtime loads it: proves the
  // compiled form and tells what it costs.
  int16_t LoadCompiledGrammar(const QString& name);
  // Loads several grammars of the full compile as one search: a branch per
  // grammar from a common start, so that one utterance is heard against all
  // of them at once (as in flight, where every category listens).
  int16_t LoadCompiledGrammars(const QStringList& names);
  // Listens to the microphone (or the source factory's source). Capture and
  // decoding run on a worker thread; a calling thread that runs Qt's event
  // loop keeps running it until listening has ended.
  int16_t Listen(QByteArray& buffer) override;
  // Ends a listen under way at once (its Listen returns 1) and releases the
  // grammar.
  int16_t StopListening() override;
  // Ends the capture of a listen under way as if the speaker had stopped:
  // what was heard so far is decided on (a released talk key).
  void FinishListening() { m_finish = true; }
  grammar::ListeningProgress Progress() const override;
  QString FailureCause() const override;

  // Listens to any source as Listen does, on the calling thread.
  int16_t ListenTo(AudioSource& source, QByteArray& buffer);
  void SetSourceFactory(SourceFactory factory) { m_sourceFactory = std::move(factory); }
  const ListenStats& LastStats() const { return m_stats; }
  const LoadStats& LastLoad() const { return m_load; }
  QString LastError() const { return m_error; }

  static constexpr int16_t kStopped = 1;

 private:
  struct Decoder;
  int16_t Capture(AudioSource& source, std::vector<int16_t>& audio);
  int16_t Decide(const std::vector<int16_t>& audio, QByteArray& buffer);
  int16_t Fail(const QString& error, const QString& cause);
  // Every load starts from nothing: no grammar, no error, its figures reset.
  void BeginLoad(QElapsedTimer& timer);
  void SetProgress(const grammar::ListeningProgress& p);

  QString m_installDir;
  RecognizerSettings m_settings;
  std::unique_ptr<Decoder> m_decoder;
  SourceFactory m_sourceFactory;
  ListenStats m_stats;
  LoadStats m_load;
  QString m_error;
  QString m_cause;

  // Shared with the worker thread.
  std::atomic<bool> m_stop{false};
  std::atomic<bool> m_finish{false};
  mutable std::mutex m_mutex;
  std::condition_variable m_idle;
  bool m_busy = false;
  grammar::ListeningProgress m_progress;
};

}  // namespace qv::speech
