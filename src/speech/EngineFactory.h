#pragma once

#include <QString>
#include <memory>

#include "core/grammar/SpeechEngines.h"

namespace qv::speech {

// The three engines behind the speech facade, for one installation folder.
struct EngineSet {
  std::unique_ptr<grammar::GrammarCompilerEngine> compiler;
  std::unique_ptr<grammar::RecognizerEngine> recognizer;
  std::unique_ptr<grammar::SpeechOutputEngine> output;
};

EngineSet CreateEngines(const QString& installDir);

}  // namespace qv::speech
