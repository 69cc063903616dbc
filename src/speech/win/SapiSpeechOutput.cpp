#include "speech/win/SapiSpeechOutput.h"

#include <windows.h>

#include <sapi.h>

#include <algorithm>
#include <string>

namespace qv::speech {

namespace {

// Language 409 = US English, 809 = UK English.
const wchar_t* VoiceAttributes(int voice) {
  switch (voice) {
    case 1: return L"Language=409;Gender=Female";
    case 2: return L"Language=409;Gender=Male";
    case 3: return L"Language=809;Gender=Male";
    case 4: return L"Language=809;Gender=Female";
    default: return nullptr;
  }
}

ISpObjectToken* FindVoice(int voice) {
  const wchar_t* attrs = VoiceAttributes(voice);
  if (!attrs) return nullptr;
  // The installed voices, filtered by language and gender.
  ISpObjectTokenCategory* category = nullptr;
  if (FAILED(CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL, IID_ISpObjectTokenCategory,
                              reinterpret_cast<void**>(&category))))
    return nullptr;
  ISpObjectToken* token = nullptr;
  IEnumSpObjectTokens* tokens = nullptr;
  if (SUCCEEDED(category->SetId(SPCAT_VOICES, FALSE)) && SUCCEEDED(category->EnumTokens(attrs, nullptr, &tokens)) &&
      tokens) {
    if (tokens->Next(1, &token, nullptr) != S_OK) token = nullptr;
    tokens->Release();
  }
  category->Release();
  return token;
}

std::wstring FromCodePage(const QByteArray& text) {
  const int n = MultiByteToWideChar(CP_ACP, 0, text.constData(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.constData(), static_cast<int>(text.size()), w.data(), n);
  return w;
}

}  // namespace

SapiSpeechOutput::~SapiSpeechOutput() {
  if (m_voice) m_voice->Release();
  if (m_comStarted) CoUninitialize();
}

int32_t SapiSpeechOutput::Start() {
  if (m_voice) return 0;
  const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  m_comStarted = SUCCEEDED(init);
  if (FAILED(CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice, reinterpret_cast<void**>(&m_voice))))
    m_voice = nullptr;
  return m_voice ? 0 : 1;
}

int32_t SapiSpeechOutput::VoicePresent(int voice) {
  ISpObjectToken* token = FindVoice(voice);
  if (!token) return 1;
  token->Release();
  return 0;
}

int32_t SapiSpeechOutput::Speak(int voice, int volume, int rate, const QByteArray& text) {
  if (!m_voice && Start() != 0) return 1;
  ISpObjectToken* token = FindVoice(voice);
  if (!token) return 1;
  m_voice->SetVoice(token);
  token->Release();
  m_voice->SetVolume(static_cast<USHORT>(std::clamp(volume, 0, 100)));
  // 50 is the normal speed; the API counts -10 to 10 around 0.
  m_voice->SetRate(std::clamp((rate - 50) / 5, -10, 10));
  const std::wstring words = FromCodePage(text);
  const HRESULT hr = m_voice->Speak(words.c_str(), SPF_ASYNC | SPF_PURGEBEFORESPEAK | SPF_IS_NOT_XML, nullptr);
  return SUCCEEDED(hr) ? 0 : 1;
}

}  // namespace qv::speech
