#pragma once

#include <QByteArray>
#include <atomic>
#include <thread>

#include "core/grammar/SpeechEngines.h"

namespace qv::speech {

// Speech output with eSpeak NG: the text is rendered on a worker thread and
// played through SDL2, so the caller never waits. A new readback cuts the
// one still playing.
class EspeakSpeechOutput final : public grammar::SpeechOutputEngine {
 public:
  EspeakSpeechOutput() = default;
  ~EspeakSpeechOutput() override;
  int32_t Start() override;
  int32_t VoicePresent(int voice) override;
  int32_t Speak(int voice, int volume, int rate, const QByteArray& text) override;

  // Waits until the current readback has been played (tests, the CLI).
  void Wait();

 private:
  void Cancel();
  std::thread m_worker;
  std::atomic<bool> m_cancel{false};
};

}  // namespace qv::speech
