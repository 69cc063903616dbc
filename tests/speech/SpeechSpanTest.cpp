#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

#include "speech/SpeechSpan.h"

namespace qv::test {
namespace {

constexpr int kRate = 16000;

// Noise at `noiseRms` throughout, with "words" (tones) between the given
// sample positions; the last word's final 60 ms are 12 dB quieter, like a
// closing consonant.
std::vector<int16_t> Recording(size_t length, const std::vector<std::pair<size_t, size_t>>& words, double wordRms,
                               double noiseRms, unsigned seed) {
  std::mt19937 rng(seed);
  std::normal_distribution<double> noise(0, noiseRms);
  std::vector<double> v(length);
  for (double& x : v) x = noise(rng);
  for (size_t w = 0; w < words.size(); ++w) {
    const auto [from, to] = words[w];
    for (size_t i = from; i < to; ++i) {
      const double gain = w + 1 == words.size() && to - i <= 960 ? 0.25 : 1.0;
      v[i] += gain * wordRms * std::sqrt(2.0) * std::sin(2 * std::numbers::pi * 220 * double(i) / kRate);
    }
  }
  std::vector<int16_t> out(length);
  for (size_t i = 0; i < length; ++i) out[i] = int16_t(std::clamp(std::lround(v[i]), -32768L, 32767L));
  return out;
}

TEST(SpeechSpanTest, KeepsEveryWordAndTheSetMomentAfterTheLast) {
  const speech::SpeechSpanSettings settings;  // 10 dB, 0.1 s
  std::mt19937 rng(7);
  for (int round = 0; round < 40; ++round) {
    // one to four words with pauses of up to 0.4 s, then 0.3-0.8 s of noise
    std::uniform_int_distribution<size_t> wordLength(2400, 8000), pause(800, 6400), lead(3200, 12800),
        trail(4800, 12800);
    std::vector<std::pair<size_t, size_t>> words;
    size_t at = lead(rng);
    for (int w = 0, n = 1 + round % 4; w < n; ++w) {
      const size_t end = at + wordLength(rng);
      words.push_back({at, end});
      at = end + pause(rng);
    }
    const size_t length = words.back().second + trail(rng);
    const double noise = round % 2 ? 3000.0 / std::pow(10.0, 15.0 / 20) : 20;  // 15 dB SNR or near silence
    const auto audio = Recording(length, words, 3000, noise, unsigned(round));
    const size_t end = speech::SpeechEnd(audio, kRate, settings);
    SCOPED_TRACE(round);
    // The closing sound is kept even where the noise hides it; the hiss
    // after the set moment is not.
    EXPECT_GE(end, words.back().second);
    EXPECT_LE(end, words.back().second + size_t(0.1 * kRate) + 480);
  }
}

TEST(SpeechSpanTest, RecordingsWithoutSpeechOrWithTheSettingOffAreKeptWhole) {
  speech::SpeechSpanSettings off;
  off.afterSeconds = -1;
  const auto spoken = Recording(32000, {{8000, 16000}}, 3000, 20, 1);
  EXPECT_EQ(speech::SpeechEnd(spoken, kRate, off), spoken.size());
  const speech::SpeechSpanSettings on;
  const std::vector<int16_t> silence(16000, 0);
  EXPECT_EQ(speech::SpeechEnd(silence, kRate, on), silence.size());
  const auto hiss = Recording(16000, {}, 0, 500, 2);
  EXPECT_GE(speech::SpeechEnd(hiss, kRate, on), hiss.size() / 2);
  EXPECT_EQ(speech::SpeechEnd({}, kRate, on), 0u);
  // speech running to the very end is not cut short
  const auto toTheEnd = Recording(16000, {{4000, 16000}}, 3000, 20, 3);
  EXPECT_EQ(speech::SpeechEnd(toTheEnd, kRate, on), toTheEnd.size());
}

}  // namespace
}  // namespace qv::test
