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

#include "GrammarFixture.h"
#include "TestEnv.h"
#include "base/FixedText.h"
#include "core/shell/Dialogs.h"
#include "core/shell/LaunchHooks.h"
#include "data/CommandList.h"
#include "gui/grammar/frm_Configure.h"
#include "gui/grammar/frm_GrammarScreens.h"
#include "gui/grammar/frm_Test.h"
#include "gui/kit/DialogWindow.h"
#include "gui/kit/Router.h"
#include "gui/kit/SkinnedButton.h"
#include "gui/kit/SkinnedDialogs.h"
#include "gui/kit/frm_Message.h"
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

 private:
  std::vector<int16_t> m_samples;
  QString m_startError;
  QElapsedTimer m_clock;
  std::atomic<size_t> m_pos{0};
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
  TestScreenListeningTest() : env(inst.installDir) {
    test::FillSmallCommandSet(env.state);
    env.state.commands[4].grammars = {base::Fixed("[gear|wheels] (down)", data::kGrammarWidth)};
    env.state.speechReady = true;
    test::WriteBytes(inst.installDir + "/Data/Generic Lists.bnf",
                     test::ReadBytes(test::DemoSourceDir() + "/Installation/Data/Generic Lists.bnf"));
    dialogs.SetHost(&frame);
    dialogs.autoAnswer = [this](ui::DialogWindow* d) {
      shown << d->title()->text() + "\n" + d->message()->text();
      if (auto* m = dynamic_cast<ui::frm_Message*>(d)) m->okButton()->button_pressed();
    };
    frame.show();
    frame.ShowInParent("frm_Home");
  }

  void Release(QWidget* screen, const QString& name) {
    auto* b = screen->findChild<ui::SkinnedButton*>(name);
    ASSERT_TRUE(b) << name.toStdString();
    QTest::mousePress(b->picBG(), Qt::LeftButton);
    QTest::mouseRelease(b->picBG(), Qt::LeftButton);
  }
  // Opens the test screen on "[gear|wheels] (down)" with `source` as the microphone.
  grammar::frm_Test& OpenTest(std::unique_ptr<PacedSource> source) {
    auto once = std::make_shared<std::unique_ptr<PacedSource>>(std::move(source));
    recognizer.SetSourceFactory([once]() -> std::unique_ptr<speech::AudioSource> { return std::move(*once); });
    frame.EnterScreen("speech_config");
    screens.configure()->comboCategory->setCurrentIndex(2);
    screens.configure()->comboCommand->setCurrentIndex(0);
    screens.configure()->listGrammar->setCurrentRow(0);
    Release(screens.configure(), "btn_TestGrammar");
    EXPECT_EQ(frame.currentScreen, "frm_Test") << recognizer.LastError().toStdString();
    return *screens.test();
  }

  test::TestInstallation inst;
  test::TestEnv env;
  speech::Recognizer recognizer{inst.installDir};
  grammar::SpeechFacade speech{env.state.speechReady, env.compiler, recognizer, env.output};
  ui::Router router;
  shell::LaunchHooks launch;
  ui::SkinnedDialogs dialogs{env.state, launch, router, nullptr};
  shell::Context ctx{env.state, dialogs, env.shutdown, env.status, env.platform};
  shell::frm_Parent frame{env.state, env.shutdown, launch, router};
  grammar::GrammarScreens screens{ctx, speech, frame, router, dialogs, launch};
  QStringList shown;
};

TEST_F(TestScreenListeningTest, CancelEndsListeningWhileTheSourceStillDelivers) {
  auto owned = std::make_unique<PacedSource>(Hiss(8.0, 300));  // no speech: it would listen for 6 s
  PacedSource* source = owned.get();
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
    if (ticks == 5) Release(&frame, "btn_OK");
    if (ticks == 10) Release(&frame, "btn_Cancel");
  });
  probe.start();
  Release(&frame, "btn_OK");  // returns when listening has ended
  probe.stop();

  EXPECT_FALSE(source->AtEnd()) << source->delivered() << " samples delivered";
  EXPECT_GE(ticks, 10);
  EXPECT_TRUE(meterMoved);
  EXPECT_TRUE(statusWhileListening.startsWith("Listening")) << statusWhileListening.toStdString();
  EXPECT_FALSE(t.listening());
  EXPECT_EQ(frame.currentScreen, "frm_Configure");
  EXPECT_EQ(t.lblResult->text(), "");  // a cancelled listen shows nothing
  EXPECT_TRUE(shown.isEmpty()) << shown.join("; ").toStdString();
  speech::SampleSource more(Hiss(1.0, 30));
  QByteArray buffer = grammar::RecognizerBuffer();
  EXPECT_EQ(recognizer.ListenTo(more, buffer), -3) << "the cancel also released the grammar";
}

TEST_F(TestScreenListeningTest, ShowsTheSentenceHeardAndHowLongItListened) {
  grammar::frm_Test& t = OpenTest(std::make_unique<PacedSource>(Spoken("wheels down")));
  Release(&frame, "btn_OK");
  EXPECT_EQ(t.lblResult->text(), "wheels down");
  EXPECT_EQ(t.iconShown(), "icon_Result.bmp");
  EXPECT_FALSE(t.pb_Level->isVisible());
  EXPECT_TRUE(t.lbl_Status->text().startsWith("Heard ")) << t.lbl_Status->text().toStdString();
  const grammar::ListeningProgress heard = speech.RecognizerProgress();
  EXPECT_GT(heard.speechSeconds, 0.3);
  EXPECT_GT(heard.heardSeconds, heard.speechSeconds);
  EXPECT_LT(heard.heardSeconds, 4.0) << "listening ends when the speaker stops";
}

TEST_F(TestScreenListeningTest, ACaptureFailureNamesItsCauseUnderTheEnginesWords) {
  grammar::frm_Test& t = OpenTest(std::make_unique<PacedSource>(Hiss(1.0, 30), "No microphone was found."));
  Release(&frame, "btn_OK");
  EXPECT_EQ(t.iconShown(), "icon_Problem.bmp");
  ASSERT_EQ(shown.size(), 1);
  EXPECT_EQ(shown[0], "Error in Speech Recognition Engine\n" +
                          ui::DialogWindow::DisplayText(shell::JoinLines(
                              {"There was an error in the speech recognition engine.  Please contact Veltrane Support.",
                               "No microphone was found.", "Please press OK to continue..."})));
}

}  // namespace
