#include "speech/Espeak.h"

#include <string>

#include <espeak-ng/speak_lib.h>

#include "platform/linux/SharedLibrary.h"

namespace qv::speech {

std::mutex& EspeakMutex() {
  static std::mutex m;
  return m;
}

namespace {

// eSpeak NG is loaded the first time a voice or a word's phonemes are wanted,
// not at every start of the programs: with the sound libraries behind it,
// it is a third of what a start maps. Its header still gives the types.
struct EspeakLibrary {
  decltype(&::espeak_Initialize) Initialize = nullptr;
  decltype(&::espeak_SetSynthCallback) SetSynthCallback = nullptr;
  decltype(&::espeak_SetVoiceByName) SetVoiceByName = nullptr;
  decltype(&::espeak_SetParameter) SetParameter = nullptr;
  decltype(&::espeak_Synth) Synth = nullptr;
  decltype(&::espeak_TextToPhonemes) TextToPhonemes = nullptr;
};
constexpr const char* kEspeakSoname = "libespeak-ng.so.1";
EspeakLibrary g_lib;  // filled under EspeakMutex() by EspeakInitLocked

bool LoadEspeakLocked() {
  QString why;  // eSpeak's absence shows as no voice, as a failed start of it does
  return platform::LoadLibraryFunctions(kEspeakSoname,
                                        {{"espeak_Initialize", reinterpret_cast<void**>(&g_lib.Initialize)},
                                         {"espeak_SetSynthCallback", reinterpret_cast<void**>(&g_lib.SetSynthCallback)},
                                         {"espeak_SetVoiceByName", reinterpret_cast<void**>(&g_lib.SetVoiceByName)},
                                         {"espeak_SetParameter", reinterpret_cast<void**>(&g_lib.SetParameter)},
                                         {"espeak_Synth", reinterpret_cast<void**>(&g_lib.Synth)},
                                         {"espeak_TextToPhonemes", reinterpret_cast<void**>(&g_lib.TextToPhonemes)}},
                                        why);
}

int g_rate = 0;
bool g_tried = false;
bool g_ok = false;
std::vector<int16_t>* g_sink = nullptr;

// The voice set last: choosing a voice reads its files, far slower than
// turning a word into phonemes, so it is only done when the voice changes.
std::string g_voice;

bool UseVoiceLocked(const char* voice) {
  if (g_voice == voice) return true;
  if (g_lib.SetVoiceByName(voice) != EE_OK) {
    g_voice.clear();
    return false;
  }
  g_voice = voice;
  return true;
}

int Collect(short* wav, int n, espeak_EVENT*) {
  if (g_sink && wav && n > 0) g_sink->insert(g_sink->end(), wav, wav + n);
  return 0;
}
}  // namespace

bool EspeakInitLocked() {
  if (!g_tried) {
    g_tried = true;
    // bit 15: do not exit the process when the data folder is missing.
    g_rate = LoadEspeakLocked() ? g_lib.Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, 1 << 15) : 0;
    g_ok = g_rate > 0;
    if (g_ok) g_lib.SetSynthCallback(Collect);
  }
  return g_ok;
}

bool EspeakAvailable() {
  std::lock_guard lock(EspeakMutex());
  return EspeakInitLocked();
}

QString EspeakPhonemes(const QString& text, const char* voice) {
  std::lock_guard lock(EspeakMutex());
  if (!EspeakInitLocked() || !UseVoiceLocked(voice)) return {};
  const QByteArray utf8 = text.toUtf8();
  const void* p = utf8.constData();
  QString out;
  while (p) {
    const char* r = g_lib.TextToPhonemes(&p, espeakCHARS_UTF8, ' ' << 8);
    if (r) out += QString::fromUtf8(r) + ' ';
  }
  return out.simplified();
}

bool EspeakVoiceExists(const QString& voice) {
  std::lock_guard lock(EspeakMutex());
  return EspeakInitLocked() && UseVoiceLocked(voice.toUtf8().constData());
}

bool EspeakSynthesize(const QString& text, const QString& voice, int rateWpm, int volume, std::vector<int16_t>& samples,
                      int& sampleRate) {
  std::lock_guard lock(EspeakMutex());
  if (!EspeakInitLocked() || !UseVoiceLocked(voice.toUtf8().constData())) return false;
  g_lib.SetParameter(espeakRATE, rateWpm, 0);
  g_lib.SetParameter(espeakVOLUME, volume, 0);
  // Text in [[ ]] is read as phonemes: the pronunciation screen lets a
  // word be heard as its phones say it.
  const QByteArray utf8 = text.toUtf8();
  samples.clear();
  g_sink = &samples;
  const espeak_ERROR e = g_lib.Synth(utf8.constData(), utf8.size() + 1, 0, POS_CHARACTER, 0,
                                     espeakCHARS_UTF8 | espeakPHONEMES, nullptr, nullptr);
  g_sink = nullptr;
  sampleRate = g_rate;
  return e == EE_OK;
}

}  // namespace qv::speech
