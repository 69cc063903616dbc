#include "core/grammar/SpeechFacade.h"

namespace qv::grammar {

SpeechFacade::SpeechFacade(const bool& speechReady, GrammarCompilerEngine& compiler, RecognizerEngine& recognizer,
                           SpeechOutputEngine& output)
    : m_ready(speechReady), m_compiler(compiler), m_recognizer(recognizer), m_output(output) {}

int16_t SpeechFacade::fnBinCompile_Call(int command, int a, int b) {
  if (!m_ready) return kNotCalled;
  switch (command) {
    case 0: return m_compiler.Start();
    case 1: return m_compiler.Compile(a, b);
    case 2: return m_compiler.Stop();
    default: return kNotCalled;
  }
}

int16_t SpeechFacade::fnSpeechRecDLL_Call(int command, QByteArray& buffer) {
  if (!m_ready) return kNotCalled;
  switch (command) {
    case 0: return m_recognizer.LoadTestGrammar();
    case 1: return m_recognizer.Listen(buffer);
    case 3: return m_recognizer.StopListening();
    default: return kNotCalled;
  }
}

int32_t SpeechFacade::fnTTSspeak_Call(int command, int voice, int p3, int p4, QByteArray& text) {
  if (!m_ready) return kNotCalled;
  switch (command) {
    case 0: return m_output.Start();
    case 1: return m_output.Speak(voice, p3, p4, text);
    case 5: return m_output.VoicePresent(voice);
    default: return kNotCalled;
  }
}

std::vector<CompileDiagnostic> SpeechFacade::CompileDiagnostics() const { return m_compiler.Diagnostics(); }

QByteArray RecognizerBuffer() { return QByteArray(1024, ' '); }

QByteArray RecognizedPhrase(const QByteArray& buffer) {
  QByteArray out = buffer;
  out.replace('\0', QByteArray());
  qsizetype a = 0, b = out.size();
  while (a < b && out[a] == ' ') ++a;
  while (b > a && out[b - 1] == ' ') --b;
  return out.mid(a, b - a);
}

}  // namespace qv::grammar
