#include "app/cli/CliSupport.h"
#include "base/Cp1252.h"
#include "speech/AudioSource.h"
#include "speech/Espeak.h"
#include "speech/Voices.h"
#ifndef _WIN32
#include "speech/linux/EspeakSpeechOutput.h"
#endif

namespace qv::cli {
namespace {

int Run(const QStringList& argsIn) {
  QStringList args = argsIn;
  QString wav;
  if (const int i = args.indexOf("--wav"); i >= 0 && i + 1 < args.size()) {
    wav = args[i + 1];
    args.remove(i, 2);
  }
  bool voiceOk = false;
  const int voice = args.size() == 3 ? args[1].toInt(&voiceOk) : 0;
  if (args.size() != 3 || !voiceOk) {
    PrintErr("Usage: quorvane-cli say INSTALL_DIR VOICE TEXT [--wav OUT]   (VOICE 1-4)\n");
    return 2;
  }
  Session session(args[0]);
  session.state.speechReady = true;
  if (!wav.isEmpty()) {
    std::vector<int16_t> samples;
    int rate = 0;
    const QString name = speech::EspeakVoiceFor(voice);
    if (name.isEmpty() ||
        !speech::EspeakSynthesize(args[2], name, speech::RateToWordsPerMinute(50), 100, samples, rate)) {
      PrintErr(QString("Voice %1 is not available.\n").arg(voice));
      return 1;
    }
    if (QString error; !speech::WriteWav(wav, samples, rate, &error)) {
      PrintErr(error + "\n");
      return 1;
    }
    return 0;
  }
  QByteArray text = base::ToCp1252(args[2]);
  session.speech.fnTTSspeak_Call(0, 0, 0, 0, text);
  if (session.speech.fnTTSspeak_Call(5, voice, 0, 0, text) != 0) {
    PrintErr(QString("Voice %1 is not available.\n").arg(voice));
    return 1;
  }
  const int32_t status = session.speech.fnTTSspeak_Call(1, voice, 100, 50, text);
#ifndef _WIN32
  if (auto* out = dynamic_cast<speech::EspeakSpeechOutput*>(session.services.backends.output.get())) out->Wait();
#endif
  return status == 0 ? 0 : 1;
}

const Registrar reg({"say", "say INSTALL_DIR VOICE TEXT [--wav OUT]",
                     "speak a text in copilot voice 1-4, or write it to a WAV file", Run});

}  // namespace
}  // namespace qv::cli
