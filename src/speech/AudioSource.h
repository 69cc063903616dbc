#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace qv::speech {

inline constexpr int kSampleRate = 16000;  // what the acoustic model expects

// Where the recogniser's audio comes from: 16 kHz mono 16-bit samples.
class AudioSource {
 public:
  virtual ~AudioSource() = default;
  // Start and Stop run on the thread that listens; Read may run on another.
  // Errors are one sentence for the user ("No microphone was found.").
  virtual bool Start(QString& error) = 0;
  // Appends up to about 100 ms of samples to `out`, waiting for them when
  // needed. Returns false on an audio error.
  virtual bool Read(std::vector<int16_t>& out, QString& error) = 0;
  // True when no more samples will come (end of a recording).
  virtual bool AtEnd() const = 0;
  virtual void Stop() = 0;
};

// Samples already in memory, handed out in 100 ms pieces.
class SampleSource final : public AudioSource {
 public:
  explicit SampleSource(std::vector<int16_t> samples) : m_samples(std::move(samples)) {}
  bool Start(QString&) override { return true; }
  bool Read(std::vector<int16_t>& out, QString&) override;
  bool AtEnd() const override { return m_pos >= m_samples.size(); }
  void Stop() override {}

 private:
  std::vector<int16_t> m_samples;
  size_t m_pos = 0;
};

// The default capture device through SDL2 (SDL_AUDIODRIVER=disk with
// SDL_DISKAUDIOFILEIN replays a raw recording through the same path).
class MicrophoneSource final : public AudioSource {
 public:
  ~MicrophoneSource() override;
  bool Start(QString& error) override;
  bool Read(std::vector<int16_t>& out, QString& error) override;
  bool AtEnd() const override { return false; }
  void Stop() override;

 private:
  uint32_t m_device = 0;
  bool m_sdlStarted = false;
};

// WAV files: 16-bit PCM of any rate and channel count in, 16 kHz mono out.
bool ReadWav(const QString& path, std::vector<int16_t>& samples, QString& error);
bool WriteWav(const QString& path, const std::vector<int16_t>& samples, int sampleRate, QString* error = nullptr);
std::vector<int16_t> Resample(const std::vector<int16_t>& in, int fromRate, int toRate);

}  // namespace qv::speech
