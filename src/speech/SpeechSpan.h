#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv::speech {

// Listening goes on for a while after the pilot stopped speaking, so that a
// pause between words does not end it. In a noisy cockpit that stretch is
// steady hiss, and a recogniser asked to account for it hears a fricative
// ("on" becomes "off", "five" gains a syllable). The decoder is therefore
// given the recording only up to a short moment after its last loud part.
struct SpeechSpanSettings {
  double riseDb = 10;         // loud: this far above the noise floor (at most half the recording's range)
  double afterSeconds = 0.1;  // kept after the last loud part; negative keeps everything
};

// The number of samples of `audio` worth decoding: everything up to
// `afterSeconds` past the last stretch of 30 ms louder than the threshold.
// The noise floor is the level of the recording's quietest tenth. A recording
// with no loud stretch is kept whole.
size_t SpeechEnd(const std::vector<int16_t>& audio, int sampleRate, const SpeechSpanSettings& settings);

}  // namespace qv::speech
