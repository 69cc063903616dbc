#include "speech/AudioSource.h"

#include <QFile>
#include <QtEndian>
#include <algorithm>

#include "base/FileIo.h"

#ifdef QV_HAVE_SDL2
#include "platform/linux/SdlLibrary.h"
#endif

namespace qv::speech {

namespace {
constexpr size_t kChunk = kSampleRate / 10;
}

bool SampleSource::Read(std::vector<int16_t>& out, QString&) {
  const size_t n = std::min(kChunk, m_samples.size() - m_pos);
  out.insert(out.end(), m_samples.begin() + m_pos, m_samples.begin() + m_pos + n);
  m_pos += n;
  return true;
}

#ifdef QV_HAVE_SDL2

MicrophoneSource::~MicrophoneSource() { Stop(); }

bool MicrophoneSource::Start(QString& error) {
  Stop();
  QString why;
  const platform::SdlLibrary* sdl = platform::Sdl(&why);
  if (!sdl) {
    error = QString("The sound system could not be started (%1).").arg(why);
    return false;
  }
  sdl->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");  // keep the default SIGINT/SIGTERM
  if (sdl->InitSubSystem(SDL_INIT_AUDIO) != 0) {
    error = QString("The sound system could not be started (%1).").arg(sdl->GetError());
    return false;
  }
  m_sdlStarted = true;
  SDL_AudioSpec want{}, have{};
  want.freq = kSampleRate;
  want.format = AUDIO_S16SYS;
  want.channels = 1;
  want.samples = 1024;
  // No allowed changes: SDL converts whatever the device delivers.
  m_device = sdl->OpenAudioDevice(nullptr, 1, &want, &have, 0);
  if (m_device == 0) {
    error = sdl->GetNumAudioDevices(1) <= 0 ? QString("No microphone was found.")
                                            : QString("The microphone could not be opened (%1).").arg(sdl->GetError());
    Stop();
    return false;
  }
  sdl->PauseAudioDevice(m_device, 0);
  return true;
}

bool MicrophoneSource::Read(std::vector<int16_t>& out, QString& error) {
  if (m_device == 0) {
    error = "The microphone is not open.";
    return false;
  }
  const platform::SdlLibrary* sdl = platform::Sdl();  // loaded: the device is open
  // Wait for about 100 ms of audio, then take what has arrived.
  int16_t buf[kChunk];
  size_t got = 0;
  for (int waited = 0; got < kChunk && waited < 400; waited += 5) {
    const Uint32 n = sdl->DequeueAudio(m_device, buf + got, static_cast<Uint32>((kChunk - got) * sizeof(int16_t)));
    got += n / sizeof(int16_t);
    if (got < kChunk) sdl->Delay(5);
  }
  if (sdl->GetAudioDeviceStatus(m_device) == SDL_AUDIO_STOPPED) {
    error = "The microphone stopped delivering sound.";
    return false;
  }
  out.insert(out.end(), buf, buf + got);
  return true;
}

void MicrophoneSource::Stop() {
  if (!m_sdlStarted) return;  // nothing is open, and SDL may not be loaded
  const platform::SdlLibrary* sdl = platform::Sdl();
  if (m_device != 0) sdl->CloseAudioDevice(m_device);
  m_device = 0;
  sdl->QuitSubSystem(SDL_INIT_AUDIO);
  m_sdlStarted = false;
}

#else

MicrophoneSource::~MicrophoneSource() = default;
bool MicrophoneSource::Start(QString& error) {
  error = "This build cannot capture sound.";
  return false;
}
bool MicrophoneSource::Read(std::vector<int16_t>&, QString& error) {
  error = "This build cannot capture sound.";
  return false;
}
void MicrophoneSource::Stop() {}

#endif

std::vector<int16_t> Resample(const std::vector<int16_t>& in, int fromRate, int toRate) {
  if (fromRate == toRate || in.empty() || fromRate <= 0) return in;
  // Averaging over each output step filters well enough for speech going
  // down to 16 kHz; linear interpolation when going up.
  const double step = static_cast<double>(fromRate) / toRate;
  const size_t n = static_cast<size_t>(in.size() / step);
  std::vector<int16_t> out(n);
  for (size_t i = 0; i < n; ++i) {
    const double a = i * step;
    if (step > 1.0) {
      const size_t b = static_cast<size_t>(a), e = std::min(in.size(), static_cast<size_t>(a + step));
      long sum = 0;
      for (size_t k = b; k < e; ++k) sum += in[k];
      out[i] = static_cast<int16_t>(e > b ? sum / static_cast<long>(e - b) : in[b]);
    } else {
      const size_t b = static_cast<size_t>(a);
      const double t = a - b;
      const int16_t x0 = in[b], x1 = in[std::min(b + 1, in.size() - 1)];
      out[i] = static_cast<int16_t>(x0 + (x1 - x0) * t);
    }
  }
  return out;
}

bool ReadWav(const QString& path, std::vector<int16_t>& samples, QString& error) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    error = "cannot open " + path;
    return false;
  }
  const QByteArray b = f.readAll();
  auto u32 = [&](qsizetype at) { return qFromLittleEndian<quint32>(b.constData() + at); };
  auto u16 = [&](qsizetype at) { return qFromLittleEndian<quint16>(b.constData() + at); };
  if (b.size() < 12 || !b.startsWith("RIFF") || b.mid(8, 4) != "WAVE") {
    error = path + " is not a WAV file";
    return false;
  }
  int channels = 0, rate = 0, bits = 0, format = 0;
  qsizetype pos = 12;
  while (pos + 8 <= b.size()) {
    const QByteArray id = b.mid(pos, 4);
    const qsizetype size = u32(pos + 4);
    const qsizetype body = pos + 8;
    if (body + size > b.size() && id != "data") break;
    if (id == "fmt " && size >= 16) {
      format = u16(body);
      channels = u16(body + 2);
      rate = static_cast<int>(u32(body + 4));
      bits = u16(body + 14);
    } else if (id == "data") {
      if (format != 1 || bits != 16 || channels < 1) {
        error = path + ": only 16-bit PCM WAV files can be read";
        return false;
      }
      const qsizetype bytes = std::min<qsizetype>(size, b.size() - body);
      const qsizetype frames = bytes / (2 * channels);
      std::vector<int16_t> mono(frames);
      for (qsizetype i = 0; i < frames; ++i) {
        int sum = 0;
        for (int c = 0; c < channels; ++c) sum += static_cast<int16_t>(u16(body + (i * channels + c) * 2));
        mono[i] = static_cast<int16_t>(sum / channels);
      }
      samples = Resample(mono, rate, kSampleRate);
      return true;
    }
    pos = body + size + (size & 1);
  }
  error = path + " has no audio data";
  return false;
}

bool WriteWav(const QString& path, const std::vector<int16_t>& samples, int sampleRate, QString* error) {
  QByteArray h(44, '\0');
  const quint32 dataBytes = static_cast<quint32>(samples.size() * 2);
  auto put32 = [&](int at, quint32 v) { qToLittleEndian(v, h.data() + at); };
  auto put16 = [&](int at, quint16 v) { qToLittleEndian(v, h.data() + at); };
  h.replace(0, 4, "RIFF");
  put32(4, 36 + dataBytes);
  h.replace(8, 8, "WAVEfmt ");
  put32(16, 16);
  put16(20, 1);
  put16(22, 1);
  put32(24, static_cast<quint32>(sampleRate));
  put32(28, static_cast<quint32>(sampleRate * 2));
  put16(32, 2);
  put16(34, 16);
  h.replace(36, 4, "data");
  put32(40, dataBytes);
  for (int16_t s : samples) {
    char le[2];
    qToLittleEndian(s, le);
    h.append(le, 2);
  }
  const base::FileResult written = base::WriteFileAtomic(path, h);
  if (!written && error) *error = written.error();
  return static_cast<bool>(written);
}

}  // namespace qv::speech
