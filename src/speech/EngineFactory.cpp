#include "speech/EngineFactory.h"

#include "speech/CompilerEngine.h"
#include "speech/Recognizer.h"

#ifdef _WIN32
#include "speech/win/SapiSpeechOutput.h"
#else
#include "speech/linux/EspeakSpeechOutput.h"
#endif

namespace qv::speech {

EngineSet CreateEngines(const QString& installDir) {
  EngineSet set;
  set.compiler = std::make_unique<CompilerEngine>(installDir);
  set.recognizer = std::make_unique<Recognizer>(installDir);
#ifdef _WIN32
  set.output = std::make_unique<SapiSpeechOutput>();
#else
  set.output = std::make_unique<EspeakSpeechOutput>();
#endif
  return set;
}

}  // namespace qv::speech
