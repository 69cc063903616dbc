#include "speech/Voices.h"

#include <algorithm>

namespace qv::speech {

QString EspeakVoiceFor(int voice) {
  switch (voice) {
    case 1: return "en-us+f3";
    case 2: return "en-us";
    case 3: return "en-gb-x-rp";
    case 4: return "en-gb-x-rp+f4";
    default: return {};
  }
}

int RateToWordsPerMinute(int rate) {
  // 0-100 around a normal 175 words per minute at 50.
  return 80 + std::clamp(rate, 0, 100) * 19 / 10;
}

}  // namespace qv::speech
