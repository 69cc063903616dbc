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

  const CompileResult& LastResult() const { return m_last; }

 private:
  QString m_installDir;
  CompileResult m_last;
};

// Compiles one grammar folder; the work behind the engine, also used for the
// test grammar. Writes the log and the compiled form.
CompileResult CompileFolder(const QString& grammarsDir, const QString& listsFallback, const QString& onlyFile = {});

}  // namespace qv::speech
