#include "speech/CompilerEngine.h"

#include <QDir>

#include "speech/Pronouncer.h"
#include "speech/SphinxSupport.h"

namespace qv::speech {

CompileResult CompileFolder(const QString& grammarsDir, const QString& listsFallback, const QString& onlyFile) {
  Pronouncer pronouncer(ModelDictionaryPath());
  CompileOptions options;
  options.grammarsDir = grammarsDir;
  options.fallbackListsFile = listsFallback;
  options.onlyFile = onlyFile;
  if (SphinxAvailable()) options.validate = ValidateJsgf;
  CompileResult result;
  if (!pronouncer.DictionaryLoaded()) {
    result.diagnostics.push_back({"Compile.log", 0, "the recogniser's pronunciation dictionary is not installed"});
  } else {
    result = CompileGrammars(options, pronouncer);
  }
  QString error;
  if (QDir(grammarsDir).exists() && !WriteCompileOutput(grammarsDir, result, &error))
    result.diagnostics.push_back({"Compile.log", 0, "cannot write the compiled grammars: " + error});
  return result;
}

CompilerEngine::CompilerEngine(QString installDir) : m_installDir(std::move(installDir)) {}

int16_t CompilerEngine::Start() { return ModelDictionaryPath().isEmpty() ? 1 : 0; }

int16_t CompilerEngine::Compile(int, int) {
  m_last = CompileFolder(m_installDir + "/Grammars", m_installDir + "/Data/Generic Lists.bnf");
  return m_last.Ok() ? 0 : 1;
}

int16_t CompilerEngine::Stop() { return 0; }

}  // namespace qv::speech
