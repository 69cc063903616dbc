#pragma once

#include <QString>
#include <memory>

#include "core/grammar/SpeechEngines.h"
#include "speech/AudioSource.h"

namespace qv::speech {

// What one listen measured; the command-line tool prints it on request and
// the rejection threshold was chosen from it.
struct ListenStats {
  double audioSeconds = 0;   // audio taken in
  double decodeSeconds = 0;  // processor time spent decoding
  int frames = 0;            // speech frames decoded
  double margin = 0;         // per-frame acoustic score gap to a free phone loop
  QString hypothesis;        // the grammar search's best sentence, even when rejected
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

struct RecognizerSettings {
  double maxSeconds = 10.0;      // listening ends after this much audio
  double noSpeechSeconds = 6.0;  // ... or after this much without speech
  // Out-of-grammar speech is rejected when the best sentence's acoustic score
  // per frame falls this far below a free phone loop on the same audio.
  double rejectMargin = 0;  // 0 = the tuned default
};

// The recogniser behind fnSpeechRecDLL_Call, for the grammar test: loads the
// test grammar of Grammars/Test and listens once per call.
class Recognizer final : public grammar::RecognizerEngine {
 public:
  explicit Recognizer(QString installDir, RecognizerSettings settings = {});
  ~Recognizer() override;

  int16_t LoadTestGrammar() override;
  // Loads a grammar of the full compile (Grammars/Compiled/<name>.fsg and the
  // words' dictionary) as the in-flight runtime loads it: proves the
  // compiled form and tells what it costs.
  int16_t LoadCompiledGrammar(const QString& name);
  int16_t Listen(QByteArray& buffer) override;  // from the default microphone
  int16_t StopListening() override;

  // Listens to any source as Listen does to the microphone.
  int16_t ListenTo(AudioSource& source, QByteArray& buffer);
  const ListenStats& LastStats() const { return m_stats; }
  const LoadStats& LastLoad() const { return m_load; }
  QString LastError() const { return m_error; }

  static double DefaultRejectMargin();

 private:
  struct Decoder;
  QString m_installDir;
  RecognizerSettings m_settings;
  std::unique_ptr<Decoder> m_decoder;
  ListenStats m_stats;
  LoadStats m_load;
  QString m_error;
};

}  // namespace qv::speech
