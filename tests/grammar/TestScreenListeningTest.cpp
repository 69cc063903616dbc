// The test screen listening through the real recogniser, fed by sources that
// deliver sound in real time as a microphone does: the window stays live
// while it listens, "cancel" ends listening before the sound runs out, and a
// capture failure names its cause in the engine-error dialog.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <cmath>
#include <random>

#include "AppHarness.h"
#include "GrammarFixture.h"
#include "TestEnv.h"
#include "base/FixedText.h"
#include "core/shell/Dialogs.h"
#include "data/CommandList.h"
#include "gui/grammar/frm_Configure.h"
#include "gui/grammar/frm_Test.h"
#include "gui/kit/DialogWindow.h"
#include "gui/shell/frm_Parent.h"
#include "speech/Espeak.h"
#include "speech/Recognizer.h"
#include "speech/Voices.h"

using namespace qv;

namespace {

constexpr int kRate = speech::kSampleRate;

// Hands out its samples no faster than real time.
class PacedSource final : public speech::AudioSource {
 public:
  explicit PacedSource(std::vector<int16_t> samples, QString startError = {})
      : m_samples(std::move(samples)), m_startError(std::move(startError)) {}
  ~PacedSource() override { *m_left = m_samples.size() - m_pos; }
  bool Start(QString& error) override {
    error = m_startError;
    m_clock.start();
    return error.isEmpty();
  }
  bool Read(std::vector<int16_t>& out, QString&) override {
    const size_t from = m_pos, to = std::min(m_samples.size(), from + kRate / 10);
    const qint64 due = static_cast<qint64>(to) * 1000 / kRate;
    if (due > m_clock.elapsed()) QThread::msleep(static_cast<unsigned long>(due - m_clock.elapsed()));
    out.insert(out.end(), m_samples.begin() + from, m_samples.begin() + to);
    m_pos = to;
    return true;
  }
  bool AtEnd() const override { return m_pos >= m_samples.size(); }
  void Stop() override {}
  size_t delivered() const { return m_pos; }
  // What was left undelivered, kept when the recogniser has let the source go.
  std::shared_ptr<size_t> left() const { return m_left; }

 private:
  std::vector<int16_t> m_samples;
  QString m_startError;
  QElapsedTimer m_clock;
  std::atomic<size_t> m_pos{0};
  std::shared_ptr<size_t> m_left = std::make_shared<size_t>(0);
};

std::vector<int16_t> Hiss(double seconds, double rms) {
  std::mt19937 rng(7);
  std::normal_distribution<double> g(0, rms);
  std::vector<int16_t> s(static_cast<size_t>(seconds * kRate));
  for (auto& x : s) x = static_cast<int16_t>(std::clamp(g(rng), -32000.0, 32000.0));
  return s;
}

// `text` in copilot voice 2 between stretches of quiet.
std::vector<int16_t> Spoken(const QString& text) {
  std::vector<int16_t> raw;
  int rate = 0;
  EXPECT_TRUE(speech::EspeakSynthesize(text, speech::EspeakVoiceFor(2), 160, 100, raw, rate));
  std::vector<int16_t> out = Hiss(0.6, 30);
  const auto voiced = speech::Resample(raw, rate, kRate);
  out.insert(out.end(), voiced.begin(), voiced.end());
  const auto after = Hiss(2.0, 30);
  out.insert(out.end(), after.begin(), after.end());
  return out;
}

class TestScreenListeningTest : public testing::Test {
 protected:
  TestScreenListeningTest() {
    shell::AppState& s = h.state();
    test::FillSmallCommandSet(s);
    s.commands[4].grammars = {base::Fixed("[gear|wheels] (down)", data::kGrammarWidth)};
    s.speechReady = true;
    test::WriteBytes(inst.installDir + "/Data/Generic Lists.bnf",
                     test::ReadBytes(test::DemoSourceDir() + "/Installation/Data/Generic Lists.bnf"));
    h.ShowFrame();
    frame().Enter("frm_Configure");
  }

  shell::frm_Parent& frame() { return h.frame(); }
  // Opens the test screen on "[gear|wheels] (down)" with `source` as the microphone.
  grammar::frm_Test& OpenTest(std::unique_ptr<PacedSource> source) {
    auto once = std::make_shared<std::unique_ptr<PacedSource>>(std::move(source));
    recognizer->SetSourceFactory([once]() -> std::unique_ptr<speech::AudioSource> { return std::move(*once); });
    auto* cfg = h.screen<grammar::frm_Configure>("frm_Configure");
    cfg->comboCategory->setCurrentIndex(2);
    cfg->comboCommand->setCurrentIndex(0);
    cfg->listGrammar->setCurrentRow(0);
    test::Press(cfg, "btn_TestGrammar");
    EXPECT_EQ(frame().currentScreen, "frm_Test") << recognizer->LastError().toStdString();
    return *h.screen<grammar::frm_Test>("frm_Test");
  }

  test::TestInstallation inst;
  speech::Recognizer* recognizer = nullptr;
  // The application as the tests build it, with the real recogniser.
  test::AppHarness h{inst.installDir, [this](app::Backends& b) {
                       auto r = std::make_unique<speech::Recognizer>(inst.installDir);
                       recognizer = r.get();
                       b.recognizer = std::move(r);
                     }};
};

TEST_F(TestScreenListeningTest, CancelEndsListeningWhileTheSourceStillDelivers) {
  auto owned = std::make_unique<PacedSource>(Hiss(8.0, 300));  // no speech: it would listen for 6 s
  const std::shared_ptr<size_t> left = owned->left();
  grammar::frm_Test& t = OpenTest(std::move(owned));

  // While listening, the event loop runs: the meter moves, a second "start"
  // is ignored, and "cancel" goes through.
  int ticks = 0;
  bool meterMoved = false;
  QString statusWhileListening;
  QTimer probe;
  probe.setInterval(40);
  QObject::connect(&probe, &QTimer::timeout, [&] {
    if (!t.listening()) return;
    ++ticks;
    meterMoved = meterMoved || (t.pb_Level->isVisible() && t.pb_Level->value() > 0);
    statusWhileListening = t.lbl_Status->text();
    if (ticks == 5) test::Click(frame().btn_OK);
    if (ticks == 10) test::Click(frame().btn_Cancel);
  });
  probe.start();
  test::Click(frame().btn_OK);  // returns when listening has ended
  probe.stop();

  EXPECT_GT(*left, 0u) << "cancel ended listening before the source ran out";
  EXPECT_GE(ticks, 10);
  EXPECT_TRUE(meterMoved);
  EXPECT_TRUE(statusWhileListening.startsWith("Listening")) << statusWhileListening.toStdString();
  EXPECT_FALSE(t.listening());
  EXPECT_EQ(frame().currentScreen, "frm_Configure");
  EXPECT_EQ(t.lblResult->text(), "");  // a cancelled listen shows nothing
  EXPECT_TRUE(h.dialogs->shown.empty()) << h.dialogs->last().title.toStdString();
  speech::SampleSource more(Hiss(1.0, 30));
  QByteArray buffer = grammar::RecognizerBuffer();
  EXPECT_EQ(recognizer->ListenTo(more, buffer), -3) << "the cancel also released the grammar";
}

TEST_F(TestScreenListeningTest, ShowsTheSentenceHeardAndHowLongItListened) {
  grammar::frm_Test& t = OpenTest(std::make_unique<PacedSource>(Spoken("wheels down")));
  test::Click(frame().btn_OK);
  EXPECT_EQ(t.lblResult->text(), "wheels down");
  EXPECT_EQ(t.iconShown(), "icon_Result.bmp");
  EXPECT_FALSE(t.pb_Level->isVisible());
  EXPECT_TRUE(t.lbl_Status->text().startsWith("Heard ")) << t.lbl_Status->text().toStdString();
  const grammar::ListeningProgress heard = recognizer->Progress();
  EXPECT_GT(heard.speechSeconds, 0.3);
  EXPECT_GT(heard.heardSeconds, heard.speechSeconds);
  EXPECT_LT(heard.heardSeconds, 4.0) << "listening ends when the speaker stops";
}

TEST_F(TestScreenListeningTest, ACaptureFailureNamesItsCauseUnderTheEnginesWords) {
  grammar::frm_Test& t = OpenTest(std::make_unique<PacedSource>(Hiss(1.0, 30), "No microphone was found."));
  test::Click(frame().btn_OK);
  EXPECT_EQ(t.iconShown(), "icon_Problem.bmp");
  ASSERT_EQ(h.dialogs->shown.size(), 1u);
  EXPECT_EQ(h.dialogs->last().title, "Error in Speech Recognition Engine");
  EXPECT_EQ(h.dialogs->last().message, ui::DialogWindow::DisplayText(shell::JoinLines(
                              {"There was an error in the speech recognition engine.  Please contact Veltrane Support.",
                               "No microphone was found.", "Please press OK to continue..."})));
}

}  // namespace
