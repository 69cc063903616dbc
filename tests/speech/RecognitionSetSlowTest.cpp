// The recognition evaluation set (tests/fixtures/speech/RecognitionSet.json):
// one phrase of a demo command per entry, its sentences spoken in the four
// voices at several rates, clean and at 15 dB SNR, through quorvane-cli; other
// sentences, noise and silence must be turned away. QV_SPEECH_EVAL_DIR keeps
// (and reuses) the rendered set with a list of its utterances.
#include <gtest/gtest.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <map>
#include <random>

#include "SpeechTestSupport.h"
#include "core/grammar/CheckExpandGrammar.h"
#include "data/JsonFormats.h"
#include "speech/AudioSource.h"
#include "speech/Espeak.h"
#include "speech/Voices.h"

namespace qv::test {
namespace {

struct Utterance {
  QString file;      // name inside the entry's folder
  QString expected;  // the sentence to recognise; empty: must not be accepted
  QString kind;      // "in grammar", "near miss", "other command", "chatter", "noise", "silence"
};

struct Entry {
  QString part, eventName, phrase;
  int command = -1, grammar = -1;
  QJsonObject item;  // the set's entry: its sentences and those from outside
  std::vector<Utterance> utterances;
};

struct Settings {
  unsigned seed = 0;
  QList<int> voices, rates;
  double padMin = 0.4, padMax = 0.8, floorDb = -62, snrDb = 15, clipMin = 1, clipMax = 2.5;
};

double Rms(const std::vector<int16_t>& s) {
  double sum = 0;
  for (const int16_t x : s) sum += double(x) * x;
  return s.empty() ? 0 : std::sqrt(sum / double(s.size()));
}

// White or pink noise of the given RMS level.
std::vector<double> Noise(size_t n, double rms, bool pink, std::mt19937& rng) {
  std::normal_distribution<double> g(0, 1);
  std::vector<double> out(n);
  double b0 = 0, b1 = 0, b2 = 0;
  for (auto& x : out) {
    const double w = g(rng);
    if (!pink) {
      x = w;
      continue;
    }
    b0 = 0.99765 * b0 + w * 0.0990460;
    b1 = 0.96300 * b1 + w * 0.2965164;
    b2 = 0.57000 * b2 + w * 1.0526913;
    x = b0 + b1 + b2 + w * 0.1848;
  }
  double sum = 0;
  for (double x : out) sum += x * x;
  const double k = n ? rms / std::sqrt(sum / n) : 0;
  for (auto& x : out) x *= k;
  return out;
}

std::vector<int16_t> Mix(const std::vector<int16_t>& speech, const std::vector<double>& noise) {
  std::vector<int16_t> out(noise.size());
  for (size_t i = 0; i < out.size(); ++i) {
    const double v = (i < speech.size() ? speech[i] : 0) + noise[i];
    out[i] = static_cast<int16_t>(std::clamp(std::lround(v), -32768L, 32767L));
  }
  return out;
}

// One sentence in one voice and rate, between low-level noise of 0.4-0.8 s,
// clean or with noise throughout at the set's SNR.
std::vector<int16_t> Render(const QString& text, int voice, int rateWpm, bool noisy, const Settings& s,
                            std::mt19937& rng) {
  std::vector<int16_t> raw;
  int rate = 0;
  if (!speech::EspeakSynthesize(text, speech::EspeakVoiceFor(voice), rateWpm, 100, raw, rate)) return {};
  std::vector<int16_t> voiced = speech::Resample(raw, rate, speech::kSampleRate);
  // eSpeak leaves silence around the words; the set's own padding replaces it.
  size_t a = 0, b = voiced.size();
  while (a < b && std::abs(voiced[a]) < 64) ++a;
  while (b > a && std::abs(voiced[b - 1]) < 64) --b;
  voiced = std::vector<int16_t>(voiced.begin() + a, voiced.begin() + b);
  std::uniform_real_distribution<double> pad(s.padMin, s.padMax);
  const size_t lead = size_t(pad(rng) * speech::kSampleRate), trail = size_t(pad(rng) * speech::kSampleRate);
  std::vector<int16_t> placed(lead, 0);
  placed.insert(placed.end(), voiced.begin(), voiced.end());
  placed.resize(placed.size() + trail, 0);
  const bool pink = rng() % 2;
  const double floor = 32768.0 * std::pow(10.0, s.floorDb / 20);
  const double level = noisy ? Rms(voiced) / std::pow(10.0, s.snrDb / 20) : floor;
  return Mix(placed, Noise(placed.size(), std::max(level, floor), pink, rng));
}

std::vector<int16_t> NoiseClip(bool silence, const Settings& s, std::mt19937& rng) {
  std::uniform_real_distribution<double> len(s.clipMin, s.clipMax), db(-38, -24);
  const size_t n = size_t(len(rng) * speech::kSampleRate);
  const double level = 32768.0 * std::pow(10.0, (silence ? s.floorDb : db(rng)) / 20);
  return Mix({}, Noise(n, level, rng() % 2, rng));
}

QList<int> Ints(const QJsonValue& v) {
  QList<int> out;
  for (const auto& x : v.toArray()) out << x.toInt();
  return out;
}

class RecognitionSetSlowTest : public testing::Test {
 protected:
  void SetUp() override {
    const QByteArray json = ReadBytes(FixturesDir() + "/speech/RecognitionSet.json");
    const QJsonObject m = QJsonDocument::fromJson(json).object();
    ASSERT_FALSE(m.isEmpty());
    m_settings.seed = static_cast<unsigned>(m["seed"].toInt());
    m_settings.voices = Ints(m["voices"]);
    m_settings.rates = Ints(m["ratesWpm"]);
    m_settings.padMin = m["padSeconds"][0].toDouble();
    m_settings.padMax = m["padSeconds"][1].toDouble();
    m_settings.floorDb = m["floorLevelDb"].toDouble();
    m_settings.snrDb = m["noisySnrDb"].toDouble();
    m_settings.clipMin = m["noiseClipSeconds"][0].toDouble();
    m_settings.clipMax = m["noiseClipSeconds"][1].toDouble();

    std::vector<data::CommandRecord> commands;
    QString error;
    ASSERT_TRUE(data::CommandsFromJson(ReadBytes(DemoSourceDir() + "/Data/CommandList.json"), commands, error))
        << error.toStdString();
    for (const auto& v : m["items"].toArray()) {
      const QJsonObject o = v.toObject();
      Entry e;
      e.item = o;
      e.part = o["part"].toString();
      e.eventName = o["eventName"].toString();
      e.phrase = o["phrase"].toString();
      for (int c = 0; c < int(commands.size()) && e.command < 0; ++c) {
        if (grammar::TrimSpaces(commands[c].eventName) != e.eventName) continue;
        for (int g = 0; g < commands[c].grammars.size(); ++g)
          if (grammar::TrimSpaces(commands[c].grammars[g]) == e.phrase) e.command = c, e.grammar = g;
      }
      ASSERT_GE(e.command, 0) << "the demo no longer has " << e.eventName.toStdString() << ": "
                              << e.phrase.toStdString() << " (rebuild the set with qv_make_recognition_set)";
      m_entries.push_back(std::move(e));
    }
  }

  // Renders an entry into `dir`, files already there kept: each sentence in
  // every voice, clean and noisy; each sentence from outside once clean and
  // once noisy, in turning voices; one noise clip and one stretch of near
  // silence. Each utterance draws from its own seed, so any can be made alone.
  void RenderEntry(Entry& e, int index, const QString& dir) {
    QDir().mkpath(dir);
    const auto& voices = m_settings.voices;
    const auto& rates = m_settings.rates;
    auto make = [&](const QString& expected, const QString& kind, auto render) {
      const int u = int(e.utterances.size());
      e.utterances.push_back({QString("u%1.wav").arg(u, 2, 10, QChar('0')), expected, kind});
      const QString path = dir + "/" + e.utterances.back().file;
      std::mt19937 rng(m_settings.seed * 100003u + unsigned(index) * 101u + unsigned(u));
      if (QFileInfo::exists(path)) return;
      const std::vector<int16_t> samples = render(index + u, rng);
      ASSERT_FALSE(samples.empty()) << path.toStdString();
      ASSERT_TRUE(speech::WriteWav(path, samples, speech::kSampleRate)) << path.toStdString();
    };
    for (const auto& s : e.item["sentences"].toArray())
      for (int v = 0; v < voices.size(); ++v)
        for (int noisy = 0; noisy < 2; ++noisy)
          make(s.toString(), "in grammar", [&](int turn, std::mt19937& rng) {
            return Render(s.toString(), voices[v], rates[turn % rates.size()], noisy, m_settings, rng);
          });
    int k = 0;
    for (const auto& x : e.item["outOfGrammar"].toArray()) {
      for (int noisy = 0; noisy < 2; ++noisy)
        make({}, x.toObject()["kind"].toString(), [&](int turn, std::mt19937& rng) {
          return Render(x.toObject()["text"].toString(), voices[(index + k + 2 * noisy) % voices.size()],
                        rates[turn % rates.size()], noisy, m_settings, rng);
        });
      ++k;
    }
    make({}, "noise", [&](int, std::mt19937& rng) { return NoiseClip(false, m_settings, rng); });
    make({}, "silence", [&](int, std::mt19937& rng) { return NoiseClip(true, m_settings, rng); });
  }

  Settings m_settings;
  std::vector<Entry> m_entries;
};

struct Tally {
  int n = 0, hit = 0;
  void Add(bool h) { ++n, hit += h ? 1 : 0; }
  double Rate() const { return n ? double(hit) / n : 0; }
  QString Text() const { return QString("%1/%2 (%3%)").arg(hit).arg(n).arg(100 * Rate(), 0, 'f', 1); }
};

TEST_F(RecognitionSetSlowTest, RecognisesTheCommandsAndTurnsAwayEverythingElse) {
  // The demo installation whose command list the set was built from.
  QTemporaryDir root;
  const QString install = BuildDemo(root.path());
  ASSERT_FALSE(HasFailure());
  const QString keep = qEnvironmentVariable("QV_SPEECH_EVAL_DIR");
  const QString audioRoot = keep.isEmpty() ? root.path() + "/audio" : keep;

  std::map<QString, std::map<QString, Tally>> tally;  // part -> kind -> outcome
  std::map<QString, Tally> accepted;                  // part -> false accepts of every kind
  double audioSeconds = 0, decodeSeconds = 0;
  QStringList listing;
  for (size_t i = 0; i < m_entries.size(); ++i) {
    Entry& e = m_entries[i];
    const QString dir = audioRoot + QString("/e%1").arg(i, 2, 10, QChar('0'));
    RenderEntry(e, int(i), dir);
    const CliResult written = RunCli({"test-grammar", install, QString::number(e.command), QString::number(e.grammar)});
    ASSERT_EQ(written.exitCode, 0) << written.err.toStdString();
    QStringList files;
    for (const auto& u : e.utterances) files << dir + "/" + u.file;
    const Recognized r = Recognize(install, files, {"--stats"});
    ASSERT_FALSE(HasFailure());
    for (size_t k = 0; k < e.utterances.size(); ++k) {
      const Utterance& u = e.utterances[k];
      const bool ok = r.Accepted(k);
      if (u.expected.isEmpty()) {
        tally[e.part][u.kind].Add(!ok);
        accepted[e.part].Add(ok);
      } else {
        tally[e.part][u.kind].Add(ok && r.Heard(k) == u.expected);
      }
      listing << QString("e%1\t%2\t%3\t%4\t%5\t%6")
                     .arg(i, 2, 10, QChar('0'))
                     .arg(e.part, u.kind, u.file, u.expected, ok ? r.Heard(k) : "-");
    }
    audioSeconds += r.audioSeconds;
    decodeSeconds += r.decodeSeconds;
  }
  if (!keep.isEmpty()) WriteBytes(keep + "/utterances.tsv", listing.join('\n').toUtf8() + '\n');

  for (const QString part : {"tuning", "held-out"}) {
    std::printf("%s part: in-grammar exact %s; false accepts %s\n", qPrintable(part),
                qPrintable(tally[part]["in grammar"].Text()), qPrintable(accepted[part].Text()));
    for (const auto& [kind, t] : tally[part])
      if (kind != "in grammar") std::printf("    %-14s turned away %s\n", qPrintable(kind), qPrintable(t.Text()));
  }
  std::printf("decode: %.3f s per second of audio\n", audioSeconds > 0 ? decodeSeconds / audioSeconds : 0.0);

  // Floors a little under the measured figures (tuning part 93.6 % exact,
  // 3.9 % accepted; held-out part 88.9 % and 6.0 %), so that a regression
  // fails. The targets are 95 % and 10 %: the exact rate is not there yet.
  const std::map<QString, double> exactFloor{{"tuning", 0.90}, {"held-out", 0.86}};
  for (const QString part : {"tuning", "held-out"}) {
    EXPECT_GE(tally[part]["in grammar"].n, 200) << part.toStdString();
    EXPECT_GE(tally[part]["in grammar"].Rate(), exactFloor.at(part)) << part.toStdString();
    EXPECT_LE(accepted[part].Rate(), 0.08) << part.toStdString();
  }
}

}  // namespace
}  // namespace qv::test
