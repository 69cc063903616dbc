#pragma once

#include <QString>

#include "core/grammar/SpeechEngines.h"
#include "speech/GrammarCompiler.h"

namespace qv::speech {

// The grammar compiler behind fnBinCompile_Call: compiles the installation's
// Grammars folder (with the shared list file of Data when the folder lacks
// it) into the form the recogniser loads, logging every problem to
// Grammars/Compile.log.
class CompilerEngine final : public grammar::GrammarCompilerEngine {
 public:
  explicit CompilerEngine(QString installDir);
  int16_t Start() override;
  int16_t Compile(int a, int b) override;
  int16_t Stop() override;
  std::vector<grammar::CompileDiagnostic> Diagnostics() const override;
  std::vector<grammar::ReviewedWord> WordsToReview(const QStringList& phrases) override;
  QString SpeakablePhonemes(const QString& phones) const override;

  const CompileResult& LastResult() const { return m_last; }

 private:
  QString m_installDir;
  CompileResult m_last;
};

// Compiles one grammar folder of an installation (Grammars, or Grammars/Test
// with `onlyFile` "Test.bnf"): the work behind the engine, also used for the
// test grammar. Compiled list grammars are kept in Grammars/Cache. Writes
// the log into the folder, and the compiled form when compiling it whole.
CompileResult CompileFolder(const QString& installDir, const QString& grammarsDir, const QString& onlyFile = {});

// Where compiled list grammars are kept: <install>/Grammars/Cache.
QString ListCacheDir(const QString& installDir);

// The diagnostics in the form the rest of the program reads.
std::vector<grammar::CompileDiagnostic> ToCompileDiagnostics(const std::vector<Diagnostic>& diagnostics);

}  // namespace qv::speech
