#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

#include "core/grammar/Pronunciations.h"

namespace qv::grammar {

// One problem the grammar compiler found, where it found it: a file of the
// Grammars folder, its line and column (1-based; 0 when not known).
struct CompileDiagnostic {
  QString file;
  int line = 0;
  int column = 0;
  bool error = true;  // false: a warning, the compile still succeeds
  QString message;
  int relatedLine = 0;  // a second place in the same file (0: none)
  int relatedColumn = 0;
};

// The engines behind the speech facade. The facade maps the command numbers of
// the three entry points onto these methods; an engine that cannot work here
// says so through its status instead of pretending.

class GrammarCompilerEngine {
 public:
  virtual ~GrammarCompilerEngine() = default;
  virtual int16_t Start() = 0;
  // Compiles every grammar file of the installation's Grammars folder.
  // 0 = compiled; anything else = failure.
  virtual int16_t Compile(int a, int b) = 0;
  virtual int16_t Stop() = 0;
  // The problems of the last compile, errors and warnings.
  virtual std::vector<CompileDiagnostic> Diagnostics() const { return {}; }
  // For the pronunciation screen: the words of `phrases` to review, and
  // phones as the speech output can say them (empty: it cannot).
  virtual std::vector<ReviewedWord> WordsToReview(const QStringList&) { return {}; }
  virtual QString SpeakablePhonemes(const QString&) const { return {}; }
};

// What the recogniser has taken in: live while Listen runs, the totals of
// the last listen afterwards.
struct ListeningProgress {
  bool listening = false;
  double level = 0;          // input level of the latest tenth of a second, 0 (silent) to 1 (full scale)
  double heardSeconds = 0;   // audio taken in
  double speechSeconds = 0;  // of which the recogniser took for speech
};

class RecognizerEngine {
 public:
  virtual ~RecognizerEngine() = default;
  // Loads the test grammar; -3 = failed to initialise.
  virtual int16_t LoadTestGrammar() = 0;
  // Listens once and returns when listening has ended. 0 = recognised (words
  // in `buffer`), -2 = nothing in the grammar was heard, -3 = engine or audio
  // error, 1 = stopped by StopListening. An engine that listens in the
  // background keeps the caller's event loop running meanwhile, so the
  // interface stays live and StopListening can arrive while Listen waits.
  virtual int16_t Listen(QByteArray& buffer) = 0;
  virtual int16_t StopListening() = 0;
  virtual ListeningProgress Progress() const { return {}; }
  // Why the last call reported -3, as one sentence for the user ("No
  // microphone was found."); empty when there is nothing to add.
  virtual QString FailureCause() const { return {}; }
};

class SpeechOutputEngine {
 public:
  virtual ~SpeechOutputEngine() = default;
  virtual int32_t Start() = 0;
  // 0 = voice n (1 to 4) is present.
  virtual int32_t VoicePresent(int voice) = 0;
  // Speaks without blocking the caller. 0 = started.
  virtual int32_t Speak(int voice, int volume, int rate, const QByteArray& text) = 0;
};

// Engines for a build without speech: every call reports failure honestly.
class UnavailableCompiler final : public GrammarCompilerEngine {
 public:
  int16_t Start() override { return 1; }
  int16_t Compile(int, int) override { return 1; }
  int16_t Stop() override { return 1; }
};

class UnavailableRecognizer final : public RecognizerEngine {
 public:
  int16_t LoadTestGrammar() override { return -3; }
  int16_t Listen(QByteArray&) override { return -3; }
  int16_t StopListening() override { return 0; }
};

class UnavailableSpeechOutput final : public SpeechOutputEngine {
 public:
  int32_t Start() override { return 1; }
  int32_t VoicePresent(int) override { return 1; }
  int32_t Speak(int, int, int, const QByteArray&) override { return 1; }
};

}  // namespace qv::grammar
