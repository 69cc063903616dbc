#include "speech/CompilerEngine.h"

#include <QDir>

#include "speech/Pronouncer.h"
#include "speech/SpeechModel.h"

namespace qv::speech {

QString ListCacheDir(const QString& installDir) { return installDir + "/Grammars/Cache"; }

CompileResult CompileFolder(const QString& installDir, const QString& grammarsDir, const QString& onlyFile) {
  const SpeechModel model = FindSpeechModel(installDir);
  Pronouncer pronouncer(model.dictionary, PronunciationListPath(installDir));
  CompileOptions options;
  options.grammarsDir = grammarsDir;
  options.fallbackListsFile = installDir + "/Data/Generic Lists.bnf";
  options.onlyFile = onlyFile;
  options.cacheDir = ListCacheDir(installDir);
  CompileResult result;
  if (!pronouncer.DictionaryLoaded()) {
    result.diagnostics.push_back(
        {"Compile.log", 0, 0, Severity::Error, "the recogniser's pronunciation dictionary is not installed"});
  } else {
    result = CompileGrammars(options, pronouncer);
  }
  // The test folder's graph goes straight to the recogniser: only its log
  // is written.
  QString error;
  if (QDir(grammarsDir).exists() && !WriteCompileOutput(grammarsDir, result, onlyFile.isEmpty(), &error))
    result.diagnostics.push_back(
        {"Compile.log", 0, 0, Severity::Error, "cannot write the compiled grammars: " + error});
  return result;
}

std::vector<grammar::CompileDiagnostic> ToCompileDiagnostics(const std::vector<Diagnostic>& diagnostics) {
  std::vector<grammar::CompileDiagnostic> out;
  out.reserve(diagnostics.size());
  for (const Diagnostic& d : diagnostics) out.push_back({d.file, d.line, d.column, d.IsError(), d.message, d.relatedLine, d.relatedColumn});
  return out;
}

CompilerEngine::CompilerEngine(QString installDir) : m_installDir(std::move(installDir)) {}

// Reads the pronunciation dictionary now, at start-up, so that the first
// compile or test does not wait for it (it is kept for the whole run).
int16_t CompilerEngine::Start() {
  const Pronouncer dictionary(FindSpeechModel(m_installDir).dictionary);
  return dictionary.DictionaryLoaded() ? 0 : 1;
}

int16_t CompilerEngine::Compile(int, int) {
  m_last = CompileFolder(m_installDir, m_installDir + "/Grammars");
  return m_last.Ok() ? 0 : 1;
}

int16_t CompilerEngine::Stop() { return 0; }

std::vector<grammar::CompileDiagnostic> CompilerEngine::Diagnostics() const {
  return ToCompileDiagnostics(m_last.diagnostics);
}

std::vector<grammar::ReviewedWord> CompilerEngine::WordsToReview(const QStringList& phrases) {
  Pronouncer pronouncer(FindSpeechModel(m_installDir).dictionary, PronunciationListPath(m_installDir));
  return speech::WordsToReview(phrases, pronouncer);
}

QString CompilerEngine::SpeakablePhonemes(const QString& phones) const { return ModelToEspeakPhonemes(phones); }

}  // namespace qv::speech
