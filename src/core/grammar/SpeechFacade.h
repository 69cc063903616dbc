#pragma once

#include <QByteArray>
#include <cstdint>

#include "core/grammar/SpeechEngines.h"

namespace qv::grammar {

class RehearsalRecognizer;

// The three speech entry points the rest of the program calls, each taking a
// command number first. Every call is made only while `speechReady` is on;
// while it is off a call does nothing and reports failure.
class SpeechFacade {
 public:
  SpeechFacade(const bool& speechReady, GrammarCompilerEngine& compiler, RecognizerEngine& recognizer,
               SpeechOutputEngine& output);

  // (0,0,0) start; (1,0,1) compile the Grammars folder; (2,0,0) stop.
  int16_t fnBinCompile_Call(int command, int a, int b);
  // 0 load the test grammar; 1 listen (buffer gets the words; returns when
  // listening has ended); 3 stop, also while 1 is still listening.
  // `buffer` is 1024 spaces on entry, as the callers prepare it.
  int16_t fnSpeechRecDLL_Call(int command, QByteArray& buffer);
  // 0 start; 5 is voice n present; 1 speak `text` in `voice`.
  int32_t fnTTSspeak_Call(int command, int voice, int p3, int p4, QByteArray& text);

  // The problems the last compile found (errors and warnings).
  std::vector<CompileDiagnostic> CompileDiagnostics() const;
  // The compiler's view of pronunciations (see GrammarCompilerEngine).
  std::vector<ReviewedWord> WordsToReview(const QStringList& phrases) { return m_compiler.WordsToReview(phrases); }
  QString SpeakablePhonemes(const QString& phones) const { return m_compiler.SpeakablePhonemes(phones); }

  // Beside the entry points, for the test screen: the recogniser's listening
  // (level meter, time heard) and the cause of its last failure.
  ListeningProgress RecognizerProgress() const { return m_recognizer.Progress(); }
  QString RecognizerFailureCause() const { return m_recognizer.FailureCause(); }

  // The recogniser of rehearsals, when the program has one (null otherwise).
  void SetRehearsal(RehearsalRecognizer* rehearsal) { m_rehearsal = rehearsal; }
  RehearsalRecognizer* Rehearsal() const { return m_rehearsal; }

  static constexpr int16_t kNotCalled = -1;  // switch off or unknown command

 private:
  const bool& m_ready;
  GrammarCompilerEngine& m_compiler;
  RecognizerEngine& m_recognizer;
  SpeechOutputEngine& m_output;
  RehearsalRecognizer* m_rehearsal = nullptr;
};

// A fresh recogniser buffer: 1024 blanks.
QByteArray RecognizerBuffer();
// The recognised phrase: every NUL removed, blanks trimmed at both ends.
QByteArray RecognizedPhrase(const QByteArray& buffer);

}  // namespace qv::grammar
