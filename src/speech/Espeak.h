#pragma once

#include <QByteArray>
#include <QString>
#include <mutex>
#include <vector>

namespace qv::speech {

// eSpeak NG is one global instance per process: every use takes this lock
// and makes sure the library is initialised (synchronous mode, no device).
// Returns false when the library or its data is missing.
bool EspeakAvailable();
std::mutex& EspeakMutex();
bool EspeakInitLocked();  // call with EspeakMutex() held

// The phonemes eSpeak gives for `text` in `voice` (its ASCII names,
// separated by spaces, stress marks included). Empty when nothing came out.
QString EspeakPhonemes(const QString& text, const char* voice = "en-us");

// Renders `text` in `voice` to 16-bit mono samples at the library's rate.
// `rateWpm` is words per minute, `volume` 0-200 (100 normal).
bool EspeakSynthesize(const QString& text, const QString& voice, int rateWpm, int volume, std::vector<int16_t>& samples,
                      int& sampleRate);
bool EspeakVoiceExists(const QString& voice);

}  // namespace qv::speech
