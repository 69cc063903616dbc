#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "SpeechTestSupport.h"
#include "core/grammar/SpeechFacade.h"
#include "speech/AudioSource.h"
#include "speech/CompilerEngine.h"
#include "speech/EngineFactory.h"
#include "speech/Espeak.h"
#include "speech/Recognizer.h"
#include "speech/SpeechModel.h"
#include "speech/Voices.h"
#include "speech/linux/EspeakSpeechOutput.h"

namespace qv::test {
namespace {

// Voice 0 is "none"; a second sentence cuts the first, and both finish
// without an audio device.
TEST(SpeechOutputTest, SpeaksInTheFourVoicesOnlyAndReturnsAtOnce) {
  qputenv("SDL_AUDIODRIVER", "dummy");
  speech::EspeakSpeechOutput out;
  ASSERT_EQ(out.Start(), 0);
  for (int v = 0; v <= 5; ++v) EXPECT_EQ(out.VoicePresent(v) == 0, v >= 1 && v <= 4) << v;
  EXPECT_NE(out.Speak(0, 100, 50, "gear down"), 0);
  EXPECT_EQ(out.Speak(2, 100, 50, "Flaps fifteen, checked"), 0);
  EXPECT_EQ(out.Speak(3, 100, 50, "Gear down"), 0);
  out.Wait();
  qunsetenv("SDL_AUDIODRIVER");
}

TEST(SpeechOutputTest, TheFourVoicesSoundDifferent) {
  std::vector<std::vector<int16_t>> renders;
  for (int v = 1; v <= 4; ++v) {
    std::vector<int16_t> s;
    int rate = 0;
    ASSERT_TRUE(speech::EspeakSynthesize("flaps fifteen", speech::EspeakVoiceFor(v), 175, 100, s, rate));
    EXPECT_GT(s.size(), static_cast<size_t>(rate / 4));
    for (const auto& other : renders) EXPECT_NE(other, s) << "voice " << v;
    renders.push_back(std::move(s));
  }
}

TEST(AudioTest, WavRoundTripAndConversionTo16kMono) {
  QTemporaryDir dir;
  std::vector<int16_t> tone(22050);
  for (size_t i = 0; i < tone.size(); ++i) tone[i] = static_cast<int16_t>((i % 50) * 400 - 10000);
  ASSERT_TRUE(speech::WriteWav(dir.filePath("a.wav"), tone, 22050));
  std::vector<int16_t> read;
  QString error;
  ASSERT_TRUE(speech::ReadWav(dir.filePath("a.wav"), read, error));
  EXPECT_NEAR(static_cast<double>(read.size()), 16000.0, 2.0);
  WriteBytes(dir.filePath("b.wav"), "RIFF....WAVEjunk");
  EXPECT_FALSE(speech::ReadWav(dir.filePath("b.wav"), read, error));
  EXPECT_FALSE(error.isEmpty());
}

class RecognizerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test = dir.path() + "/Grammars/Test";
    QDir().mkpath(test);
    QFile::copy(GenericListsFixture(), test + "/Generic Lists.bnf");
  }
  QTemporaryDir dir;
  QString test;
};

TEST_F(RecognizerTest, RecognisesASentenceOfTheTestGrammarAndRejectsSilence) {
  WriteBnf(test + "/Test.bnf", TestGrammarText("set flaps !optional(to) <FLAP_SETTING>", false));
  speech::Recognizer rec(dir.path());
  ASSERT_EQ(rec.LoadTestGrammar(), 0) << rec.LastError().toStdString();
  QByteArray buffer = grammar::RecognizerBuffer();
  speech::SampleSource speech(Said("set flaps to fifteen", speech::EspeakVoiceFor(2)));
  EXPECT_EQ(rec.ListenTo(speech, buffer), 0);
  EXPECT_EQ(grammar::RecognizedPhrase(buffer), "set flaps to fifteen");
  EXPECT_EQ(buffer.size(), 1024);
  buffer = grammar::RecognizerBuffer();
  speech::SampleSource silence(std::vector<int16_t>(speech::kSampleRate * 2, 0));
  EXPECT_EQ(rec.ListenTo(silence, buffer), -2);
  EXPECT_EQ(grammar::RecognizedPhrase(buffer), "");
  EXPECT_EQ(rec.StopListening(), 0);
  EXPECT_EQ(rec.ListenTo(silence, buffer), -3);  // released
}

TEST_F(RecognizerTest, FailsToInitialiseOnABrokenOrMissingTestGrammar) {
  speech::Recognizer rec(dir.path());
  EXPECT_EQ(rec.LoadTestGrammar(), -3);                                    // no Test.bnf
  WriteBnf(test + "/Test.bnf", TestGrammarText("tune <NAV_NAME>", true));  // navaid grammars missing
  EXPECT_EQ(rec.LoadTestGrammar(), -3);
  EXPECT_TRUE(rec.LastError().contains("imported rule <NAV_NAME>")) << rec.LastError().toStdString();
  EXPECT_TRUE(QString::fromUtf8(ReadBytes(test + "/Compile.log")).contains("Test.bnf:"));
  // A phrase the phrase check refuses still loads: the test screen then
  // shows its "Grammar Error" rather than "Failed to Initialize".
  for (const char* phrase : {"gear up!", "[gear|wheels (down", "tune \"nav\" one; <nav_id"}) {
    WriteBnf(test + "/Test.bnf", TestGrammarText(phrase, false));
    EXPECT_EQ(speech::Recognizer(dir.path()).LoadTestGrammar(), 0) << phrase;
  }
}

// The full compile's graphs load as the in-flight runtime would load them
// (the written graph and the words' dictionary) and say what they were
// compiled from.
TEST_F(RecognizerTest, TheCompiledGraphsLoadAndSayTheirSentences) {
  const QString grammars = dir.path() + "/Grammars";
  QFile::copy(GenericListsFixture(), grammars + "/Generic Lists.bnf");
  WriteNavaidGrammars(grammars);
  WriteBnf(
      grammars + "/Radios.bnf",
      CategoryGrammar("Radios", "!import<NAV_NAME>;\n!import<NUM_1>;\n",
                      {{"TUNE", "|1:", {"select <NAV_NAME> (vor|v o r)", "nav <NUM_1> !optional(to) <NAV_NAME>"}}}));
  speech::CompilerEngine engine(dir.path());
  ASSERT_EQ(engine.Compile(0, 1), 0);
  speech::Recognizer rec(dir.path());
  ASSERT_EQ(rec.LoadCompiledGrammar("Radios"), 0) << rec.LastError().toStdString();
  QByteArray buffer = grammar::RecognizerBuffer();
  speech::SampleSource said(Said("select portland vor", speech::EspeakVoiceFor(2)));
  EXPECT_EQ(rec.ListenTo(said, buffer), 0) << rec.LastStats().hypothesis.toStdString();
  EXPECT_EQ(grammar::RecognizedPhrase(buffer), "select portland vor");
  EXPECT_EQ(rec.LoadCompiledGrammar("Nowhere"), -3);
}

// An installation carries its own model in its Speech folder and uses it
// wherever it has been moved; without one, the system's model serves.
TEST(SpeechModelTest, TheInstallationsOwnModelComesFirst) {
  QTemporaryDir dir;
  const speech::SpeechModel system = speech::FindSpeechModel(QString());
  ASSERT_TRUE(system.Complete());
  EXPECT_EQ(speech::FindSpeechModel(dir.path()).root, system.root);
  const QString own = speech::InstallationModelDir(dir.path());
  QDir().mkpath(own + "/en-us");
  for (const QString& f : QDir(system.acousticDir).entryList(QDir::Files))
    QFile::copy(system.acousticDir + "/" + f, own + "/en-us/" + f);
  EXPECT_EQ(speech::FindSpeechModel(dir.path()).root, system.root);  // no dictionary yet: not complete
  QFile::copy(system.dictionary, own + "/cmudict-en-us.dict");
  const speech::SpeechModel found = speech::FindSpeechModel(dir.path());
  EXPECT_EQ(found.root, own);
  EXPECT_EQ(found.dictionary, own + "/cmudict-en-us.dict");
}

TEST_F(RecognizerTest, FactoryWiresTheRealEnginesBehindTheFacade) {
  WriteBnf(test + "/Test.bnf", TestGrammarText("(gear|wheels) !optional(down)", false));
  auto engines = speech::CreateEngines(dir.path());
  bool ready = true;
  grammar::SpeechFacade facade(ready, *engines.compiler, *engines.recognizer, *engines.output);
  QByteArray text("0");
  EXPECT_EQ(facade.fnTTSspeak_Call(0, 0, 0, 0, text), 0);
  EXPECT_EQ(facade.fnTTSspeak_Call(5, 4, 0, 0, text), 0);
  QByteArray buffer = grammar::RecognizerBuffer();
  EXPECT_EQ(facade.fnSpeechRecDLL_Call(0, buffer), 0);
  EXPECT_EQ(facade.fnSpeechRecDLL_Call(3, buffer), 0);
  EXPECT_EQ(facade.fnBinCompile_Call(0, 0, 0), 0);
  EXPECT_NE(facade.fnBinCompile_Call(1, 0, 1), 0);  // no Grammars/*.bnf of its own
  EXPECT_EQ(facade.fnBinCompile_Call(2, 0, 0), 0);
}

}  // namespace
}  // namespace qv::test
