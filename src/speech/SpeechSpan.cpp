#include "speech/SpeechSpan.h"

#include <algorithm>
#include <cmath>

namespace qv::speech {

size_t SpeechEnd(const std::vector<int16_t>& audio, int sampleRate, const SpeechSpanSettings& settings) {
  const size_t step = size_t(std::max(sampleRate / 100, 1));  // 10 ms frames
  const size_t frames = audio.size() / step;
  if (settings.afterSeconds < 0 || frames < 3) return audio.size();
  std::vector<double> energy(frames);
  for (size_t f = 0; f < frames; ++f) {
    double sum = 0;
    for (size_t i = f * step; i < (f + 1) * step; ++i) sum += double(audio[i]) * audio[i];
    energy[f] = sum / double(step) + 1;  // + 1: digital silence has a level too
  }
  std::vector<double> sorted = energy;
  const auto at = [&](size_t rank) {
    std::nth_element(sorted.begin(), sorted.begin() + rank, sorted.end());
    return sorted[rank];
  };
  const double floor = at(frames / 10), peak = at(frames - 1 - frames / 100);
  // In a quiet recording the rise is the set one; when the noise is near the
  // speech, the threshold sits halfway between the two (in decibels).
  const double threshold = floor * std::min(std::pow(10.0, settings.riseDb / 10), std::sqrt(peak / floor));
  for (size_t f = frames; f-- > 2;)
    if (energy[f] > threshold && energy[f - 1] > threshold && energy[f - 2] > threshold)
      return std::min(audio.size(), (f + 1) * step + size_t(settings.afterSeconds * sampleRate));
  return audio.size();
}

}  // namespace qv::speech
