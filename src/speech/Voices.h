#pragma once

#include <QString>

namespace qv::speech {

// The copilot voices 1-4 (US female, US male, UK male, UK female) and the
// installed eSpeak NG voices that speak them.
QString EspeakVoiceFor(int voice);  // empty for a number outside 1-4

// The speed passed with a readback (50 = normal) in words per minute.
int RateToWordsPerMinute(int rate);

}  // namespace qv::speech
