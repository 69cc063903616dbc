#include "speech/linux/EspeakSpeechOutput.h"

#include <vector>

#include "base/Cp1252.h"
#include "platform/linux/SdlLibrary.h"
#include "speech/Espeak.h"
#include "speech/Voices.h"

namespace qv::speech {

namespace {

void Play(const std::vector<int16_t>& samples, int rate, const std::atomic<bool>& cancel) {
  if (samples.empty()) return;
  // Without SDL nothing is heard, as when its audio does not start.
  const platform::SdlLibrary* sdl = platform::Sdl();
  if (!sdl) return;
  sdl->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");  // keep the default SIGINT/SIGTERM
  if (sdl->InitSubSystem(SDL_INIT_AUDIO) != 0) return;
  SDL_AudioSpec want{}, have{};
  want.freq = rate;
  want.format = AUDIO_S16SYS;
  want.channels = 1;
  want.samples = 1024;
  const SDL_AudioDeviceID dev = sdl->OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (dev != 0) {
    sdl->QueueAudio(dev, samples.data(), static_cast<Uint32>(samples.size() * sizeof(int16_t)));
    sdl->PauseAudioDevice(dev, 0);
    // Bounded wait: the audio's own length plus a margin.
    const Uint32 limit = sdl->GetTicks() + static_cast<Uint32>(samples.size() * 1000 / rate) + 2000;
    while (!cancel && sdl->GetQueuedAudioSize(dev) > 0 && sdl->GetTicks() < limit) sdl->Delay(20);
    if (!cancel) sdl->Delay(100);  // let the device drain its last buffer
    sdl->CloseAudioDevice(dev);
  }
  sdl->QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace

EspeakSpeechOutput::~EspeakSpeechOutput() { Cancel(); }

int32_t EspeakSpeechOutput::Start() { return EspeakAvailable() ? 0 : 1; }

int32_t EspeakSpeechOutput::VoicePresent(int voice) {
  const QString name = EspeakVoiceFor(voice);
  return !name.isEmpty() && EspeakVoiceExists(name) ? 0 : 1;
}

int32_t EspeakSpeechOutput::Speak(int voice, int volume, int rate, const QByteArray& text) {
  const QString name = EspeakVoiceFor(voice);
  if (name.isEmpty() || !EspeakVoiceExists(name)) return 1;
  const QString words = base::FromCp1252(text).trimmed();
  if (words.isEmpty()) return 1;
  Cancel();
  m_cancel = false;
  const int wpm = RateToWordsPerMinute(rate);
  m_worker = std::thread([this, words, name, wpm, volume] {
    std::vector<int16_t> samples;
    int sampleRate = 0;
    if (EspeakSynthesize(words, name, wpm, volume, samples, sampleRate) && !m_cancel)
      Play(samples, sampleRate, m_cancel);
  });
  return 0;
}

void EspeakSpeechOutput::Wait() {
  if (m_worker.joinable()) m_worker.join();
}

void EspeakSpeechOutput::Cancel() {
  m_cancel = true;
  if (m_worker.joinable()) m_worker.join();
}

}  // namespace qv::speech
