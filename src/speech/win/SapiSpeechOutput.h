#pragma once

#include <QByteArray>

#include "core/grammar/SpeechEngines.h"

struct ISpVoice;

namespace qv::speech {

// Speech output through the Windows speech API. Voices 1-4 are the first
// installed voice of the matching language and gender; speaking is
// asynchronous, a new readback purges the one still playing.
class SapiSpeechOutput final : public grammar::SpeechOutputEngine {
 public:
  SapiSpeechOutput() = default;
  ~SapiSpeechOutput() override;
  int32_t Start() override;
  int32_t VoicePresent(int voice) override;
  int32_t Speak(int voice, int volume, int rate, const QByteArray& text) override;

 private:
  ISpVoice* m_voice = nullptr;
  bool m_comStarted = false;
};

}  // namespace qv::speech
